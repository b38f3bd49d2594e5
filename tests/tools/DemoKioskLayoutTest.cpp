#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <gtest/gtest.h>

using namespace quindle::demo;

namespace {

QRect gridRect(const DemoKioskLayout& layout)
{
    const int width =
        layout.gridColumns * layout.thumbnail.width() + (layout.gridColumns - 1) * layout.gridColumnGap;
    const int height =
        layout.gridRows * layout.thumbnail.height() + (layout.gridRows - 1) * layout.gridRowGap;
    return QRect(layout.gridTopLeft, QSize(width, height));
}

} // namespace

TEST(DemoKioskLayout, DefaultScreenHasFourByThreeSlotsOf240By180UnderTheDetailFrame)
{
    const DemoKioskLayout layout = DemoKioskLayout::forOptions(DemoKioskOptions{});
    EXPECT_EQ(QSize(240, 180), layout.thumbnail);
    EXPECT_EQ(4, layout.gridColumns);
    EXPECT_EQ(3, layout.gridRows);
    EXPECT_TRUE(layout.detailView.contains(gridRect(layout)));
    // The detail frame keeps the product pictures' 4:3 shape.
    EXPECT_NEAR(4.0 / 3.0, double(layout.detailView.width()) / layout.detailView.height(), 0.01);
}

TEST(DemoKioskLayout, EverythingStaysOnScreenAndApart_atSeveralScreenSizes)
{
    for (const QSize screen :
         {QSize(1920, 1080), QSize(1280, 1024), QSize(1366, 768), QSize(800, 600), QSize(640, 360)}) {
        for (int categories : {1, 5, 9}) {
            DemoKioskOptions options;
            options.screenSize = screen;
            options.categoryCount = categories;
            const DemoKioskLayout layout = DemoKioskLayout::forOptions(options);
            const QRect all(QPoint(0, 0), screen);
            const QString where =
                QString("%1x%2, %3 categories").arg(screen.width()).arg(screen.height()).arg(categories);
            ASSERT_EQ(categories, layout.menuButtons.size());
            QList<QRect> controls{layout.previousButton, layout.closeButton, layout.printButton,
                                  layout.nextButton, layout.lookupButton};
            for (const QRect& rect :
                 controls + layout.menuButtons + QList<QRect>{layout.panel, layout.detailView})
                EXPECT_TRUE(all.contains(rect)) << qPrintable(where);
            EXPECT_TRUE(layout.detailView.contains(gridRect(layout))) << qPrintable(where);
            for (int i = 0; i < controls.size(); ++i) {
                EXPECT_FALSE(controls[i].intersects(layout.panel)) << qPrintable(where);
                for (int j = i + 1; j < controls.size(); ++j)
                    EXPECT_FALSE(controls[i].intersects(controls[j])) << qPrintable(where);
            }
            for (int i = 0; i < layout.menuButtons.size(); ++i) {
                EXPECT_FALSE(layout.menuButtons[i].intersects(layout.panel)) << qPrintable(where);
                EXPECT_FALSE(layout.menuButtons[i].intersects(layout.lookupButton)) << qPrintable(where);
                if (i > 0) {
                    EXPECT_FALSE(layout.menuButtons[i].intersects(layout.menuButtons[i - 1]))
                        << qPrintable(where);
                }
            }
        }
    }
}

#include "tools/demo-kiosk/DemoKioskLayout.h"

#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <algorithm>
#include <cmath>

namespace quindle::demo {

namespace {

int scaled(double value, double scale, int least = 1)
{
    return std::max(least, static_cast<int>(std::lround(value * scale)));
}

} // namespace

DemoKioskLayout DemoKioskLayout::forOptions(const DemoKioskOptions& options)
{
    DemoKioskLayout layout;
    const int width = options.screenSize.width();
    const int height = options.screenSize.height();
    const double s = std::min(width / 1920.0, height / 1080.0);
    layout.screen = options.screenSize;
    layout.scale = s;
    auto px = [s](double value) {
        return scaled(value, s);
    };

    // The bottom row: lookup under the menu, the paging and detail buttons under the panel.
    const int controlHeight = px(76);
    const int controlTop = height - px(36) - controlHeight;

    layout.logo = QRect(px(40), px(36), px(340), px(150));
    layout.menuHeading = QRect(px(50), px(204), px(320), px(30));
    const int menuWidth = px(320);
    const int menuTop = px(246);
    const int menuBottom = controlTop - px(40);
    const int count = std::max(1, options.categoryCount);
    const int pitch = std::min(px(104), (menuBottom - menuTop) / count);
    const int menuHeight = std::max(1, std::min(px(88), pitch - px(12)));
    for (int i = 0; i < count; ++i)
        layout.menuButtons.append(QRect(px(50), menuTop + i * pitch, menuWidth, menuHeight));
    layout.lookupButton = QRect(px(50), controlTop, menuWidth, controlHeight);

    // The area right of the menu holds the panel: the detail frame with a margin around it, centred.
    // The detail frame has the pictures' own proportions, so a picture fills it exactly and nothing
    // of the thumbnail page shows around it.
    const QRect area(QPoint(px(440), px(36)), QPoint(width - px(40), controlTop - px(28)));
    const double aspect = static_cast<double>(options.pictureSize.width()) / options.pictureSize.height();
    const int room = px(30);
    int detailWidth = area.width() - 2 * room;
    int detailHeight = static_cast<int>(std::lround(detailWidth / aspect));
    if (detailHeight > area.height() - 2 * room) {
        detailHeight = area.height() - 2 * room;
        detailWidth = static_cast<int>(std::lround(detailHeight * aspect));
    }
    detailWidth = std::max(1, detailWidth);
    detailHeight = std::max(1, detailHeight);
    layout.detailView = QRect(area.left() + (area.width() - detailWidth) / 2,
                              area.top() + (area.height() - detailHeight) / 2, detailWidth, detailHeight);
    layout.panel = layout.detailView.adjusted(-room, -room, room, room);

    // A 4 by 3 grid of 240 by 180 slots spread evenly over the detail frame, with room for a hint
    // line under it; the slots shrink when the frame is too small for them.
    const int hint = px(56);
    int thumbWidth = px(240);
    const int fitWidth = (detailWidth - 5 * px(12)) / 4;
    const int fitHeight = (detailHeight - hint - 4 * px(12)) / 3;
    thumbWidth = std::max(4, std::min({thumbWidth, fitWidth, fitHeight * 4 / 3}));
    layout.thumbnail = QSize(thumbWidth, std::max(3, thumbWidth * 3 / 4));
    layout.gridColumnGap = (detailWidth - 4 * layout.thumbnail.width()) / 5;
    layout.gridRowGap = (detailHeight - hint - 3 * layout.thumbnail.height()) / 4;
    layout.gridTopLeft =
        QPoint(layout.detailView.left() + layout.gridColumnGap, layout.detailView.top() + layout.gridRowGap);
    layout.captionHeight = std::max(8, layout.thumbnail.height() / 6);

    const QSize button(px(220), controlHeight);
    const int centre = layout.detailView.center().x() + 1;
    layout.previousButton = QRect(QPoint(layout.detailView.left(), controlTop), button);
    layout.nextButton = QRect(QPoint(layout.detailView.right() + 1 - button.width(), controlTop), button);
    layout.closeButton = QRect(QPoint(centre - px(12) - button.width(), controlTop), button);
    layout.printButton = QRect(QPoint(centre + px(12), controlTop), button);

    layout.menuFontPoints = scaled(menuHeight >= px(80) ? 17 : 14, s, 5);
    layout.captionFontPoints = std::max(5, static_cast<int>(std::lround(layout.captionHeight * 0.36)));
    layout.lookupFontPoints = scaled(15, s, 5);
    return layout;
}

} // namespace quindle::demo

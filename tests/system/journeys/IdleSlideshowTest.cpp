#include "system/support/KioskSession.h"

#include <QDir>

using namespace quindle::systemtest;

using IdleSlideshow = KioskSession;

TEST_F(IdleSlideshow, IdleKioskShowsSlidesInTurn_aTouchBringsTheFirstCategoryBack)
{
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("4")));
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("attractTimer"), QStringLiteral("2")));
    const QDir slides(QDir(kiosk->kioskFolder()).filePath(QStringLiteral("Attract")));
    const QString firstSlide = slides.filePath(QStringLiteral("Slide 1.jpg"));
    const QString secondSlide = slides.filePath(QStringLiteral("Slide 2.jpg"));
    startKiosk();
    const QStringList rings = kiosk->pictures(0);

    tap(kiosk->menuButton(2));
    tap(kiosk->slot(3));
    const QStringList second = kiosk->pictures(1);
    ASSERT_TRUE(waitFor([&] { return screen->showsDetail(second.at(2)); }));
    tap(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));

    ASSERT_TRUE(waitFor([&] { return screen->showsSlide(firstSlide, secondSlide); }, 30'000))
        << "the first slide after the idle time";
    ASSERT_TRUE(waitFor([&] { return screen->showsSlide(secondSlide, firstSlide); }, 30'000))
        << "the next slide after the slide time";

    tap(kiosk->slot(5));
    ASSERT_TRUE(waitFor([&] {
        return !screen->keyboardShown() && screen->detailClosed() && screen->showsPage(rings, 0);
    })) << "the touch lands on the first category, the keyboard and the detail view closed";

    ASSERT_EQ(0, endKiosk());
    const QStringList events = kiosk->logEvents();
    const QStringList start{QStringLiteral("Program Started"), QStringLiteral("Menu Button 2 Pressed"),
                            QStringLiteral("Detail: ") + SystemKiosk::fileNameOf(second.at(2)),
                            QStringLiteral("Lookup Button Pressed")};
    ASSERT_EQ(start, events.mid(0, start.size()));
    const qsizetype exit = events.indexOf(QStringLiteral("Exit Attract Mode"));
    ASSERT_GE(exit, start.size() + 2) << testing::PrintToString(events);
    for (qsizetype i = start.size(); i < events.size(); ++i) {
        if (i != exit) {
            EXPECT_EQ("Enter Attract Mode", events.at(i).toStdString()) << "line " << i;
        }
    }
}

#include "support/KioskHarness.h"

#include <QDir>

using namespace quindle;
using namespace quindle::test;

namespace {

// A standard kiosk with three slides and a file that is not one.
class AttractTest : public KioskTest
{
protected:
    AttractTest()
    {
        for (const char* name : {"a.jpg", "B.jpg", "c.jpg"})
            folder.temp().write(QStringLiteral("Kiosk/Attract/") + QLatin1String(name), jpegBytes(80, 60));
        folder.temp().write(QStringLiteral("Kiosk/Attract/notes.txt"), "not a slide");
    }
    void start(const QStringList& extraSettings = {})
    {
        KioskTest::start(extraSettings);
        kiosk.window().activateKiosk();
    }
    bool slideShown() const { return controls().attractPic->isVisible(); }
    QString slide() const { return KioskHarness::shownFile(controls().attractPic); }
    qsizetype enterLines() { return kiosk.loggedEvents().count(QStringLiteral("Enter Attract Mode")); }
};

} // namespace

TEST_F(AttractTest, SlidesComeAfterTheIdleTimeWrapAndResumeWhereTheyStopped)
{
    start();
    ticks(119);
    EXPECT_FALSE(slideShown());
    ticks(1);
    EXPECT_EQ(QStringLiteral("a.jpg"), slide());
    ticks(9);
    EXPECT_EQ(QStringLiteral("a.jpg"), slide());
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        ticks(i == 0 ? 1 : 10);
        seen << slide();
    }
    EXPECT_EQ(QStringLiteral("B.jpg c.jpg a.jpg"), seen.join(' '));
    EXPECT_EQ(4, enterLines());
    kiosk.click(controls().attractPic);
    EXPECT_FALSE(slideShown());
    ticks(120);
    EXPECT_EQ(QStringLiteral("B.jpg"), slide());
}

// Where the touch lands is followed through the running kiosk in the idle slideshow journey.
TEST_F(AttractTest, TouchOnASlideClicksOnceAndRestartsTheCountdown)
{
    start({QStringLiteral("timeout = 3")});
    kiosk.click(controls().btnMenu[2]);
    kiosk.click(controls().btnThumbnail[2]);
    kiosk.click(controls().btnControl[LookupButton]);
    ticks(3);
    // The first slide hides the keyboard.
    EXPECT_FALSE(controls().keyboardFrame->isVisible());
    const int clicks = kiosk.sound.plays;
    kiosk.click(controls().attractPic);
    EXPECT_EQ(clicks + 1, kiosk.sound.plays); // the detail view's close, and no click of its own
    EXPECT_EQ(3, kiosk.window().navigation().idleCountdown());
}

TEST_F(AttractTest, EmptyAttractFolderShowsNoSlideButStillLogs)
{
    QDir(folder.kioskFolder() + QStringLiteral("/Attract")).removeRecursively();
    start({QStringLiteral("timeout = 1"), QStringLiteral("attractTimer = 1")});
    ticks(3);
    EXPECT_FALSE(slideShown());
    EXPECT_EQ(3, enterLines());
}

TEST_F(AttractTest, ASlideCoversTheWholeWindowWhateverItsSize)
{
    folder.temp().write(QStringLiteral("Kiosk/Attract/B.jpg"), jpegBytes(1024, 300));
    folder.temp().write(QStringLiteral("Kiosk/Attract/c.jpg"), "not a picture");
    start({QStringLiteral("timeout = 1"), QStringLiteral("attractTimer = 1")});
    for (const char* name : {"a.jpg", "B.jpg", "c.jpg"}) {
        SCOPED_TRACE(name);
        ticks(1);
        ASSERT_EQ(QLatin1String(name), slide());
        EXPECT_EQ(kiosk.window().rect(), controls().attractPic->geometry());
        // The menu and the thumbnails lie beneath it: a touch anywhere ends the slideshow.
        EXPECT_EQ(controls().attractPic, kiosk.window().childAt(controls().btnMenu[1]->geometry().center()));
        EXPECT_EQ(QColor(Qt::black), controls().attractPic->grab().toImage().pixelColor(1, 1));
    }
}

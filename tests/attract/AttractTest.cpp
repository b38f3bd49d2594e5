#include "support/KioskHarness.h"

#include "attract/Attract.h"
#include "catalogue/Catalogue.h"
#include "screens/Browsing.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

class AttractTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.writeStandardKiosk();
        for (const char* name : {"a.jpg", "B.jpg", "c.jpg"})
            folder.temp().write(QStringLiteral("Kiosk/Attract/") + QLatin1String(name), jpegBytes(80, 60));
        folder.temp().write(QStringLiteral("Kiosk/Attract/notes.txt"), "not a slide");
    }

    void start(const QStringList& extraSettings = {})
    {
        folder.writeSettings(KioskFolder::standardSettings() + extraSettings);
        kiosk = std::make_unique<KioskHarness>(folder);
        ASSERT_TRUE(kiosk->start()) << kiosk->messageBox.messages.join(QLatin1Char('|')).toStdString();
        kiosk->window().activateKiosk();
    }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            kiosk->window().tick();
    }
    const KioskControls& controls() const { return kiosk->controls(); }
    bool slideShown() const { return controls().attractPic->isVisible(); }
    QString slide() const { return KioskHarness::shownFile(controls().attractPic); }
    int enterLines()
    {
        return static_cast<int>(kiosk->loggedEvents().count(QStringLiteral("Enter Attract Mode")));
    }

    KioskFolder folder;
    std::unique_ptr<KioskHarness> kiosk;
};

} // namespace

TEST_F(AttractTest, FirstSlideComesAfterTheIdleTimeAndTheNextAfterTheSlideTime)
{
    start();
    ticks(119);
    EXPECT_FALSE(slideShown());
    ticks(1);
    EXPECT_TRUE(slideShown());
    EXPECT_EQ(QStringLiteral("a.jpg"), slide());
    EXPECT_EQ(kiosk->window().rect(), controls().attractPic->geometry());
    EXPECT_EQ(1, enterLines());
    ticks(9);
    EXPECT_EQ(QStringLiteral("a.jpg"), slide());
    ticks(1);
    EXPECT_EQ(QStringLiteral("B.jpg"), slide());
    EXPECT_EQ(2, enterLines());
}

TEST_F(AttractTest, SlidesWrapAndResumeWhereTheyStopped)
{
    start({QStringLiteral("timeout = 2"), QStringLiteral("attractTimer = 1")});
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        ticks(i == 0 ? 2 : 1);
        seen << slide();
    }
    EXPECT_EQ((QStringList{QStringLiteral("a.jpg"), QStringLiteral("B.jpg"), QStringLiteral("c.jpg"),
                           QStringLiteral("a.jpg")}),
              seen);
    kiosk->click(controls().attractPic);
    EXPECT_FALSE(slideShown());
    ticks(2);
    EXPECT_EQ(QStringLiteral("B.jpg"), slide());
}

TEST_F(AttractTest, FirstSlideHidesTheKeyboardAndKeepsItsText)
{
    start({QStringLiteral("timeout = 3")});
    kiosk->click(controls().btnControl[LookupButton]);
    controls().txtSearch->setText(QStringLiteral("RING"));
    ticks(3);
    EXPECT_FALSE(controls().keyboardFrame->isVisible());
    EXPECT_EQ(QStringLiteral("RING"), controls().txtSearch->text());
    EXPECT_TRUE(slideShown());
}

TEST_F(AttractTest, TouchOnASlideLandsOnTheFirstCategoryWithTheDetailViewClosed)
{
    folder.temp().write(QStringLiteral("click.wav"), "RIFF");
    start({QStringLiteral("timeout = 3")});
    kiosk->click(controls().btnMenu[2]);
    kiosk->click(controls().btnThumbnail[2]);
    ASSERT_TRUE(controls().bigPicture->isVisible());
    ticks(3);
    const int clicks = kiosk->sound.plays;
    kiosk->click(controls().attractPic);

    EXPECT_FALSE(slideShown());
    EXPECT_FALSE(controls().bigPicture->isVisible());
    EXPECT_EQ(clicks + 1, kiosk->sound.plays);
    EXPECT_EQ(QStringLiteral("Rings"), kiosk->window().catalogue().currentCategory());
    EXPECT_EQ(0, kiosk->window().navigation().pageStart());
    EXPECT_EQ(QStringLiteral("_Item 01.jpg"), KioskHarness::shownFile(controls().btnThumbnail[1]));
    EXPECT_EQ(3, kiosk->window().navigation().idleCountdown());
    const QStringList events = kiosk->loggedEvents();
    EXPECT_EQ(QStringLiteral("Exit Attract Mode"), events.last());
    EXPECT_FALSE(events.contains(QStringLiteral("Close Button Pressed")));
}

TEST_F(AttractTest, EmptyAttractFolderShowsNoSlideButStillLogs)
{
    QDir(folder.kioskFolder() + QStringLiteral("/Attract")).removeRecursively();
    start({QStringLiteral("timeout = 1"), QStringLiteral("attractTimer = 1")});
    ticks(3);
    EXPECT_FALSE(slideShown());
    EXPECT_EQ(0, kiosk->window().attract().slideIndex());
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
        EXPECT_EQ(kiosk->window().rect(), controls().attractPic->geometry());
        // The menu and the thumbnails lie beneath it: a touch anywhere ends the slideshow.
        EXPECT_EQ(controls().attractPic, kiosk->window().childAt(controls().btnMenu[1]->geometry().center()));
        EXPECT_EQ(QColor(Qt::black), controls().attractPic->grab().toImage().pixelColor(1, 1));
    }
}

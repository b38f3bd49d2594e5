#include "support/KioskHarness.h"

#include "catalogue/Catalogue.h"
#include "lookup/Lookup.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

enum { Cancel = 0, Clear = 1, Space = 2, Search = 3 };

// A standard kiosk with a click sound.
class LookupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.writeStandardKiosk();
        folder.temp().write(QStringLiteral("click.wav"), "RIFF");
    }

    void start()
    {
        kiosk = std::make_unique<KioskHarness>(folder);
        ASSERT_TRUE(kiosk->start()) << kiosk->messageBox.messages.join(QLatin1Char('|')).toStdString();
        kiosk->clock.autoAdvance = std::chrono::milliseconds(5);
    }

    void openKeyboard() { kiosk->click(controls().btnControl[LookupButton]); }
    const KioskControls& controls() const { return kiosk->controls(); }
    QString text() const { return controls().txtSearch->text(); }
    QString shown(const PictureControl* control) const { return KioskHarness::shownFile(control); }
    void key(QPoint position) { kiosk->clickAt(controls().keyboard, position); }
    void button(int index) { kiosk->click(controls().btnKeyboard[static_cast<size_t>(index)]); }
    void type(const QString& characters)
    {
        const QString legends = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
        for (QChar character : characters) {
            const int k = static_cast<int>(legends.indexOf(character));
            key(QPoint((k % 10) * 66 + 10, (k / 10) * 66 + 10));
        }
    }

    KioskFolder folder;
    std::unique_ptr<KioskHarness> kiosk;
};

} // namespace

TEST_F(LookupTest, OpensInFrontOfEitherScreenAndCancelLeavesItAsItWas)
{
    start();
    openKeyboard();
    const PictureControl* frame = controls().keyboardFrame;
    EXPECT_EQ(QRect(0, 0, 700, 420), frame->geometry());
    EXPECT_EQ(frame, kiosk->window().childAt(5, 5)); // in front of the backdrop and the menu
    EXPECT_EQ(QPoint(50, 0), controls().keyboardTop->pos());
    EXPECT_EQ(QPoint(220, 380), controls().btnKeyboard[Space]->pos());
    EXPECT_EQ(QStringLiteral("keyboard.jpg"), shown(controls().keyboard));
    for (const PictureControl* part : {controls().keyboardFrame, controls().keyboardTop, controls().keyboard})
        EXPECT_FALSE(part->notify());
    button(Cancel);

    kiosk->click(controls().btnThumbnail[3]);
    openKeyboard();
    EXPECT_TRUE(controls().keyboardFrame->isVisible());
    type(QStringLiteral("R"));
    kiosk->press(controls().btnKeyboard[Cancel]);
    EXPECT_EQ(QStringLiteral("_cancel.jpg"), shown(controls().btnKeyboard[Cancel]));
    kiosk->release(controls().btnKeyboard[Cancel]);
    EXPECT_EQ(QStringLiteral("cancel.jpg"), shown(controls().btnKeyboard[Cancel]));
    EXPECT_FALSE(controls().keyboardFrame->isVisible());
    EXPECT_TRUE(controls().bigPicture->isVisible());
    EXPECT_EQ((QStringList{QStringLiteral("Lookup Button Pressed"), QStringLiteral("Lookup Canceled")}),
              kiosk->loggedEvents().mid(kiosk->loggedEvents().size() - 2));
}

TEST_F(LookupTest, KeysAppendTheirLegendsUpToFiftyOneCharacters)
{
    start();
    openKeyboard();
    key(QPoint(70, 140));
    EXPECT_EQ(QStringLiteral("L"), text());
    EXPECT_FALSE(controls().kbdDown->isVisible());
    EXPECT_EQ(QPoint(20 + 66, 60 + 132), controls().kbdDown->pos()); // over the key, inside the frame
    type(QStringLiteral("9.-"));
    EXPECT_EQ(QStringLiteral("L9.-"), text());

    kiosk->window().tick();
    const int clicks = kiosk->sound.plays;
    key(QPoint(600, 200)); // column 9 of row 3: key 39, which has no legend
    EXPECT_EQ(QStringLiteral("L9.-"), text());
    EXPECT_EQ(clicks + 1, kiosk->sound.plays);
    EXPECT_EQ(120, kiosk->window().navigation().idleCountdown());

    controls().txtSearch->setText(QString(51, QLatin1Char('A')));
    type(QStringLiteral("C"));
    EXPECT_EQ(51, text().size());
    EXPECT_EQ(clicks + 1, kiosk->sound.plays); // not even a click
    button(Space);
    EXPECT_EQ(52, text().size());
    button(Clear);
    EXPECT_EQ(QString(), text());
}

TEST_F(LookupTest, TwoKeysWithinTheHighlightKeepTheirOrder)
{
    start();
    openKeyboard();
    // The second key waits in the queue and is handled during the first key's highlight.
    PictureControl* keys = controls().keyboard;
    const QPoint b(66 + 10, 66 + 10);
    QCoreApplication::postEvent(keys, new QMouseEvent(QEvent::MouseButtonPress, b, keys->mapToGlobal(b),
                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    key(QPoint(10, 76)); // A
    EXPECT_EQ(QStringLiteral("AB"), text());
}

TEST_F(LookupTest, SearchWithOneHitShowsItOnTheFirstPage)
{
    folder.addPicture(QStringLiteral("Tables"), QStringLiteral("Cabinet.jpg"));
    start();
    kiosk->click(controls().btnControl[NextButton]);
    openKeyboard();
    type(QStringLiteral("AB"));
    button(Search);

    EXPECT_FALSE(controls().keyboardFrame->isVisible());
    EXPECT_EQ(0, kiosk->window().navigation().pageStart());
    EXPECT_EQ(QStringLiteral("_Cabinet.jpg"), shown(controls().btnThumbnail[1]));
    EXPECT_FALSE(controls().btnThumbnail[2]->isVisible());
    EXPECT_EQ(QStringLiteral("Search: AB"), kiosk->loggedEvents().last());
}

TEST_F(LookupTest, SearchWithoutHitsShowsNoResultsAndKeepsTheText)
{
    start();
    openKeyboard();
    type(QStringLiteral("ZZ"));
    QString shownWhileWaiting;
    kiosk->clock.whileSleeping = [&] {
        shownWhileWaiting = shown(controls().keyboard);
    };
    const auto before = kiosk->clock.now();
    button(Search);

    EXPECT_EQ(QStringLiteral("noResults.jpg"), shownWhileWaiting);
    EXPECT_GE(before.msecsTo(kiosk->clock.now()), 2000);
    EXPECT_EQ(QStringLiteral("keyboard.jpg"), shown(controls().keyboard));
    EXPECT_EQ(QStringLiteral("ZZ"), text());
    EXPECT_EQ(15, kiosk->window().catalogue().imageCount());
    EXPECT_EQ(QStringLiteral("Search: ZZ"), kiosk->loggedEvents().last());
}

TEST_F(LookupTest, KeyLegendsAreBuiltOnlyWithALookupButton)
{
    QStringList settings = KioskFolder::standardSettings();
    settings.removeIf([](const QString& line) { return line.startsWith(QLatin1String("lookup")); });
    folder.writeSettings(settings);
    start();
    EXPECT_TRUE(kiosk->window().lookup().keyLegends().isEmpty());
    EXPECT_FALSE(controls().btnControl[LookupButton]);
}

TEST_F(LookupTest, WaitingForAPictureThatNeverReportsEndsAfterTwoSeconds)
{
    start();
    PictureControl& control = *controls().attractPic;
    control.setNotify(true); // nothing is loaded, so nothing will ever report
    const auto before = kiosk->clock.monotonic();
    kiosk->window().lookup().waitUntilShown(control);
    EXPECT_FALSE(control.notify());
    EXPECT_GE(kiosk->clock.monotonic() - before, std::chrono::milliseconds(2000));
    EXPECT_LT(kiosk->clock.monotonic() - before, std::chrono::milliseconds(2500));
}

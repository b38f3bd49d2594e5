#include "support/KioskHarness.h"

#include "lookup/Lookup.h"

#include <QCoreApplication>
#include <QMouseEvent>

using namespace quindle;
using namespace quindle::test;

namespace {

enum { Cancel = 0, Clear = 1, Space = 2, Search = 3 };

// A standard kiosk. A search with hits, its log lines and the way back from the
// keyboard are followed through the running kiosk in the visitor journey.
class LookupTest : public KioskTest
{
protected:
    LookupTest() { kiosk.clock.autoAdvance = std::chrono::milliseconds(5); }

    void openKeyboard() { kiosk.click(controls().btnControl[LookupButton]); }
    QString text() const { return controls().txtSearch->text(); }
    static QString shown(const PictureControl* control) { return KioskHarness::shownFile(control); }
    void key(QPoint position) { kiosk.clickAt(controls().keyboard, position); }
    void button(int index) { kiosk.click(controls().btnKeyboard[static_cast<size_t>(index)]); }
    void type(const QString& characters)
    {
        const QString legends = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
        for (QChar character : characters) {
            const int k = static_cast<int>(legends.indexOf(character));
            key(QPoint((k % 10) * 66 + 10, (k / 10) * 66 + 10));
        }
    }
};

} // namespace

// The keyboard's place in front of the page, and its keys where the settings put them, are followed through
// the running kiosk in the journeys, which type on it.
TEST_F(LookupTest, OpensInFrontOfTheDetailViewAndCancelLeavesItAsItWas)
{
    start();
    kiosk.click(controls().btnThumbnail[3]);
    openKeyboard();
    type(QStringLiteral("R"));
    kiosk.press(controls().btnKeyboard[Cancel]);
    EXPECT_EQ(QStringLiteral("_cancel.jpg"), shown(controls().btnKeyboard[Cancel]));
    kiosk.release(controls().btnKeyboard[Cancel]);
    EXPECT_EQ(QStringLiteral("cancel.jpg"), shown(controls().btnKeyboard[Cancel]));
    EXPECT_FALSE(controls().keyboardFrame->isVisible());
    EXPECT_TRUE(controls().bigPicture->isVisible());
}

TEST_F(LookupTest, KeysAppendTheirLegendsUpToFiftyOneCharacters)
{
    start();
    openKeyboard();
    key(QPoint(70, 140));
    EXPECT_FALSE(controls().kbdDown->isVisible());
    EXPECT_EQ(QPoint(20 + 66, 60 + 132), controls().kbdDown->pos()); // over the key, inside the frame
    type(QStringLiteral("9.-"));
    EXPECT_EQ(QStringLiteral("L9.-"), text());

    kiosk.window().tick();
    const int clicks = kiosk.sound.plays;
    key(QPoint(600, 200)); // column 9 of row 3: key 39, which has no legend
    EXPECT_EQ(QStringLiteral("L9.-"), text());
    EXPECT_EQ(clicks + 1, kiosk.sound.plays);
    EXPECT_EQ(120, kiosk.window().navigation().idleCountdown());

    controls().txtSearch->setText(QString(51, QLatin1Char('A')));
    type(QStringLiteral("C"));
    EXPECT_EQ(51, text().size());
    EXPECT_EQ(clicks + 1, kiosk.sound.plays); // not even a click
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

// The no-results picture itself is followed through the running kiosk in the visitor journey.
TEST_F(LookupTest, SearchWithoutHitsWaitsTwoSecondsAndKeepsTheText)
{
    start();
    openKeyboard();
    type(QStringLiteral("ZZ"));
    const auto before = kiosk.clock.now();
    button(Search);
    EXPECT_GE(before.msecsTo(kiosk.clock.now()), 2000);
    EXPECT_EQ(QStringLiteral("ZZ"), text());
}

TEST_F(LookupTest, WaitingForAPictureThatNeverReportsEndsAfterTwoSeconds)
{
    start();
    PictureControl& control = *controls().attractPic;
    control.setNotify(true); // nothing is loaded, so nothing will ever report
    const auto before = kiosk.clock.monotonic();
    kiosk.window().lookup().waitUntilShown(control);
    EXPECT_FALSE(control.notify());
    EXPECT_GE(kiosk.clock.monotonic() - before, std::chrono::milliseconds(2000));
    EXPECT_LT(kiosk.clock.monotonic() - before, std::chrono::milliseconds(2500));
}

#include "system/lockdown/LockdownSession.h"

#include <span>
#include <tuple>

using namespace quindle::systemtest;

namespace {

// The screen is larger than the kiosk window, so that drags can leave the window.
class ScreenLockdown : public LockdownSession
{
protected:
    ScreenLockdown() : LockdownSession(QSize(2000, 1200)) {}
};

using AttractLockdown = LockdownSession;

} // namespace

TEST_F(ScreenLockdown, NoKeyGestureOrCloseRequestLeavesTheKiosk_onlyTheOperatorsReleaseEndsIt)
{
    using enum KioskScreenState;
    startKiosk();
    ASSERT_NE(QPoint(0, 0), kiosk->windowOrigin()) << "the window is centred on the larger screen";
    for (const KioskScreenState state : {Browsing, Detail, Keyboard, MessageBox}) {
        for (const QString& key : escapeKeys)
            ASSERT_NO_FATAL_FAILURE(attempt(state, key, [&] { input.key(key); }));
        ASSERT_NO_FATAL_FAILURE(
            attempt(state, "a close request", [&] { server.sendDeleteRequest(process->window()); }));
    }

    const QPoint outside(server.screenSize().width() - 2, server.screenSize().height() - 2);
    const std::tuple<KioskScreenState, const char*, QPoint> controls[] = {
        {Browsing, "the bare backdrop", kiosk->bareBackdrop()},
        {Browsing, "a menu button", kiosk->menuButton(1).center()},
        {Browsing, "a thumbnail", kiosk->slot(1).center()},
        {Detail, "the detail picture", kiosk->detailFrame().center()},
        {Keyboard, "a key", kiosk->keyCentre(QLatin1Char('Q'))},
        {MessageBox, "a menu button behind the message box", kiosk->menuButton(1).center()},
        {MessageBox, "the bare backdrop behind the message box", kiosk->bareBackdrop()},
    };
    for (const auto& [state, name, at] : controls) {
        // On the bare backdrop every right press is left out, the operator's exit wherever it is
        // released, unless a box covers the backdrop.
        const bool operatorsExit = state == Browsing && at == kiosk->bareBackdrop();
        for (const Gesture& gesture : gestures) {
            if (operatorsExit && gesture.button == 3)
                continue;
            ASSERT_NO_FATAL_FAILURE(attempt(state, QStringLiteral("%1 on %2").arg(gesture.name, name),
                                            [&] { perform(gesture, at, outside); }));
        }
    }

    ASSERT_NO_FATAL_FAILURE(bringTo(MessageBox));
    const TopLevelWindow box = messageBox();
    EXPECT_LE((box.geometry.center() - kiosk->window().center()).manhattanLength(), 4)
        << "centred on the kiosk";

    ASSERT_NO_FATAL_FAILURE(bringTo(Browsing));
    perform(gestures[6], kiosk->bareBackdrop(), outside); // pressed on the backdrop, released off the window
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(0, process->exitCode());
    EXPECT_EQ(QStringList{QStringLiteral("Program Termination: User Right-Click")},
              log->events().filter(QStringLiteral("Termination")));
}

TEST_F(AttractLockdown, NoKeyOrGestureOnTheSlideshowLeavesTheKiosk)
{
    // The slideshow comes two seconds after the last touch and stays on its first slide.
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("2")));
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("attractTimer"), QStringLiteral("600")));
    const QString slide = kiosk->kioskFolder() + QStringLiteral("/Attract/Slide %1.jpg");
    const auto slideshowShown = [&] {
        return ScreenCheck::waitFor(
            [&] {
                return screen->showsSlide(slide.arg(1), slide.arg(2)) ||
                       screen->showsSlide(slide.arg(2), slide.arg(1));
            },
            30'000);
    };
    startKiosk();
    ASSERT_TRUE(slideshowShown());
    for (const QString& key : escapeKeys) {
        input.key(key);
        ASSERT_NO_FATAL_FAILURE(expectLockedIn(key + QStringLiteral(" on the slideshow")));
    }
    for (const Gesture& gesture : gestures) {
        ASSERT_TRUE(slideshowShown()) << "before the " << gesture.name << ": keys are no touch";
        perform(gesture, kiosk->window().center(), kiosk->window().bottomRight() - QPoint(4, 4));
        ASSERT_NO_FATAL_FAILURE(
            expectLockedIn(QLatin1String(gesture.name) + QStringLiteral(" on the slideshow")));
    }
    EXPECT_EQ(0, endKiosk());
    EXPECT_EQ(static_cast<qsizetype>(std::size(gestures)),
              log->events().count(QStringLiteral("Exit Attract Mode")))
        << "every touch on a slide ends the slideshow, and nothing else does";
}

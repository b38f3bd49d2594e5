#include "system/lockdown/LockdownSession.h"

#include <iostream>

using namespace quindle::systemtest;

namespace {

// The screen is larger than the kiosk window, so that drags can leave the window.
class ScreenLockdown : public LockdownSession
{
protected:
    ScreenLockdown() : LockdownSession(QSize(2000, 1200)) {}
};

} // namespace

TEST_F(ScreenLockdown, NoKeyOrGestureOnAnyScreenLeavesTheKiosk_onlyTheOperatorsReleaseEndsIt)
{
    startKiosk();
    ASSERT_NE(QPoint(0, 0), kiosk->windowOrigin()) << "the window is centred on the larger screen";
    using State = KioskScreenState;

    for (const State state : {State::Browsing, State::Detail, State::Keyboard, State::MessageBox})
        ASSERT_NO_FATAL_FAILURE(tryKeys(state));

    const QRect slot = kiosk->slot(1);
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Browsing, QStringLiteral("the bare backdrop"), kiosk->bareBackdrop(), true));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Browsing, QStringLiteral("a menu button"), kiosk->menuButton(1).center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Browsing, QStringLiteral("a thumbnail"), slot.center() - QPoint(0, 20)));
    ASSERT_NO_FATAL_FAILURE(tryGestures(State::Browsing, QStringLiteral("a file-name caption"),
                                        QPoint(slot.center().x(), slot.bottom() - 8)));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Browsing, QStringLiteral("the next button"), kiosk->nextButton().center()));
    ASSERT_NO_FATAL_FAILURE(tryGestures(State::Browsing, QStringLiteral("the disabled close button"),
                                        kiosk->closeButton().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Browsing, QStringLiteral("the lookup button"), kiosk->lookupButton().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Detail, QStringLiteral("the detail picture"), kiosk->detailFrame().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Detail, QStringLiteral("the close button"), kiosk->closeButton().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Detail, QStringLiteral("the previous button"), kiosk->previousButton().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Keyboard, QStringLiteral("a key"), kiosk->keyCentre(QLatin1Char('Q'))));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Keyboard, QStringLiteral("the search text"), kiosk->searchText().center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Keyboard, QStringLiteral("the clear button"), kiosk->keyboardButton(1).center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Keyboard, QStringLiteral("the search button"), kiosk->keyboardButton(3).center()));
    ASSERT_NO_FATAL_FAILURE(
        tryGestures(State::Keyboard, QStringLiteral("the cancel button"), kiosk->keyboardButton(0).center()));

    // The message box: its button, its text, and the kiosk window behind it, which the box
    // keeps from taking any press.
    bringTo(State::MessageBox);
    const TopLevelWindow box = messageBox();
    ASSERT_NE(0U, box.id);
    expectMessageBoxModalAndCentred(box);
    ASSERT_NO_FATAL_FAILURE(tryGestures(State::MessageBox, QStringLiteral("the message box's text"),
                                        box.geometry.topLeft() + QPoint(box.geometry.width() / 2, 20)));
    ASSERT_NO_FATAL_FAILURE(tryGestures(State::MessageBox, QStringLiteral("the kiosk behind the message box"),
                                        kiosk->menuButton(1).center()));
    bringTo(State::MessageBox);
    input.click(kiosk->bareBackdrop(), 3);
    expectLockedIn(QStringLiteral("the operator's right click behind the message box"));

    // Right presses that begin or end away from the bare backdrop.
    bringTo(State::Browsing);
    input.drag(kiosk->bareBackdrop(), kiosk->menuButton(1).center(), 3);
    expectLockedIn(QStringLiteral("a right press on the backdrop released on a menu button"));
    input.drag(kiosk->menuButton(1).center(), kiosk->bareBackdrop(), 3);
    expectLockedIn(QStringLiteral("a right press on a menu button released on the backdrop"));
    input.click(QPoint(5, 5), 3);
    expectLockedIn(QStringLiteral("a right click beside the kiosk window"));

    std::cout << "Lock-down attempts: " << attempts << '\n';
    bringTo(State::Browsing);
    input.click(kiosk->bareBackdrop(), 3);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(0, process->exitCode());
    const QStringList events = log->events();
    ASSERT_FALSE(events.isEmpty());
    EXPECT_EQ("Program Termination: User Right-Click", events.last().toStdString());
    EXPECT_EQ(1, events.count(QStringLiteral("Program Termination: User Right-Click"))) << describe(events);
}

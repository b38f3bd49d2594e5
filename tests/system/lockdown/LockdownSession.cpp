#include "system/lockdown/LockdownSession.h"

#include <QDir>
#include <QFile>

namespace quindle::systemtest {

using enum KioskScreenState;

const char* const stateNames[] = {"browsing", "detail", "keyboard", "message box"};

const Gesture gestures[7] = {
    {"right click", Motion::Click, 3},    {"middle click", Motion::Click, 2},
    {"long press", Motion::Hold, 1},      {"double tap", Motion::Click, 1, 2},
    {"triple tap", Motion::Click, 1, 3},  {"drag away", Motion::Drag, 1},
    {"right drag away", Motion::Drag, 3},
};

const QStringList escapeKeys{"alt+F4", "Escape", "alt+Tab", "ctrl+w", "ctrl+q", "super", "Menu", "F11"};

void LockdownSession::SetUp()
{
    KioskSession::SetUp();
    if (HasFatalFailure())
        return;
    // The third category holds no picture: its menu button brings up a warning box that lets
    // the kiosk go on. Nothing is printed, so no print job can bring up a box of its own.
    const QDir empty(QDir(kiosk->kioskFolder()).filePath(kiosk->categoryFolders().value(2)));
    for (const QString& name : empty.entryList(QDir::Files))
        ASSERT_TRUE(QFile::remove(empty.filePath(name)));
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("printing"), QStringLiteral("false")));
}

TopLevelWindow LockdownSession::messageBox()
{
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.id != process->window() && !shown.overrideRedirect &&
            server.transientFor(shown.id) == process->window())
            return shown;
    }
    return {};
}

void LockdownSession::expectLockedIn(const QString& attempt)
{
    const std::string what = attempt.toStdString();
    ASSERT_TRUE(process->isRunning())
        << "the kiosk ended with status " << process->exitCode() << " after " << what << ":\n"
        << process->standardError().toStdString();
    ASSERT_TRUE(process->settle()) << "the kiosk stopped answering after " << what;
    const TopLevelWindow box = messageBox();
    QList<QRect> kioskWindows;
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.id == process->window())
            kioskWindows << shown.geometry;
        else if (box.id == 0 || shown.id != box.id)
            ADD_FAILURE() << "a window \"" << shown.name.toStdString() << "\" appeared after " << what;
    }
    EXPECT_EQ(QList<QRect>{kiosk->window()}, kioskWindows)
        << "the kiosk window, where it was, after " << what;
    const xcb_window_t focus = server.inputFocus();
    EXPECT_TRUE(focus == process->window() || (box.id != 0 && focus == box.id))
        << "the focus left the kiosk after " << what;
    EXPECT_EQ(QStringList(), log->events().filter(QStringLiteral("Program Termination"))) << what;
}

// A press handler lets the kiosk's event loop run while it works (the keyboard is put together
// behind the page, pages fill slot by slot), so the screen is read until it stays the same.
KioskScreenState LockdownSession::currentState()
{
    const auto read = [this] {
        if (messageBox().id != 0)
            return MessageBox;
        if (screen->keyboardShown())
            return Keyboard;
        return screen->detailOpen() ? Detail : Browsing;
    };
    KioskScreenState state = read();
    for (int reading = 0; reading < 20 && process->settle(); ++reading) {
        const KioskScreenState again = read();
        if (again == state)
            break;
        state = again;
    }
    return state;
}

// Back to browsing first (the box closed, the keyboard cancelled, the detail view closed), then
// the presses to the screen asked for. After a message box the empty category is shown, so the
// detail view is opened from the first category.
void LockdownSession::bringTo(KioskScreenState state)
{
    for (KioskScreenState now = currentState(); now != Browsing; now = currentState()) {
        if (now == MessageBox)
            server.sendDeleteRequest(messageBox().id);
        else
            tap(now == Keyboard ? kiosk->keyboardButton(0) : kiosk->closeButton());
        ASSERT_TRUE(ScreenCheck::waitFor([&] { return currentState() != now; }, 10'000))
            << "the kiosk stayed on the " << stateNames[static_cast<int>(now)] << " screen";
    }
    if (state == Detail) {
        tap(kiosk->menuButton(1));
        ASSERT_TRUE(ScreenCheck::waitFor([&] { return screen->showsPage(kiosk->pictures(0), 0); }));
        tap(kiosk->slot(1));
    }
    if (state == Keyboard || state == MessageBox)
        tap(state == Keyboard ? kiosk->lookupButton() : kiosk->menuButton(3));
    ASSERT_TRUE(ScreenCheck::waitFor([&] { return currentState() == state; }, 10'000))
        << "the kiosk did not come to the " << stateNames[static_cast<int>(state)] << " screen";
}

void LockdownSession::attempt(KioskScreenState state, const QString& what, const std::function<void()>& act)
{
    ASSERT_NO_FATAL_FAILURE(bringTo(state));
    act();
    ASSERT_NO_FATAL_FAILURE(expectLockedIn(
        QStringLiteral("%1 on the %2 screen").arg(what, QLatin1String(stateNames[static_cast<int>(state)]))));
}

void LockdownSession::perform(const Gesture& gesture, QPoint at, QPoint away)
{
    if (gesture.motion == Motion::Click)
        input.click(at, gesture.button, gesture.repeat);
    if (gesture.motion == Motion::Hold)
        input.longPress(at, gesture.button);
    if (gesture.motion == Motion::Drag)
        input.drag(at, away, gesture.button);
}

} // namespace quindle::systemtest

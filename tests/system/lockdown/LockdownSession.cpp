#include "system/lockdown/LockdownSession.h"

#include <QDir>
#include <QFile>
#include <functional>

namespace quindle::systemtest {

namespace {

const char* const stateNames[] = {"browsing", "detail", "keyboard", "message box"};

std::string nameOf(KioskScreenState state)
{
    return stateNames[static_cast<int>(state)];
}

} // namespace

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

QStringList LockdownSession::escapeKeys()
{
    QStringList keys{
        QStringLiteral("alt+F4"),      QStringLiteral("Escape"),         QStringLiteral("alt+Tab"),
        QStringLiteral("ctrl+w"),      QStringLiteral("ctrl+q"),         QStringLiteral("Menu"),
        QStringLiteral("shift+F10"),   QStringLiteral("super"),          QStringLiteral("alt+space"),
        QStringLiteral("ctrl+Escape"), QStringLiteral("alt+F2"),         QStringLiteral("ctrl+F4"),
        QStringLiteral("Tab"),         QStringLiteral("ctrl+alt+Delete")};
    for (int n = 1; n <= 12; ++n)
        keys << QStringLiteral("F%1").arg(n);
    return keys;
}

TopLevelWindow LockdownSession::messageBox()
{
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.client != process->window() && !shown.overrideRedirect &&
            server.transientFor(shown.client) == process->window())
            return shown;
    }
    return {};
}

void LockdownSession::expectMessageBoxModalAndCentred(const TopLevelWindow& box)
{
    EXPECT_EQ("Quindle", box.name.toStdString());
    EXPECT_TRUE(server.netWmState(box.client).contains(QStringLiteral("_NET_WM_STATE_MODAL")))
        << "the box is modal";
    const QPoint offset = box.geometry.center() - kiosk->window().center();
    EXPECT_LE(offset.manhattanLength(), 4)
        << "the box is centred on the kiosk window, off by " << offset.x() << "," << offset.y();
}

void LockdownSession::expectLockedIn(const QString& attempt)
{
    ++attempts;
    const std::string what = attempt.toStdString();
    ASSERT_TRUE(process->isRunning())
        << "the kiosk ended with status " << process->exitCode() << " after " << what << ":\n"
        << process->standardError().toStdString();
    ASSERT_TRUE(process->settle()) << "the kiosk stopped answering after " << what;
    const TopLevelWindow box = messageBox();
    bool kioskShown = false;
    for (const TopLevelWindow& shown : server.viewableTopLevels()) {
        if (shown.client == process->window()) {
            kioskShown = true;
            EXPECT_EQ(kiosk->window(), shown.geometry) << "the kiosk window moved after " << what;
            continue;
        }
        if ((box.id != 0 && shown.id == box.id) || isWindowManagerWindow(shown))
            continue;
        ADD_FAILURE() << "a window \"" << shown.name.toStdString() << "\" " << shown.geometry.width() << "x"
                      << shown.geometry.height() << (shown.overrideRedirect ? " (popup)" : "")
                      << " appeared after " << what;
    }
    EXPECT_TRUE(kioskShown) << "the kiosk window is not shown after " << what;
    const xcb_window_t focus = server.inputFocus();
    EXPECT_TRUE(focus == process->window() || (box.id != 0 && focus == box.client))
        << "the focus left the kiosk after " << what;
    EXPECT_FALSE(log->anyFileContains("Program Termination")) << what;
}

// A press handler lets the kiosk's event loop run while it works (the keyboard is put together
// behind the page, pages fill slot by slot), so the screen is read until it stays the same.
KioskScreenState LockdownSession::currentState()
{
    KioskScreenState state = readState();
    for (int reading = 0; reading < 20; ++reading) {
        if (!process->settle())
            return state;
        const KioskScreenState again = readState();
        if (again == state)
            return state;
        state = again;
    }
    return state;
}

KioskScreenState LockdownSession::readState()
{
    if (messageBox().id != 0)
        return KioskScreenState::MessageBox;
    if (screen->keyboardShown())
        return KioskScreenState::Keyboard;
    if (screen->detailOpen())
        return KioskScreenState::Detail;
    return KioskScreenState::Browsing;
}

void LockdownSession::bringTo(KioskScreenState state)
{
    for (int step = 0; step < 8; ++step) {
        ASSERT_TRUE(process->settle());
        const KioskScreenState now = currentState();
        if (now == state)
            return;
        switch (now) {
        case KioskScreenState::MessageBox:
            server.sendDeleteRequest(messageBox().client);
            break;
        case KioskScreenState::Keyboard:
            tap(kiosk->keyboardButton(0));
            break;
        case KioskScreenState::Detail:
            tap(state == KioskScreenState::Keyboard ? kiosk->lookupButton() : kiosk->closeButton());
            break;
        case KioskScreenState::Browsing:
            if (state == KioskScreenState::Detail) {
                tap(kiosk->menuButton(1));
                ASSERT_TRUE(ScreenCheck::waitFor([&] { return screen->showsPage(kiosk->pictures(0), 0); }));
                tap(kiosk->slot(1));
            } else {
                tap(state == KioskScreenState::Keyboard ? kiosk->lookupButton() : kiosk->menuButton(3));
            }
            break;
        }
        ScreenCheck::waitFor([&] { return currentState() != now; }, 10'000);
    }
    FAIL() << "the kiosk did not come to the " << nameOf(state) << " screen";
}

void LockdownSession::tryKeys(KioskScreenState state)
{
    for (const QString& key : escapeKeys()) {
        ASSERT_NO_FATAL_FAILURE(bringTo(state));
        input.key(key);
        ASSERT_NO_FATAL_FAILURE(expectLockedIn(
            QStringLiteral("%1 on the %2 screen").arg(key, QString::fromStdString(nameOf(state)))));
    }
}

void LockdownSession::tryGestures(KioskScreenState state, const QString& control, QPoint at,
                                  bool bareBackdrop)
{
    const QString where = control + QStringLiteral(" on the ") + QString::fromStdString(nameOf(state)) +
                          QStringLiteral(" screen");
    const QPoint outside(server.screenSize().width() - 2, server.screenSize().height() - 2);
    const struct
    {
        QString name;
        std::function<void()> act;
    } gestures[] = {
        {QStringLiteral("right click"),
         [&] {
             input.click(at, 3);
         }},
        {QStringLiteral("middle click"),
         [&] {
             input.click(at, 2);
         }},
        {QStringLiteral("long press"),
         [&] {
             input.longPress(at);
         }},
        {QStringLiteral("double tap"),
         [&] {
             input.click(at, 1, 2);
         }},
        {QStringLiteral("triple tap"),
         [&] {
             input.click(at, 1, 3);
         }},
        {QStringLiteral("drag across the controls"),
         [&] {
             input.drag(at, kiosk->nextButton().center());
         }},
        {QStringLiteral("drag out of the window"),
         [&] {
             input.drag(at, outside);
         }},
        {QStringLiteral("right drag out of the window"),
         [&] {
             input.drag(at, outside, 3);
         }},
    };
    for (const auto& gesture : gestures) {
        if (bareBackdrop && gesture.name == QStringLiteral("right click"))
            continue;
        ASSERT_NO_FATAL_FAILURE(bringTo(state));
        gesture.act();
        ASSERT_NO_FATAL_FAILURE(expectLockedIn(gesture.name + QStringLiteral(" on the ") + where));
    }
}

} // namespace quindle::systemtest

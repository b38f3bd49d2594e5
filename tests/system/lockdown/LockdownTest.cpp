#include "system/support/KioskSession.h"

#include <QDir>
#include <tuple>

using namespace quindle::systemtest;

namespace {

enum Screen { Browsing, Detail, Keyboard, MessageBox };
const char* const screenNames[] = {"browsing", "detail", "keyboard", "message box"};

// A gesture a visitor might try at a point, in xdotool's words after the move to the point; a drag
// goes through %1 to %2, a point away.
struct Gesture
{
    const char* name;
    int button; // 1 left, 2 middle, 3 right
    const char* words;
};

// The gestures every control and the slideshow are tried with. A third tap is a press like the
// first, and a press on one control like one on another: the controls differ in what lies behind
// them.
const Gesture gestures[] = {
    {"right click", 3, "click 3"},
    {"middle click", 2, "click 2"},
    {"long press", 1, "mousedown 1 sleep 1.1 mouseup 1"},
    {"double tap", 1, "click --repeat 2 --delay 90 1"},
    {"drag away", 1, "mousedown 1 mousemove %1 mousemove %2 mouseup 1"},
    {"right drag away", 3, "mousedown 3 mousemove %1 mousemove %2 mouseup 3"},
};

// Keys as xdotool names them: one that only the kiosk's window hears, the message box's escape,
// and the key that asks for a context menu.
const QStringList escapeKeys{"alt+F4", "Escape", "Menu"};

// A kiosk under attack: every attempt to leave it is followed by the same checks. The third
// category holds no picture, so its menu button brings up a warning box that lets the kiosk go on;
// nothing is printed, so no print job can bring up a box of its own. The screen's proportions
// differ from the backdrop's, so that drags can leave the kiosk's picture for a bar.
class Lockdown : public KioskSession
{
protected:
    Lockdown() : KioskSession(QSize(2000, 1200)) {}

    void SetUp() override
    {
        KioskSession::SetUp();
        if (HasFatalFailure())
            return;
        const QString empty = kiosk->kioskFolder() + QLatin1Char('/') + kiosk->categoryFolders().value(2);
        ASSERT_TRUE(QDir(empty).removeRecursively() && QDir().mkpath(empty));
        ASSERT_TRUE(kiosk->setSetting(QStringLiteral("printing"), QStringLiteral("false")));
    }

    // The message box shown; its id is 0 when there is none.
    TopLevelWindow messageBox()
    {
        for (const TopLevelWindow& shown : server.viewableTopLevels()) {
            if (shown.id != process->window && server.transientFor(shown.id) == process->window)
                return shown;
        }
        return {};
    }

    // After an attempt: the kiosk is alive, its one window is shown covering the screen and has
    // the focus (or its message box has), no other window or menu exists, and no
    // termination line was logged.
    void expectLockedIn(const QString& attempt)
    {
        const std::string what = attempt.toStdString();
        ASSERT_TRUE(process->isRunning()) << "the kiosk ended after " << what;
        ASSERT_TRUE(process->settle()) << "the kiosk stopped answering after " << what;
        const xcb_window_t box = messageBox().id;
        QList<QRect> kioskWindows;
        for (const TopLevelWindow& shown : server.viewableTopLevels()) {
            if (shown.id == process->window)
                kioskWindows << shown.geometry;
            else if (shown.id != box)
                ADD_FAILURE() << "a window \"" << shown.name.toStdString() << "\" appeared after " << what;
        }
        EXPECT_EQ(QList<QRect>{QRect(QPoint(0, 0), server.screenSize())}, kioskWindows)
            << "the kiosk window, where it was, after " << what;
        const xcb_window_t focus = server.inputFocus();
        EXPECT_TRUE(focus == process->window || (box != 0 && focus == box))
            << "the focus left after " << what;
        EXPECT_EQ(QStringList(), kiosk->logEvents().filter(QStringLiteral("Program Termination"))) << what;
    }

    // A press handler lets the kiosk's event loop run while it works (the keyboard is put together
    // behind the page, pages fill slot by slot), so the screen is read until it stays the same.
    Screen currentScreen()
    {
        Screen last = Browsing;
        for (int reading = 0; reading < 20 && process->settle(); ++reading) {
            const Screen now = messageBox().id != 0      ? MessageBox
                               : screen->keyboardShown() ? Keyboard
                               : screen->detailOpen()    ? Detail
                                                         : Browsing;
            if (reading > 0 && now == last)
                break;
            last = now;
        }
        return last;
    }

    // Back to browsing by the visitor's own presses (the box closed, the keyboard cancelled, the
    // detail view closed), then the presses to the screen asked for. After a message box the empty
    // category is shown, so the detail view is opened from the first category.
    void bringTo(Screen wanted)
    {
        for (Screen now = currentScreen(); now != Browsing; now = currentScreen()) {
            if (now == MessageBox)
                server.sendDeleteRequest(messageBox().id);
            else
                tap(now == Keyboard ? kiosk->keyboardButton(0) : kiosk->closeButton());
            ASSERT_TRUE(waitFor([&] { return currentScreen() != now; }, 10'000))
                << "the kiosk stayed on the " << screenNames[now] << " screen";
        }
        if (wanted == Detail) {
            tap(kiosk->menuButton(1));
            ASSERT_TRUE(waitFor([&] { return screen->showsPage(kiosk->pictures(0), 0); }));
            tap(kiosk->slot(1));
        }
        if (wanted == Keyboard || wanted == MessageBox)
            tap(wanted == Keyboard ? kiosk->lookupButton() : kiosk->menuButton(3));
        ASSERT_TRUE(waitFor([&] { return currentScreen() == wanted; }, 10'000))
            << "the kiosk did not come to the " << screenNames[wanted] << " screen";
    }

    // Brings the kiosk to the screen, acts, and expects it locked in.
    void attempt(Screen on, const QString& what, const std::function<void()>& act)
    {
        ASSERT_NO_FATAL_FAILURE(bringTo(on));
        act();
        ASSERT_NO_FATAL_FAILURE(expectLockedIn(what + " on the " + screenNames[on] + " screen"));
    }

    void perform(const Gesture& gesture, QPoint at, QPoint away)
    {
        server.xdotool(
            "mousemove " + xdotoolPoint(at) + ' ' +
            QString::fromLatin1(gesture.words).arg(xdotoolPoint((at + away) / 2), xdotoolPoint(away)));
    }
};

} // namespace

TEST_F(Lockdown, NoKeyGestureOrCloseRequestLeavesTheKiosk_onlyTheOperatorsReleaseEndsIt)
{
    startKiosk();
    ASSERT_NE(QPoint(0, 0), kiosk->window().topLeft()) << "the kiosk lies between bars";
    for (const Screen on : {Browsing, Detail, Keyboard, MessageBox}) {
        for (const QString& key : escapeKeys)
            ASSERT_NO_FATAL_FAILURE(attempt(on, key, [&] { server.key(key); }));
        ASSERT_NO_FATAL_FAILURE(
            attempt(on, "a close request", [&] { server.sendDeleteRequest(process->window); }));
    }

    const QPoint outside(server.screenSize().width() - 2, server.screenSize().height() - 2);
    const std::tuple<Screen, const char*, QPoint> controls[] = {
        {Browsing, "the bare backdrop", kiosk->bareBackdrop()},
        {Browsing, "a menu button", kiosk->menuButton(1).center()},
        {Detail, "the detail picture", kiosk->detailFrame().center()},
        {Keyboard, "a key", kiosk->keyCentre(QLatin1Char('Q'))},
        {MessageBox, "the bare backdrop behind the message box", kiosk->bareBackdrop()},
    };
    for (const auto& [on, name, at] : controls) {
        // On the bare backdrop every right press is the operator's exit, wherever it is released,
        // unless a box covers the backdrop.
        const bool operatorsExit = on == Browsing && at == kiosk->bareBackdrop();
        for (const Gesture& gesture : gestures) {
            if (operatorsExit && gesture.button == 3)
                continue;
            ASSERT_NO_FATAL_FAILURE(attempt(on, QStringLiteral("%1 on %2").arg(gesture.name, name),
                                            [&] { perform(gesture, at, outside); }));
        }
    }

    ASSERT_NO_FATAL_FAILURE(bringTo(MessageBox));
    EXPECT_LE((messageBox().geometry.center() - kiosk->window().center()).manhattanLength(), 4)
        << "centred on the kiosk";

    ASSERT_NO_FATAL_FAILURE(bringTo(Browsing));
    perform(gestures[5], kiosk->bareBackdrop(), outside); // a right drag released off the window
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(0, process->exitCode());
    EXPECT_EQ(QStringList{QStringLiteral("Program Termination: User Right-Click")},
              kiosk->logEvents().filter(QStringLiteral("Termination")));
}

TEST_F(Lockdown, NoKeyOrGestureOnTheSlideshowLeavesTheKiosk)
{
    // The slideshow comes two seconds after the last touch and stays on its first slide.
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("2")));
    ASSERT_TRUE(kiosk->setSetting(QStringLiteral("attractTimer"), QStringLiteral("600")));
    const QString one = kiosk->kioskFolder() + QStringLiteral("/Attract/Slide 1.jpg");
    const QString two = kiosk->kioskFolder() + QStringLiteral("/Attract/Slide 2.jpg");
    const auto slideshowShown = [&] {
        return waitFor([&] { return screen->showsSlide(one, two) || screen->showsSlide(two, one); }, 30'000);
    };
    startKiosk();
    ASSERT_TRUE(slideshowShown());
    for (const QString& key : escapeKeys) {
        server.key(key);
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
              kiosk->logEvents().count(QStringLiteral("Exit Attract Mode")))
        << "every touch on a slide ends the slideshow, and nothing else does";
}

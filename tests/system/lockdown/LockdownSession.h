#pragma once

#include "system/support/KioskSession.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quindle::systemtest {

enum class KioskScreenState { Browsing, Detail, Keyboard, MessageBox };

enum class Motion { Click, Hold, Drag };

// A gesture a visitor might try at a point; a drag ends at a point away from it.
struct Gesture
{
    const char* name;
    Motion motion;
    int button; // 1 left, 2 middle, 3 right
    int repeat = 1;
};

// The gestures every control and the slideshow are tried with; the right click comes first.
extern const Gesture gestures[7];
// A representative set of the keys a visitor might try, as xdotool names them.
extern const QStringList escapeKeys;

// A kiosk under attack: every attempt to leave it is followed by the same checks.
class LockdownSession : public KioskSession
{
protected:
    explicit LockdownSession(QSize screenSize = QSize(1920, 1080)) : KioskSession(screenSize) {}
    void SetUp() override;

    // After an attempt: the kiosk is alive, its one window is shown with the backdrop's
    // geometry and has the focus (or its message box has), no other window or menu exists, and
    // no termination line was logged.
    void expectLockedIn(const QString& attempt);
    // The message box shown; its id is 0 when there is none.
    TopLevelWindow messageBox();
    KioskScreenState currentState();
    // Brings the kiosk to a screen by the visitor's own presses.
    void bringTo(KioskScreenState state);
    // Brings the kiosk to the screen, acts, and expects it locked in.
    void attempt(KioskScreenState state, const QString& what, const std::function<void()>& act);
    void perform(const Gesture& gesture, QPoint at, QPoint away);
};

} // namespace quindle::systemtest

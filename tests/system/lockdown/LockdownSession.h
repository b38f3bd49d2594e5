#pragma once

#include "system/support/KioskSession.h"

#include <QString>
#include <QStringList>

namespace quindle::systemtest {

enum class KioskScreenState { Browsing, Detail, Keyboard, MessageBox };

// A kiosk under attack: every attempt to leave it is followed by the same checks, and the
// attempts are counted.
class LockdownSession : public KioskSession
{
protected:
    explicit LockdownSession(QSize screenSize = QSize(1920, 1080)) : KioskSession(screenSize) {}
    void SetUp() override;

    // The keys a visitor might try, as xdotool names them.
    static QStringList escapeKeys();

    // After an attempt: the kiosk is alive, its one window is shown with the backdrop's
    // geometry and has the focus (or its message box has), no other window or menu exists, and
    // no termination line was logged.
    void expectLockedIn(const QString& attempt);
    // A window of the window manager itself, such as its own hidden helper window; none
    // without a window manager.
    virtual bool isWindowManagerWindow(const TopLevelWindow&) const { return false; }
    // The message box shown, if any; its id is 0 when there is none.
    TopLevelWindow messageBox();
    void expectMessageBoxModalAndCentred(const TopLevelWindow& box);

    KioskScreenState currentState();
    KioskScreenState readState();
    // Brings the kiosk to a screen by the visitor's own presses.
    void bringTo(KioskScreenState state);

    // Every gesture a visitor might try on one control.
    // On the bare backdrop the right click is left out: that one is the operator's exit.
    void tryGestures(KioskScreenState state, const QString& control, QPoint at, bool bareBackdrop = false);
    void tryKeys(KioskScreenState state);

    int attempts = 0;
};

} // namespace quindle::systemtest

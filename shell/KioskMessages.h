#pragma once

#include "platform/MessageBox.h"

#include <QObject>

namespace quindle {

// Every message box of the kiosk window passes through here. It knows whether a box is
// open, so that the one-second tick can hold the idle countdown still meanwhile, and it
// opens the boxes of the tick's own duties only after the tick has returned: a timer
// delivers no further tick while a box opened inside its handler waits for OK, and the
// watchdog card and the service manager would then restart a kiosk that is alive.
class KioskMessages final : public QObject, public MessageBox
{
    Q_OBJECT

public:
    explicit KioskMessages(MessageBox& boxes);

    void show(const QString& text) override;
    bool anyOpen() const { return m_open > 0; }

    // Between these calls a message waits for the tick to return. Only one such box is
    // waiting or open at a time: the same failure in the next ticks goes to standard error
    // alone, instead of stacking boxes.
    void beginTickDuties() { m_inTickDuties = true; }
    void endTickDuties() { m_inTickDuties = false; }

signals:
    // Every message, whether it opens a box now, later or only reaches standard error.
    void messageRaised(const QString& text);

private:
    void showNow(const QString& text);

    MessageBox& m_boxes;
    int m_open = 0;
    bool m_inTickDuties = false;
    bool m_tickBoxWaiting = false;
};

} // namespace quindle

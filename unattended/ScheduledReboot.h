#pragma once

#include "unattended/RebootSchedule.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

namespace quindle {

class Clock;
class MessageBox;
class SystemRestart;

// Restarts the computer at the configured times of day. The watchdog card is left armed:
// it is the system that ends the kiosk, and a restart that hangs is still caught.
class ScheduledReboot
{
public:
    using LogEvent = std::function<void(const QString&)>;

    ScheduledReboot(const std::array<std::int32_t, 3>& rebootTimes, const Clock& clock,
                    SystemRestart& restart, MessageBox& messageBox, LogEvent logEvent);

    // The first step of every tick; true when the restart was started, and the tick
    // then does nothing more.
    bool checkRebootSchedule();

    // Logs the termination (which writes out the buffered log lines) and asks for the
    // restart. A refused request is shown once and the kiosk goes on.
    void rebootMachine();

    const RebootSchedule& schedule() const { return m_schedule; }

private:
    RebootSchedule m_schedule;
    const Clock& m_clock;
    SystemRestart& m_restart;
    MessageBox& m_messageBox;
    LogEvent m_logEvent;
};

} // namespace quindle

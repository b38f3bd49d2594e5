#include "unattended/ScheduledReboot.h"

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "tracking/TrackingEvents.h"
#include "unattended/SystemRestart.h"

#include <utility>

namespace quindle {

ScheduledReboot::ScheduledReboot(const std::array<std::int32_t, 3>& rebootTimes, const Clock& clock,
                                 SystemRestart& restart, MessageBox& messageBox, LogEvent logEvent)
    : m_schedule(rebootTimes), m_clock(clock), m_restart(restart), m_messageBox(messageBox),
      m_logEvent(std::move(logEvent))
{
}

bool ScheduledReboot::checkRebootSchedule()
{
    if (!m_schedule.isDue(m_clock.now()))
        return false;
    rebootMachine();
    return true;
}

void ScheduledReboot::rebootMachine()
{
    m_logEvent(trackingText(TrackingEvent::AutoReboot));
    const RestartOutcome outcome = m_restart.requestRestart();
    if (outcome.ok())
        return;
    // The schedule has already moved on, so the ticks that go on while the box is open do
    // not ask again. The box keeps its old text; the journal also learns why.
    writeMessageToStandardError(QStringLiteral("The scheduled restart was refused: ") + outcome.reason);
    m_messageBox.show(QStringLiteral("GetCurrentProcess error==%1").arg(outcome.error));
}

} // namespace quindle

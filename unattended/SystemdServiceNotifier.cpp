#include "unattended/SystemdServiceNotifier.h"

#include <cstdlib>
#include <systemd/sd-daemon.h>

namespace quindle {

namespace {

bool environmentHolds(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// The kiosk runs as a child of the compositor, so WATCHDOG_PID names the compositor, not
// the kiosk; sd_watchdog_enabled() would then say no. The unit lets every process of the
// service notify, and the kiosk honours the watchdog time alone.
bool watchdogTimeGiven()
{
    const char* value = std::getenv("WATCHDOG_USEC");
    if (!value || !*value)
        return false;
    char* end = nullptr;
    const unsigned long long microseconds = std::strtoull(value, &end, 10);
    return *end == '\0' && microseconds > 0;
}

} // namespace

SystemdServiceNotifier::SystemdServiceNotifier()
    : m_notifySocketGiven(environmentHolds("NOTIFY_SOCKET")),
      m_watchdogWanted(m_notifySocketGiven && watchdogTimeGiven())
{
}

void SystemdServiceNotifier::notifyReady()
{
    if (m_notifySocketGiven)
        sd_notify(0, "READY=1");
}

void SystemdServiceNotifier::notifyAlive()
{
    if (m_watchdogWanted)
        sd_notify(0, "WATCHDOG=1");
}

} // namespace quindle

#pragma once

#include "unattended/ServiceNotifier.h"

namespace quindle {

// systemd's notification protocol. Started by systemd as a notify service, the kiosk finds
// NOTIFY_SOCKET (and, with a watchdog time, WATCHDOG_USEC) in its environment; without
// them nothing is sent. The environment is read once, at construction.
class SystemdServiceNotifier final : public ServiceNotifier
{
public:
    SystemdServiceNotifier();

    void notifyReady() override;
    void notifyAlive() override;

    bool watchdogWanted() const { return m_watchdogWanted; }

private:
    bool m_notifySocketGiven = false;
    bool m_watchdogWanted = false;
};

} // namespace quindle

#pragma once

namespace quindle {

class PrintSpooler;
class ServiceNotifier;
class SystemRestart;
class WatchdogLibrary;

// The services of the machine the kiosk runs on, beside the platform services: the print
// spooler, the restart of the computer, the watchdog card's library and the service
// manager that started the kiosk. Tests hand in fakes.
struct MachineServices
{
    PrintSpooler& spooler;
    SystemRestart& restart;
    WatchdogLibrary& watchdogLibrary;
    ServiceNotifier& serviceNotifier;
};

} // namespace quindle

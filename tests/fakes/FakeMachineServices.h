#pragma once

#include "fakes/UnattendedFakes.h"
#include "printing/PrintSpooler.h"
#include "shell/MachineServices.h"
#include "unattended/ServiceNotifier.h"

namespace quindle::test {

// Nothing reaches a printer; the window tests run with printing off.
struct FakePrintSpooler final : PrintSpooler
{
    PrintOutcome printRawFile(const QString&) override { return PrintOutcome::Printed; }
    PrintOutcome printPicture(const QString&, const QRectF&) override { return PrintOutcome::Printed; }
};

struct FakeServiceNotifier final : ServiceNotifier
{
    void notifyReady() override { ++ready; }
    void notifyAlive() override { ++alive; }
    int ready = 0;
    int alive = 0;
};

// The machine's services for a window test, each a fake.
struct FakeMachine
{
    FakePrintSpooler spooler;
    FakeSystemRestart restart;
    FakeWatchdogLibrary watchdogLibrary;
    FakeServiceNotifier serviceNotifier;

    MachineServices services() { return MachineServices{spooler, restart, watchdogLibrary, serviceNotifier}; }
};

} // namespace quindle::test

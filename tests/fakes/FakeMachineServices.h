#pragma once

#include "fakes/UnattendedFakes.h"
#include "printing/PrintSpooler.h"
#include "shell/MachineServices.h"
#include "unattended/ServiceNotifier.h"

#include <QStringList>

namespace quindle::test {

// Records every job it is handed; nothing reaches a printer.
class FakePrintSpooler final : public PrintSpooler
{
public:
    PrintOutcome printRawFile(const QString& path) override
    {
        jobs << QStringLiteral("raw:") + path;
        return outcome;
    }
    PrintOutcome printPicture(const QString& picturePath, const QRectF& inches) override
    {
        jobs << QStringLiteral("picture:") + picturePath;
        lastRectangle = inches;
        return outcome;
    }
    PrintOutcome outcome = PrintOutcome::Printed;
    QStringList jobs;
    QRectF lastRectangle;
};

class FakeServiceNotifier final : public ServiceNotifier
{
public:
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

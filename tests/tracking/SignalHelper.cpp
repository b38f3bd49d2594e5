#include "platform/Clock.h"
#include "platform/ProgramEnd.h"
#include "tracking/TerminationSignals.h"
#include "tracking/TrackingLog.h"

#include <QCoreApplication>
#include <cstdio>

// Usage: quindle_tracking_signal_helper PROGRAM_FOLDER
// Logs three lines with daily tracking into PROGRAM_FOLDER, prints "ready" and runs its
// event loop; a termination signal writes the waiting lines and ends with status 0, as
// the kiosk does.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    quindle::SystemClock clock;
    quindle::ImmediateProgramEnd programEnd;
    quindle::TrackingLog log(clock, QString::fromLocal8Bit(argv[1]), quindle::TrackingMode::Daily);
    quindle::TerminationSignals terminationSignals([&](int) {
        log.flush();
        programEnd.end(0);
    });
    if (!terminationSignals.installed())
        return 3;
    log.logEvent(QStringLiteral("Program Started"));
    log.logEvent(QStringLiteral("Menu Button 2 Pressed"));
    log.logEvent(QStringLiteral("Detail: red, \"quoted\" boot.jpg"));
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

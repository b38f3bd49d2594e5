#include "unattended/ScheduledReboot.h"

#include "fakes/FakeServices.h"
#include "fakes/UnattendedFakes.h"
#include "support/QtPrinters.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

// A time on the 5th of December 2026; hours past 24 run into the next days.
QDateTime at(int hour, int minute, int second, int msec = 0)
{
    return QDateTime(QDate(2026, 12, 5), QTime())
        .addMSecs(((hour * 60LL + minute) * 60 + second) * 1000 + msec);
}

struct Day
{
    std::array<std::int32_t, 3> times; // seconds after midnight, in the owner's order
    QDateTime from;
    QDateTime until;
    int secondsPerTick;
    int error;            // of the restart request
    const char* restarts; // the ticks that asked for a restart, separated by "|"
};

const Day days[] = {
    // A first time of 0 switches every restart off.
    {{0, 14400, 0}, at(0, 0, 0), at(24, 0, 0), 1, 0, ""},
    // Once, at the first tick past the time; the time of day is rounded to the second, a half to the even
    // one.
    {{10800, 0, 0}, at(2, 59, 58, 500), at(3, 1, 0), 1, 0, "5 03:00:01.500"},
    {{10800, 0, 0}, at(2, 59, 58, 501), at(3, 1, 0), 1, 0, "5 03:00:00.501"},
    // The first time later than the time of day, in the owner's order: here 14:00 comes before 02:00.
    {{50400, 7200, 0}, at(-1, 0, 0), at(47, 0, 0), 1, 0, "5 14:00:01.000|6 14:00:01.000"},
    // A refused restart is not asked again every second, and the next time of the day still comes.
    {{10800, 79200, 0}, at(0, 0, 0), at(24, 0, 0), 1, EACCES, "5 03:00:01.000|5 22:00:01.000"},
    // A tick after a long pause still restarts.
    {{10800, 0, 0}, at(1, 0, 0), at(9, 30, 1), 30600, 0, "5 09:30:00.000"},
};

} // namespace

TEST(ScheduledReboot, AsksForTheRestartOnceAtEachChosenTime)
{
    for (const Day& row : days) {
        SCOPED_TRACE(row.restarts);
        FakeClock clock;
        FakeSystemRestart restart;
        restart.outcome = RestartOutcome{row.error};
        FakeMessageBox messageBox;
        QStringList events;
        restart.onRequest = [&] {
            events.append(QStringLiteral("restart"));
        };
        ScheduledReboot reboot(row.times, clock, restart, messageBox,
                               [&](const QString& text) { events.append(text); });
        // Ticks while a refusal is shown ask for nothing.
        messageBox.whileOpen = [&](const QString& text) {
            events.append(text + (reboot.checkRebootSchedule() ? " ?" : ""));
        };

        QStringList started;
        for (clock.setNow(row.from); clock.now() < row.until;
             clock.advance(std::chrono::seconds(row.secondsPerTick))) {
            if (reboot.checkRebootSchedule())
                started.append(clock.now().toString(QStringLiteral("d hh:mm:ss.zzz")));
        }
        EXPECT_EQ(QString::fromUtf8(row.restarts), started.join('|'));
        // The termination is logged, and the log so written out, before the restart is asked for.
        QStringList expected;
        for (qsizetype i = 0; i < started.size(); ++i) {
            expected << QStringLiteral("Program Termination: Auto Reboot") << QStringLiteral("restart");
            if (row.error)
                expected << QStringLiteral("GetCurrentProcess error==%1").arg(row.error);
        }
        EXPECT_EQ(expected, events);
    }
}

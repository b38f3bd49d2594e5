#include "unattended/ScheduledReboot.h"

#include "UnattendedFakes.h"
#include "fakes/FakeServices.h"

#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;
using namespace std::chrono_literals;

namespace {

struct RebootRig
{
    explicit RebootRig(const std::array<std::int32_t, 3>& times, QTime start = QTime(2, 59, 50))
        : reboot(times, clock, restart, messageBox, [this](const QString& text) { log.append(text); })
    {
        clock.setNow(QDateTime(QDate(2026, 12, 5), start));
    }

    // Runs the schedule's step of the given number of ticks, one second apart, and
    // counts the ticks that started the restart.
    int tick(int count)
    {
        int started = 0;
        for (int i = 0; i < count; ++i) {
            if (reboot.checkRebootSchedule())
                ++started;
            clock.advance(1s);
        }
        return started;
    }

    FakeClock clock;
    FakeSystemRestart restart;
    FakeMessageBox messageBox;
    QStringList log;
    ScheduledReboot reboot;
};

const QString terminationLine = QStringLiteral("Program Termination: Auto Reboot");

} // namespace

TEST(ScheduledReboot, LogsTheTerminationLastAndThenAsksForTheRestart)
{
    RebootRig rig({10800, 0, 0});
    rig.log = QStringList{QStringLiteral("Enter Attract Mode"), QStringLiteral("Enter Attract Mode")};
    QStringList logAtRequest;
    rig.restart.onRequest = [&] {
        logAtRequest = rig.log;
    };

    EXPECT_EQ(0, rig.tick(11)); // 02:59:50 .. 03:00:00
    EXPECT_EQ(0, rig.restart.requests);
    EXPECT_EQ(1, rig.tick(1)); // 03:00:01

    EXPECT_EQ(1, rig.restart.requests);
    const QStringList expected{QStringLiteral("Enter Attract Mode"), QStringLiteral("Enter Attract Mode"),
                               terminationLine};
    EXPECT_EQ(expected, logAtRequest);
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());
}

TEST(ScheduledReboot, AcceptedRequestIsNotRepeatedWhileTheSystemShutsDown)
{
    RebootRig rig({10800, 0, 0});
    EXPECT_EQ(1, rig.tick(600));
    EXPECT_EQ(1, rig.restart.requests);
    EXPECT_EQ(QStringList{terminationLine}, rig.log);
}

TEST(ScheduledReboot, RefusedRequestIsShownOnceAndTheKioskGoesOn)
{
    RebootRig rig({10800, 79200, 0});
    rig.restart.outcome = RestartOutcome{EACCES};

    EXPECT_EQ(1, rig.tick(3600));
    EXPECT_EQ(1, rig.restart.requests);
    EXPECT_EQ(QStringList{terminationLine}, rig.log);
    EXPECT_EQ(QStringList{QStringLiteral("GetCurrentProcess error==13")}, rig.messageBox.messages);

    // The next due time of the day asks again.
    rig.clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(21, 59, 0)));
    EXPECT_EQ(1, rig.tick(120));
    EXPECT_EQ(2, rig.restart.requests);
    EXPECT_EQ(2, rig.messageBox.messages.size());
}

TEST(ScheduledReboot, TicksDuringTheOpenMessageDoNotAskAgain)
{
    RebootRig rig({10800, 0, 0});
    rig.restart.outcome = RestartOutcome{ENOENT};
    int ticksWhileOpen = 0;
    rig.messageBox.whileOpen = [&](const QString&) {
        ticksWhileOpen += rig.tick(30);
    };

    EXPECT_EQ(1, rig.tick(20));
    EXPECT_EQ(0, ticksWhileOpen);
    EXPECT_EQ(1, rig.restart.requests);
    EXPECT_EQ(QStringList{QStringLiteral("GetCurrentProcess error==2")}, rig.messageBox.messages);
}

TEST(ScheduledReboot, NoTimesNoRestart)
{
    RebootRig rig({0, 14400, 0}, QTime(0, 0, 0));
    EXPECT_EQ(0, rig.tick(86400));
    EXPECT_EQ(0, rig.restart.requests);
    EXPECT_TRUE(rig.log.isEmpty());
}

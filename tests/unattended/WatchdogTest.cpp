#include "unattended/Watchdog.h"

#include "UnattendedFakes.h"
#include "fakes/FakeServices.h"
#include "support/TempFolder.h"
#include "unattended/ScheduledReboot.h"

#include <QFile>
#include <QList>
#include <gtest/gtest.h>

using namespace quindle;
using namespace quindle::test;

namespace {

struct WatchdogRig
{
    explicit WatchdogRig(bool enabled = true) : watchdog(enabled, programFolder.path(), library, messageBox)
    {
    }

    // Tickles the given number of times and returns the call numbers (counted from
    // firstCall) at which a tick command went out.
    QList<int> tickle(int count, int firstCall = 1)
    {
        QList<int> sentAt;
        for (int call = firstCall; call < firstCall + count; ++call) {
            const qsizetype before = library.commands().size();
            watchdog.tickle();
            if (library.commands().size() > before)
                sentAt.append(call);
        }
        return sentAt;
    }

    TempFolder programFolder;
    FakeWatchdogLibrary library;
    FakeMessageBox messageBox;
    Watchdog watchdog;
};

const QString missingLibraryMessage =
    QStringLiteral("Missing required file \"libwdogusb.so\" for the USB watchdog - disabling this option.");

} // namespace

TEST(Watchdog, StartPreparesTheLibraryThenEnablesAndTicks)
{
    WatchdogRig rig;
    rig.watchdog.start();
    const QStringList expected{QStringLiteral("init"), QStringLiteral("enable"), QStringLiteral("tick")};
    EXPECT_EQ(expected, rig.library.calls);
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());
    EXPECT_TRUE(rig.watchdog.isEnabled());
}

TEST(Watchdog, FailedEnableSendsNoTick)
{
    WatchdogRig rig;
    rig.library.failing = QStringList{QStringLiteral("enable")};
    rig.watchdog.start();
    EXPECT_EQ(QStringList{QStringLiteral("enable")}, rig.library.commands());
    EXPECT_EQ(QStringList{QStringLiteral("Could not re-enable watchdog")}, rig.messageBox.messages);
}

TEST(Watchdog, FailedFirstTickIsReported)
{
    WatchdogRig rig;
    rig.library.failing = QStringList{QStringLiteral("tick")};
    rig.watchdog.start();
    EXPECT_EQ(QStringList{QStringLiteral("Could not start USB watchdog")}, rig.messageBox.messages);
}

TEST(Watchdog, TickleReachesTheCardAtTheSixthCallAndEveryFifthAfter)
{
    WatchdogRig rig;
    rig.watchdog.start();
    rig.library.calls.clear();
    const QList<int> expected{6, 11, 16};
    EXPECT_EQ(expected, rig.tickle(16));
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());
}

TEST(Watchdog, FailedTickleIsReportedAndTriedAgainAtTheNextFifthCall)
{
    WatchdogRig rig;
    rig.library.failing = QStringList{QStringLiteral("tick")};
    const QList<int> expected{6, 11};
    EXPECT_EQ(expected, rig.tickle(11));
    const QStringList messages{QStringLiteral("Error in USB tickle"), QStringLiteral("Error in USB tickle")};
    EXPECT_EQ(messages, rig.messageBox.messages);
}

TEST(Watchdog, HangMarkerStopsTicklesAndKeepsTheDivider)
{
    WatchdogRig rig;
    EXPECT_TRUE(rig.tickle(3).isEmpty()); // the divider now waits two more calls

    const QString marker = rig.programFolder.write(QStringLiteral("hang.txt"));
    EXPECT_TRUE(rig.tickle(20, 4).isEmpty());

    ASSERT_TRUE(QFile::remove(marker));
    const QList<int> expected{26, 31};
    EXPECT_EQ(expected, rig.tickle(8, 24));
}

TEST(Watchdog, HangMarkerIsFoundWhateverItsLetterCase)
{
    WatchdogRig rig;
    rig.programFolder.write(QStringLiteral("HANG.TXT"));
    EXPECT_TRUE(rig.tickle(12).isEmpty());
}

TEST(Watchdog, DisableSendsTheDisableCommand)
{
    WatchdogRig rig;
    rig.watchdog.start();
    rig.watchdog.disable();
    EXPECT_EQ(QStringLiteral("disable"), rig.library.commands().last());
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());

    rig.library.failing = QStringList{QStringLiteral("disable")};
    rig.watchdog.disable();
    EXPECT_EQ(QStringList{QStringLiteral("Could not disable the USB watchdog")}, rig.messageBox.messages);
}

TEST(Watchdog, MissingLibraryIsReportedOnceAndNothingIsSentAfterwards)
{
    WatchdogRig rig;
    rig.library.loadable = false;
    rig.watchdog.start();
    EXPECT_FALSE(rig.watchdog.isEnabled());

    EXPECT_TRUE(rig.tickle(30).isEmpty());
    rig.watchdog.disable();
    rig.watchdog.start();

    EXPECT_EQ(QStringList{missingLibraryMessage}, rig.messageBox.messages);
    EXPECT_TRUE(rig.library.calls.isEmpty());
    EXPECT_EQ(1, rig.library.opens);
}

TEST(Watchdog, SwitchedOffNeverLoadsTheLibrary)
{
    WatchdogRig rig(false);
    rig.watchdog.start();
    rig.tickle(30);
    rig.watchdog.disable();
    EXPECT_EQ(0, rig.library.opens);
    EXPECT_TRUE(rig.library.calls.isEmpty());
    EXPECT_TRUE(rig.messageBox.messages.isEmpty());
}

TEST(Watchdog, ScheduledRestartLeavesTheCardArmed)
{
    WatchdogRig rig;
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 5), QTime(2, 59, 55)));
    FakeSystemRestart restart;
    ScheduledReboot reboot({10800, 0, 0}, clock, restart, rig.messageBox, [](const QString&) {});

    rig.watchdog.start();
    // The tick handler's order: the schedule first, the tickle only when no restart started.
    for (int tick = 0; tick < 20; ++tick) {
        if (!reboot.checkRebootSchedule())
            rig.watchdog.tickle();
        clock.advance(std::chrono::seconds(1));
    }

    EXPECT_EQ(1, restart.requests);
    EXPECT_FALSE(rig.library.commands().contains(QStringLiteral("disable")));
}

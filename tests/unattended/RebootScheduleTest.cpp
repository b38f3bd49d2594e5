#include "unattended/RebootSchedule.h"

#include <QList>
#include <gtest/gtest.h>

using namespace quindle;

namespace {

const QDate day(2026, 12, 5);

QDateTime at(const QDate& date, int hour, int minute, int second, int msec = 0)
{
    return QDateTime(date, QTime(hour, minute, second, msec));
}

// Ticks once a second from start (inclusive) to end (exclusive) and returns the ticks at
// which the restart was due.
QList<QDateTime> dueTicks(RebootSchedule& schedule, const QDateTime& start, const QDateTime& end)
{
    QList<QDateTime> due;
    for (QDateTime now = start; now < end; now = now.addSecs(1)) {
        if (schedule.isDue(now))
            due.append(now);
    }
    return due;
}

} // namespace

TEST(RebootSchedule, FiresOnceAtTheFirstTickPastTheTime)
{
    RebootSchedule schedule({10800, 0, 0});
    const QList<QDateTime> due = dueTicks(schedule, at(day, 0, 0, 0, 300), at(day.addDays(1), 0, 0, 0));
    EXPECT_EQ(QList<QDateTime>{at(day, 3, 0, 1, 300)}, due);
    EXPECT_EQ(-1, schedule.nextRebootSecond());
}

TEST(RebootSchedule, ComparesTheRoundedTimeOfDay)
{
    RebootSchedule halfRoundsToEven({10800, 0, 0});
    EXPECT_FALSE(halfRoundsToEven.isDue(at(day, 2, 0, 0)));
    EXPECT_FALSE(halfRoundsToEven.isDue(at(day, 3, 0, 0, 499)));
    EXPECT_FALSE(halfRoundsToEven.isDue(at(day, 3, 0, 0, 500)));
    EXPECT_TRUE(halfRoundsToEven.isDue(at(day, 3, 0, 0, 501)));

    EXPECT_EQ(10800, RebootSchedule::roundedTimeOfDay(QTime(3, 0, 0, 500)));
    EXPECT_EQ(10802, RebootSchedule::roundedTimeOfDay(QTime(3, 0, 1, 500)));
    EXPECT_EQ(10801, RebootSchedule::roundedTimeOfDay(QTime(3, 0, 0, 600)));
    EXPECT_EQ(0, RebootSchedule::roundedTimeOfDay(QTime(0, 0, 0, 400)));
}

TEST(RebootSchedule, FractionalHourIsHalfPastTwo)
{
    RebootSchedule schedule({9000, 0, 0});
    EXPECT_EQ(QList<QDateTime>{at(day, 2, 30, 1)}, dueTicks(schedule, at(day, 0, 0, 0), at(day, 12, 0, 0)));
}

TEST(RebootSchedule, FirstTimeZeroSwitchesEveryRestartOff)
{
    RebootSchedule schedule({0, 14400, 0});
    EXPECT_TRUE(dueTicks(schedule, at(day, 0, 0, 0), at(day.addDays(1), 23, 59, 59)).isEmpty());
    EXPECT_EQ(-1, schedule.nextRebootSecond());
}

TEST(RebootSchedule, TakesTheFirstLaterTimeInTheOwnersOrder)
{
    // 14:00 is listed before 02:00: from midnight on, 14:00 is the first later time, so
    // the two o'clock restart never comes.
    RebootSchedule schedule({50400, 7200, 0});
    const QList<QDateTime> due =
        dueTicks(schedule, at(day, 23, 0, 0).addDays(-1), at(day.addDays(1), 23, 0, 0));
    const QList<QDateTime> expected{at(day, 14, 0, 1), at(day.addDays(1), 14, 0, 1)};
    EXPECT_EQ(expected, due);
}

TEST(RebootSchedule, StartedAfterTheFirstTimeWaitsForTheNext)
{
    RebootSchedule schedule({10800, 79200, 0});
    EXPECT_FALSE(schedule.isDue(at(day, 5, 0, 0)));
    EXPECT_EQ(79200, schedule.nextRebootSecond());
    const QList<QDateTime> due = dueTicks(schedule, at(day, 5, 0, 1), at(day.addDays(1), 12, 0, 0));
    const QList<QDateTime> expected{at(day, 22, 0, 1), at(day.addDays(1), 3, 0, 1)};
    EXPECT_EQ(expected, due);
}

TEST(RebootSchedule, DueTimeThatPassedWithoutRestartIsNotRepeated)
{
    // The kiosk keeps running when the restart does not happen: each due time is
    // reported once, and the next one of the day still comes.
    RebootSchedule schedule({10800, 79200, 0});
    const QList<QDateTime> due = dueTicks(schedule, at(day, 0, 0, 0), at(day.addDays(1), 0, 0, 0));
    const QList<QDateTime> expected{at(day, 3, 0, 1), at(day, 22, 0, 1)};
    EXPECT_EQ(expected, due);
}

TEST(RebootSchedule, TickAfterALongPauseStillRestarts)
{
    RebootSchedule schedule({10800, 0, 0});
    EXPECT_FALSE(schedule.isDue(at(day, 1, 0, 0)));
    EXPECT_TRUE(schedule.isDue(at(day, 9, 30, 0)));
    EXPECT_FALSE(schedule.isDue(at(day, 9, 30, 1)));
}

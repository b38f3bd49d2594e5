#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

namespace quindle {

// The day's restart time, chosen afresh at the first check of each day: the first of the
// three configured times (seconds after midnight, in the owner's order) that lies later
// than the present time of day. A first time of 0 switches every restart off.
//
// A due time is reported once. The next due time is then chosen by the same rule, as the
// restarted kiosk would choose it, so that a restart the system refuses is not requested
// again every second.
class RebootSchedule
{
public:
    explicit RebootSchedule(const std::array<std::int32_t, 3>& rebootTimes);

    // Called once a tick; true when the restart is due now.
    bool isDue(const QDateTime& now);

    // Seconds after midnight of today's next restart, or -1 when none is due today.
    std::int32_t nextRebootSecond() const { return m_nextRebootSecond; }

    // Seconds since midnight, rounded to the nearest whole second (a half to the even one).
    static std::int32_t roundedTimeOfDay(const QTime& time);

private:
    std::int32_t firstTimeAfter(std::int32_t second) const;

    std::array<std::int32_t, 3> m_rebootTimes;
    std::int32_t m_nextRebootSecond = -1;
    QString m_dayStamp; // "mmddyy" of the day the time was chosen for
};

} // namespace quindle

#include "unattended/RebootSchedule.h"

namespace quindle {

RebootSchedule::RebootSchedule(const std::array<std::int32_t, 3>& rebootTimes) : m_rebootTimes(rebootTimes) {}

bool RebootSchedule::isDue(const QDateTime& now)
{
    const QString dayStamp = now.date().toString(QStringLiteral("MMddyy"));
    if (dayStamp != m_dayStamp) {
        m_nextRebootSecond = firstTimeAfter(roundedTimeOfDay(now.time()));
        m_dayStamp = dayStamp;
    }
    const std::int32_t second = roundedTimeOfDay(now.time());
    if (m_nextRebootSecond <= 0 || second <= m_nextRebootSecond)
        return false;
    m_nextRebootSecond = firstTimeAfter(second);
    return true;
}

std::int32_t RebootSchedule::roundedTimeOfDay(const QTime& time)
{
    const int msecs = time.msecsSinceStartOfDay();
    const int whole = msecs / 1000;
    const int rest = msecs % 1000;
    if (rest > 500 || (rest == 500 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

std::int32_t RebootSchedule::firstTimeAfter(std::int32_t second) const
{
    if (m_rebootTimes[0] == 0)
        return -1;
    for (const std::int32_t time : m_rebootTimes) {
        if (time > second)
            return time;
    }
    return -1;
}

} // namespace quindle

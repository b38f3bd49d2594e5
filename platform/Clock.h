#pragma once

#include <QDateTime>
#include <chrono>

namespace quindle {

// The kiosk's only source of time: the date and time of day for log lines and the
// reboot schedule, and a clock that never jumps for the waits.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual std::chrono::milliseconds monotonic() const = 0;
    // Waits without handling any event.
    virtual void sleepFor(std::chrono::milliseconds duration);
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
    std::chrono::milliseconds monotonic() const override;
};

} // namespace quindle

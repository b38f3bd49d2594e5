#pragma once

#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace quindle::systemtest {

struct ScreenCheck
{
    // Polls until the check holds or the time is up.
    static bool waitFor(const std::function<bool()>& check, int timeoutMs = 20'000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!check()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(40);
        }
        return true;
    }

    // The mean difference of the colour channels (0 to 255) below which a picture counts as shown.
    static constexpr double tolerance = 14.0;
};

} // namespace quindle::systemtest

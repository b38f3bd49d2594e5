#pragma once

#include <cstdint>
#include <limits>

namespace quindle {

// The browsing positions and the idle countdown that the press handlers, the thumbnail
// page, the detail view and the timer share.
struct KioskState
{
    // Ticks (seconds) left before the next attract step.
    std::int16_t idleCountdown = 0;
    int thumbsPerPage = 0;
    // Pictures before the first slot of the page shown; a multiple of thumbsPerPage.
    std::int32_t pageStart = 0;
    // Position in the picture list of the picture in the detail view.
    std::int32_t currentPicture = 0;
    // pageStart when the detail view was opened.
    std::int32_t pageStartAtDetail = 0;

    void resetIdle(std::int16_t idleTimeout) { idleCountdown = idleTimeout; }

    // The countdown stops at its lowest value instead of wrapping round to the highest.
    void countDown()
    {
        if (idleCountdown > std::numeric_limits<std::int16_t>::min())
            --idleCountdown;
    }
};

} // namespace quindle

#pragma once

#include <cstdint>

namespace quindle {

// Whether visitors' actions are logged, and into one file a day or one a month.
enum class TrackingMode : std::int16_t { None = 0, Daily = 1, Monthly = 2 };

} // namespace quindle

#pragma once

#include <cstdint>
#include <functional>

namespace quindle::test {

// Measurements of the test process itself, for tests that bound what the kiosk keeps.

// True in a build with AddressSanitizer, whose shadow memory and quarantine make the process's
// memory figures meaningless.
constexpr bool addressSanitizerBuild()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
    return __has_feature(address_sanitizer);
#else
    return false;
#endif
}

// Bytes of the heap in use (glibc's mallinfo2), allocations served by mmap included.
std::int64_t heapInUse();
// The process's open file descriptors.
int openDescriptors();
// How far the resident memory rose above its level before the action at its highest during the
// action, in bytes.
std::int64_t peakGrowthDuring(const std::function<void()>& action);

} // namespace quindle::test

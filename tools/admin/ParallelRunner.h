#pragma once

#include <chrono>
#include <functional>

namespace quindle::admin {

// Runs work(0) … work(count - 1) on up to `threads` threads, each taking the next index as
// it becomes free, and calls progress(done) on the calling thread about every interval
// and once more at the end. work must be safe to run on several threads at once.
void runParallel(int count, int threads, const std::function<void(int index)>& work,
                 const std::function<void(int done)>& progress = {},
                 std::chrono::milliseconds interval = std::chrono::milliseconds(250));

// The number of threads "every core" means on this machine (at least 1).
int coreCount();

} // namespace quindle::admin

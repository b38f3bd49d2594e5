#include "tools/admin/ParallelRunner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace quindle::admin {

int coreCount()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

void runParallel(int count, int threads, const std::function<void(int)>& work,
                 const std::function<void(int)>& progress, std::chrono::milliseconds interval)
{
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::mutex mutex;
    std::condition_variable finished;
    const auto worker = [&] {
        for (int index = next++; index < count; index = next++) {
            work(index);
            if (++done == count) {
                std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    };
    std::vector<std::thread> pool;
    const int poolSize = std::clamp(threads, 1, std::max(count, 1));
    for (int i = 0; i < poolSize; ++i)
        pool.emplace_back(worker);
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, interval, [&] { return done.load() >= count; })) {
            if (progress)
                progress(done.load());
        }
    }
    for (std::thread& thread : pool)
        thread.join();
    if (progress)
        progress(done.load());
}

} // namespace quindle::admin

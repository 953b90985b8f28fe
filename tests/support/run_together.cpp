#include "run_together.h"

#include <atomic>
#include <thread>

void run_together(const std::vector<std::function<void()>>& jobs) {
    // Each thread waits until all have started, so that their work overlaps
    // rather than following one another.
    std::atomic<size_t> ready{0};
    std::vector<std::thread> threads;
    for (const std::function<void()>& job : jobs) {
        threads.emplace_back([&ready, &job, count = jobs.size()] {
            ++ready;
            while (ready.load() < count) std::this_thread::yield();
            job();
        });
    }
    for (std::thread& t : threads) t.join();
}

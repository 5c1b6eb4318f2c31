#include "core/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace ostiva {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(50);

} // namespace

bool RunOnWorkers(std::size_t total, unsigned workers, const std::function<void(std::size_t)>& job,
                  const WorkProgress& progress) {
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    workers =
        static_cast<unsigned>(std::min<std::size_t>(workers, std::max<std::size_t>(total, 1)));

    std::atomic<std::size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    unsigned running = workers;
    std::exception_ptr failure;
    std::size_t failedAt = total;

    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= total || stop.load())
                break;
            try {
                job(i);
            } catch (...) {
                // Of the failures met before the workers stopped, the earliest item's is
                // reported, whichever thread met it.
                const std::lock_guard lock(mutex);
                if (i < failedAt) {
                    failedAt = i;
                    failure = std::current_exception();
                }
                stop = true;
                break;
            }
            done.fetch_add(1);
        }
        {
            const std::lock_guard lock(mutex);
            --running;
        }
        finished.notify_all();
    };

    bool cancelled = false;
    {
        std::vector<std::jthread> threads;
        // Whatever leaves this block (a thread that cannot start, a throwing progress), the
        // workers are told to stop before the threads are joined.
        struct StopOnExit {
            std::atomic<bool>& stop;
            ~StopOnExit() { stop = true; }
        };
        threads.reserve(workers);
        const StopOnExit stopOnExit{stop};
        for (unsigned w = 0; w < workers; ++w)
            threads.emplace_back(work);

        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, kProgressInterval, [&] { return running == 0; })) {
            if (!progress || cancelled)
                continue;
            lock.unlock();
            const bool goOn = progress(done.load(), total);
            lock.lock();
            if (!goOn) {
                cancelled = true;
                stop = true;
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return !cancelled && (!progress || progress(total, total));
}

} // namespace ostiva

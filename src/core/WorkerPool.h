#pragma once
// One job per item, shared out over one worker thread per core, with progress and cancel on
// the calling thread. Used by the search and the project summary.
#include <cstddef>
#include <functional>

namespace ostiva {

// Called with the number of items done so far and the total; returning false cancels.
using WorkProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Calls job(i) for every i in [0, total) on `workers` threads (0: one per hardware thread,
// never more than there are items); each worker takes the next item when it is done with one,
// so a job that keeps its result in slot i keeps the order whatever the sharing. `progress` is
// called on the calling thread only, about every 50 ms while jobs run and once more with
// done == total at the end (returning false then still cancels). Returns false when cancelled.
// When a job throws, the workers stop and the exception of the earliest item that failed is
// rethrown once every thread has ended.
bool RunOnWorkers(std::size_t total, unsigned workers, const std::function<void(std::size_t)>& job,
                  const WorkProgress& progress);

} // namespace ostiva

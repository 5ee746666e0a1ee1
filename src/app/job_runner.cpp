#include "app/job_runner.h"

namespace orbitograph {

ThreadStarter DefaultThreadStarter() {
    return [](std::function<void()> body) { return std::jthread(std::move(body)); };
}

void RaiseProgress(std::atomic<double>& progress, double fraction) {
    double seen = progress.load(std::memory_order_relaxed);
    while (fraction > seen && !progress.compare_exchange_weak(seen, fraction, std::memory_order_relaxed)) {
    }
}

}  // namespace orbitograph

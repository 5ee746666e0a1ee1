#pragma once

#include <pybind11/pybind11.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <type_traits>
#include <utility>

namespace orbitograph::python {

// How often a waiting call looks at Python's signals: Ctrl+C cancels a
// computation within this interval plus the engine's reaction to its cancel
// flag (one block of start points).
inline constexpr std::chrono::milliseconds kSignalPoll{50};

// Runs job(cancel) on a thread of its own and waits for it with the GIL
// released. Every kSignalPoll the waiting thread takes the GIL back briefly
// and runs Python's signal handlers (only the main thread has any); when one
// raises, as Ctrl+C raises KeyboardInterrupt, cancel is set, the job is
// awaited (it must poll cancel and stop) and that Python exception is thrown
// as pybind11::error_already_set. Otherwise returns the job's result or
// rethrows its exception. Call with the GIL held; the job must not touch
// Python objects.
template <class Job>
auto RunInterruptibly(Job job) -> std::invoke_result_t<Job&, const std::atomic<bool>&> {
    using Result = std::invoke_result_t<Job&, const std::atomic<bool>&>;
    std::atomic<bool> cancel{false};
    std::packaged_task<Result()> task([&job, &cancel] { return job(cancel); });
    std::future<Result> done = task.get_future();
    bool interrupted = false;
    {
        pybind11::gil_scoped_release release;
        std::thread worker(std::move(task));
        while (done.wait_for(kSignalPoll) != std::future_status::ready) {
            pybind11::gil_scoped_acquire acquire;
            if (PyErr_CheckSignals() != 0) {
                interrupted = true;
                cancel.store(true);
                break;
            }
        }
        worker.join();
    }
    if (interrupted) throw pybind11::error_already_set();
    return done.get();
}

}  // namespace orbitograph::python

#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "model/sweep.h"

namespace orbitograph {

// What a sweep or a plane gives back: on Done the counts of every value
// (or pair) in order; otherwise nothing.
struct SweepOutcome {
    enum class Status { Done, Cancelled, OutOfMemory } status = Status::Cancelled;
    std::vector<ListCounts> counts;
};

// Runs one sweep or plane on a worker thread and hands the outcome, moved
// whole, to a callback on the thread that owns this object, through its
// event queue. At most one runs at a time. Destruction cancels a running
// one and waits for its thread; an outcome not yet delivered is dropped.
class SweepComputation : public QObject {
public:
    // The computation proper, ComputeSweep or ComputePlane with their
    // arguments bound; called on the worker thread.
    using Work = std::function<std::optional<std::vector<ListCounts>>(const ComputeControl&)>;
    using Callback = std::function<void(SweepOutcome&&)>;

    explicit SweepComputation(QObject* parent = nullptr) : QObject(parent) {}
    ~SweepComputation() override;

    // Starts unless one is running; throws std::system_error (and stays
    // idle) when no thread can be made. The callback runs once, later.
    bool Start(Work work, Callback onFinished);
    void Cancel();
    bool Running() const { return m_running; }
    // Fraction done, 0 to 1; never moves back within one computation.
    double Progress() const { return m_progress.load(std::memory_order_relaxed); }

private:
    void Deliver(SweepOutcome&& outcome);

    std::atomic<bool> m_cancel{false};
    std::atomic<double> m_progress{0.0};
    bool m_running = false;  // interface thread only
    Callback m_onFinished;
    std::jthread m_worker;
};

}  // namespace orbitograph

#include "app/sweep_computation.h"

#include <QMetaObject>
#include <memory>
#include <new>

#include "app/worker_control.h"

namespace orbitograph {

SweepComputation::~SweepComputation() {
    m_cancel.store(true);
    if (m_worker.joinable()) m_worker.join();
}

bool SweepComputation::Start(Work work, Callback onFinished) {
    if (m_running) return false;
    if (m_worker.joinable()) m_worker.join();
    m_cancel.store(false);
    m_progress.store(0.0);
    m_onFinished = std::move(onFinished);
    auto body = [this, work = std::move(work)] {
        auto outcome = std::make_shared<SweepOutcome>();
        try {
            if (auto counts = work(WorkerControl(m_cancel, m_progress)); counts && !m_cancel.load()) {
                outcome->counts = std::move(*counts);
                outcome->status = SweepOutcome::Status::Done;
            }
        } catch (const std::bad_alloc&) {
            outcome->counts.clear();
            outcome->status = SweepOutcome::Status::OutOfMemory;
        }
        // Queued to this object's thread; dropped if this object is gone.
        QMetaObject::invokeMethod(
            this, [this, outcome] { Deliver(std::move(*outcome)); }, Qt::QueuedConnection);
    };
    try {
        m_worker = std::jthread(std::move(body));
    } catch (...) {
        m_onFinished = nullptr;
        throw;
    }
    m_running = true;
    return true;
}

void SweepComputation::Cancel() {
    if (m_running) m_cancel.store(true);
}

void SweepComputation::Deliver(SweepOutcome&& outcome) {
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
    Callback callback = std::move(m_onFinished);
    m_onFinished = nullptr;
    if (callback) callback(std::move(outcome));
}

}  // namespace orbitograph

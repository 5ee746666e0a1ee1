#include "app/background_computation.h"

#include <stdexcept>

#include <QMetaObject>
#include <memory>
#include <new>
#include <utility>

namespace orbitograph {

namespace {

std::jthread StartJThread(std::function<void()> body) { return std::jthread(std::move(body)); }

}  // namespace

BackgroundComputation::BackgroundComputation(SpacesEngine engine, ThreadStarter startThread, QObject* parent)
    : QObject(parent),
      m_engine(std::move(engine)),
      m_startThread(startThread ? std::move(startThread) : ThreadStarter(&StartJThread)) {}

BackgroundComputation::~BackgroundComputation() {
    m_cancel.store(true);
    if (m_worker.joinable()) m_worker.join();
}

bool BackgroundComputation::Start(const ModelParams& params, std::int32_t originX, std::int32_t originY,
                                  Callback onFinished, bool withEnds) {
    if (m_running) return false;
    if (m_worker.joinable()) m_worker.join();
    m_cancel.store(false);
    m_progress.store(0.0);
    m_onFinished = std::move(onFinished);
    auto body = [this, params, originX, originY, withEnds] {
        auto outcome = std::make_shared<ComputationOutcome>();
        outcome->params = params;
        outcome->originX = originX;
        outcome->originY = originY;
        try {
            ComputeControl control;
            control.cancel = &m_cancel;
            // Workers report in any order; the bar only moves forward.
            control.progress = [this](double fraction) {
                double seen = m_progress.load(std::memory_order_relaxed);
                while (fraction > seen && !m_progress.compare_exchange_weak(seen, fraction, std::memory_order_relaxed)) {
                }
            };
            control.attractorEnds = withEnds;
            control.kindGrid = withEnds;
            std::optional<SpaceLists> lists = m_engine(params, originX, originY, control);
            if (lists && !m_cancel.load()) {
                outcome->report = BuildReport(params, ListCounts::Of(*lists));
                outcome->lists = std::move(*lists);
                outcome->status = ComputeStatus::Done;
            } else {
                outcome->status = ComputeStatus::Cancelled;
            }
        } catch (const std::bad_alloc&) {
            outcome->lists = SpaceLists{};
            outcome->status = ComputeStatus::OutOfMemory;
        } catch (const std::invalid_argument&) {
            outcome->status = ComputeStatus::Refused;
        }
        // Queued to this object's thread; dropped if this object is gone.
        QMetaObject::invokeMethod(
            this, [this, outcome] { Deliver(std::move(*outcome)); }, Qt::QueuedConnection);
    };
    try {
        m_worker = m_startThread(std::move(body));
    } catch (...) {
        m_onFinished = nullptr;
        throw;
    }
    m_running = true;
    return true;
}

void BackgroundComputation::Cancel() {
    if (m_running) m_cancel.store(true);
}

void BackgroundComputation::Deliver(ComputationOutcome&& outcome) {
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
    Callback callback = std::move(m_onFinished);
    m_onFinished = nullptr;
    if (callback) callback(std::move(outcome));
}

}  // namespace orbitograph

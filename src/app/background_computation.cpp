#include "app/background_computation.h"

#include <stdexcept>
#include <system_error>

#include <QMetaObject>
#include <memory>
#include <new>
#include <utility>

#include "app/worker_control.h"

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
    Launch(Order{params, originX, originY, std::move(onFinished), withEnds, m_generation + 1});
    return true;
}

std::uint64_t BackgroundComputation::Request(const ModelParams& params, std::int32_t originX, std::int32_t originY,
                                             Callback onFinished, bool withEnds) {
    Order order{params, originX, originY, std::move(onFinished), withEnds, m_generation + 1};
    if (!m_running) {
        Launch(std::move(order));
        return m_generation;
    }
    // The running computation's outcome will be dropped, and so is any
    // request that was waiting: only the newest is worth starting.
    m_cancel.store(true);
    m_onFinished = nullptr;
    m_generation = order.generation;
    m_waiting = std::move(order);
    return m_generation;
}

void BackgroundComputation::Launch(Order order) {
    if (m_worker.joinable()) m_worker.join();
    m_cancel.store(false);
    m_progress.store(0.0);
    auto body = [this, params = order.params, originX = order.originX, originY = order.originY,
                 withEnds = order.withEnds, generation = order.generation] {
        auto outcome = std::make_shared<ComputationOutcome>();
        outcome->params = params;
        outcome->originX = originX;
        outcome->originY = originY;
        outcome->generation = generation;
        try {
            ComputeControl control = WorkerControl(m_cancel, m_progress);
            control.attractorEnds = withEnds;
            control.kindGrid = withEnds;
            std::optional<SpaceLists> lists = m_engine(params, originX, originY, control);
            if (lists && !m_cancel.load()) {
                outcome->report = BuildReport(params, CountsOf(params, *lists));
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
    m_worker = m_startThread(std::move(body));  // may throw: then nothing changed
    m_generation = order.generation;
    m_onFinished = std::move(order.onFinished);
    m_running = true;
}

void BackgroundComputation::Cancel() {
    if (!m_running) return;
    m_cancel.store(true);
    // The newest request is answered, Cancelled, when the running thread ends.
    if (m_waiting) {
        m_onFinished = std::move(m_waiting->onFinished);
        m_waiting.reset();
    }
}

void BackgroundComputation::Deliver(ComputationOutcome&& outcome) {
    if (m_worker.joinable()) m_worker.join();
    m_running = false;
    Callback callback = std::move(m_onFinished);
    m_onFinished = nullptr;
    if (m_waiting) {
        // This outcome was superseded; its callback is already gone.
        Order order = std::move(*m_waiting);
        m_waiting.reset();
        const std::uint64_t generation = order.generation;
        Callback onFinished = order.onFinished;
        try {
            Launch(std::move(order));
        } catch (const std::system_error&) {
            ComputationOutcome failed;
            failed.generation = generation;
            failed.notStarted = true;
            if (onFinished) onFinished(std::move(failed));
        }
        return;
    }
    // Only the newest request's outcome may be Done (a Cancel that dropped a
    // waiting request hands that request's callback this older outcome).
    if (outcome.generation != m_generation) {
        outcome.status = ComputeStatus::Cancelled;
        outcome.lists = SpaceLists{};
        outcome.report.clear();
        outcome.generation = m_generation;
    }
    if (callback) callback(std::move(outcome));
}

}  // namespace orbitograph

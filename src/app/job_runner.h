#pragma once

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "model/compute_spaces.h"

namespace orbitograph {

// Starts a thread running the body; throws std::system_error when no thread
// can be made. std::jthread's own constructor, or a stand-in in tests.
using ThreadStarter = std::function<std::jthread(std::function<void()> body)>;
ThreadStarter DefaultThreadStarter();

// Raises progress to fraction unless it is already further: a bar fed from
// it only moves forward although the threads of a job report in any order.
void RaiseProgress(std::atomic<double>& progress, double fraction);

// How a delivery stands to its request.
enum class JobEnd {
    Partial,     // a result on the way; another delivery follows
    Done,        // the job's last result
    Cancelled,   // cancelled (or its job superseded while it ran): no result
    NotStarted,  // no thread could be made for it: no result
    Failed,      // the job threw: `error` holds what
};

template <class Result>
struct JobDelivery {
    std::uint64_t generation = 0;  // the request's, numbered from 1 in the order made
    JobEnd end = JobEnd::Done;
    Result result{};  // for Partial and Done; default otherwise
    std::exception_ptr error;
};

// What a job sees of its run, on its worker thread.
template <class Result>
class JobContext;

// Runs jobs on a worker thread, one at a time, and hands what each gives (a
// default-constructible, movable Result), moved whole, to its request's
// callback on the thread that owns the runner (the interface thread),
// through its event queue.
//
// Every request gets the next generation number. A request made while a job
// runs supersedes it: the running job is cancelled and its deliveries are
// dropped with its callback, and the new one waits to start until that
// thread has ended. At most one request waits, the newest, so the last
// delivery handed on is always that of the last request: its callback gets
// any Partial deliveries in order, then exactly one of the others. A request
// cancelled while its job runs gets Cancelled whatever the job returned.
// Destruction cancels the running job and waits for its thread; deliveries
// not yet made are then dropped.
template <class Result>
class JobRunner : public QObject {
public:
    using Delivery = JobDelivery<Result>;
    using Context = JobContext<Result>;
    using Callback = std::function<void(Delivery&&)>;
    using Job = std::function<Result(Context&)>;

    // startThread defaults to std::jthread's constructor.
    explicit JobRunner(ThreadStarter startThread = {}, QObject* parent = nullptr)
        : QObject(parent), m_startThread(startThread ? std::move(startThread) : DefaultThreadStarter()) {}
    ~JobRunner() override {
        m_cancel.store(true);
        if (m_worker.joinable()) m_worker.join();
    }
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Runs the job, or lets it wait as above; returns its generation. Throws
    // std::system_error, with nothing changed, only when nothing runs and no
    // thread can be made; a waiting request whose thread cannot be made is
    // answered NotStarted.
    std::uint64_t Request(Job job, Callback onResult) {
        Order order{std::move(job), std::move(onResult), m_generation + 1};
        if (!m_running) {
            Launch(std::move(order));
            return m_generation;
        }
        m_cancel.store(true);
        m_onResult = nullptr;
        m_generation = order.generation;
        m_waiting = std::move(order);
        return m_generation;
    }
    // Cancels the running job and drops a waiting request; the newest
    // request is then answered Cancelled when that thread has ended.
    void Cancel() {
        if (!m_running) return;
        m_cancel.store(true);
        if (m_waiting) {
            m_onResult = std::move(m_waiting->onResult);
            m_waiting.reset();
        }
    }
    // The newest request's generation, 0 before the first.
    std::uint64_t Generation() const { return m_generation; }
    // From a request's start until its last delivery has been handed on.
    bool Running() const { return m_running; }
    // Fraction of the running job done, 0 to 1, as the job last raised it.
    double Progress() const { return m_progress.load(std::memory_order_relaxed); }

private:
    friend class JobContext<Result>;
    struct Order {
        Job job;
        Callback onResult;
        std::uint64_t generation = 0;
    };

    // Starts the order's thread; throws std::system_error, leaving this idle.
    void Launch(Order order) {
        if (m_worker.joinable()) m_worker.join();
        m_cancel.store(false);
        m_progress.store(0.0);
        m_worker = m_startThread([this, job = std::move(order.job), generation = order.generation] {
            auto delivery = std::make_shared<Delivery>();
            delivery->generation = generation;
            try {
                JobContext<Result> context(*this, generation);
                delivery->result = job(context);
            } catch (...) {
                delivery->end = JobEnd::Failed;
                delivery->error = std::current_exception();
            }
            // Queued to this object's thread; dropped if this object is gone.
            QMetaObject::invokeMethod(
                this, [this, delivery] { Finish(std::move(*delivery)); }, Qt::QueuedConnection);
        });
        m_generation = order.generation;
        m_onResult = std::move(order.onResult);
        m_running = true;
    }

    // A Partial delivery, handed on while its request is the newest and
    // not cancelled.
    void Pass(Delivery&& delivery) {
        if (m_running && delivery.generation == m_generation && !m_cancel.load() && m_onResult)
            m_onResult(std::move(delivery));
    }

    // The running job's last delivery; its thread has ended or is ending.
    void Finish(Delivery&& delivery) {
        if (m_worker.joinable()) m_worker.join();
        m_running = false;
        Callback callback = std::exchange(m_onResult, nullptr);
        if (m_waiting) {
            // This delivery was superseded; its callback is already gone.
            Order order = std::move(*m_waiting);
            m_waiting.reset();
            const Delivery notStarted{order.generation, JobEnd::NotStarted, {}, {}};
            Callback onResult = order.onResult;
            try {
                Launch(std::move(order));
            } catch (...) {  // no thread, or no memory to make one
                if (onResult) onResult(Delivery(notStarted));
            }
            return;
        }
        // After a Cancel that dropped a waiting request, this older job's
        // delivery answers that request.
        if (delivery.generation != m_generation || m_cancel.load())
            delivery = Delivery{m_generation, JobEnd::Cancelled, {}, {}};
        if (callback) callback(std::move(delivery));
    }

    ThreadStarter m_startThread;
    std::atomic<bool> m_cancel{false};
    std::atomic<double> m_progress{0.0};
    bool m_running = false;  // interface thread only; true only while a thread runs
    Callback m_onResult;     // null once superseded
    std::uint64_t m_generation = 0;
    std::optional<Order> m_waiting;  // only while a thread runs
    std::jthread m_worker;
};

template <class Result>
class JobContext {
public:
    JobContext(JobRunner<Result>& runner, std::uint64_t generation) : m_runner(runner), m_generation(generation) {}

    std::uint64_t Generation() const { return m_generation; }
    const std::atomic<bool>& CancelFlag() const { return m_runner.m_cancel; }
    bool Cancelled() const { return m_runner.m_cancel.load(std::memory_order_relaxed); }
    void RaiseProgress(double fraction) { orbitograph::RaiseProgress(m_runner.m_progress, fraction); }
    // The cancel flag and the progress, as the model's computations take
    // them; valid while the runner lives.
    ComputeControl Control() const {
        ComputeControl control;
        control.cancel = &m_runner.m_cancel;
        control.progress = [&progress = m_runner.m_progress](double f) { orbitograph::RaiseProgress(progress, f); };
        return control;
    }
    // Hands a result on as Partial, unless the request is cancelled or
    // superseded by the time it arrives.
    void Deliver(Result partial) {
        auto delivery = std::make_shared<JobDelivery<Result>>();
        *delivery = {m_generation, JobEnd::Partial, std::move(partial), {}};
        JobRunner<Result>* runner = &m_runner;
        QMetaObject::invokeMethod(
            runner, [runner, delivery] { runner->Pass(std::move(*delivery)); }, Qt::QueuedConnection);
    }

private:
    JobRunner<Result>& m_runner;
    const std::uint64_t m_generation;
};

}  // namespace orbitograph

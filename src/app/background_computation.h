#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "model/compute_spaces.h"
#include "model/fractal_model.h"
#include "model/model_params.h"
#include "model/point_list.h"
#include "model/report.h"

namespace orbitograph {

// What one computation gives back: on Done the lists and the report of
// exactly these parameters and this origin; otherwise nothing.
struct ComputationOutcome {
    ComputeStatus status = ComputeStatus::Cancelled;
    // The request this answers; requests are numbered from 1 in the order made.
    std::uint64_t generation = 0;
    // Cancelled because no thread could be made for it.
    bool notStarted = false;
    ModelParams params;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    SpaceLists lists;
    ReportLines report;
};

// The engine a computation runs: ComputeSpaces, or a stand-in in tests.
using SpacesEngine =
    std::function<std::optional<SpaceLists>(const ModelParams&, std::int32_t, std::int32_t, const ComputeControl&)>;

// Starts a thread running the body; throws std::system_error when no thread
// can be made. std::jthread's own constructor, or a stand-in in tests.
using ThreadStarter = std::function<std::jthread(std::function<void()> body)>;

// Runs one computation of both spaces and the report on a worker thread and
// hands the outcome to a callback on the thread that owns this object (the
// interface thread), through its event queue. At most one runs at a time.
// Every request gets the next generation number; a request made while one
// runs supersedes it: the running one is cancelled, its outcome dropped with
// its callback, and the new one waits to start until that thread has ended.
// At most one request waits, the newest, so the last outcome handed on is
// always that of the last request. Destruction cancels a running
// computation and waits for its thread; an outcome not yet delivered is then
// dropped.
class BackgroundComputation : public QObject {
public:
    using Callback = std::function<void(ComputationOutcome&&)>;

    // startThread defaults to std::jthread's constructor.
    explicit BackgroundComputation(SpacesEngine engine, ThreadStarter startThread = {}, QObject* parent = nullptr);
    ~BackgroundComputation() override;

    // Starts unless one is running; the parameters must pass CheckParameters
    // and the origin OriginAcceptable. The callback runs once, later. When
    // no thread can be made, throws std::system_error and stays idle, so a
    // later Start can succeed. withEnds asks for the attractors' exact end
    // points and the kind grid as well (what the fitted display reads).
    bool Start(const ModelParams& params, std::int32_t originX, std::int32_t originY, Callback onFinished,
               bool withEnds = false);
    // Like Start, but never refused for a running computation: supersedes it
    // (see above) and returns the new request's generation. Throws
    // std::system_error, with nothing changed, only when nothing runs and no
    // thread can be made; a waiting request whose thread cannot be made gets
    // a Cancelled outcome marked notStarted.
    std::uint64_t Request(const ModelParams& params, std::int32_t originX, std::int32_t originY, Callback onFinished,
                          bool withEnds = false);
    // Asks the running computation to stop and drops a waiting request; the
    // callback of the newest request then gets a Cancelled outcome.
    void Cancel();
    // The newest request's generation, 0 before the first.
    std::uint64_t Generation() const { return m_generation; }
    bool Running() const { return m_running; }
    // Fraction done, 0 to 1, as the engine last reported it.
    double Progress() const { return m_progress.load(std::memory_order_relaxed); }

private:
    struct Order {
        ModelParams params;
        std::int32_t originX = 0;
        std::int32_t originY = 0;
        Callback onFinished;
        bool withEnds = false;
        std::uint64_t generation = 0;
    };
    // Starts the order's thread; throws std::system_error, leaving this idle.
    void Launch(Order order);
    void Deliver(ComputationOutcome&& outcome);

    SpacesEngine m_engine;
    ThreadStarter m_startThread;
    std::atomic<bool> m_cancel{false};
    std::atomic<double> m_progress{0.0};
    bool m_running = false;  // interface thread only; true only while a thread runs
    Callback m_onFinished;   // null once superseded
    std::uint64_t m_generation = 0;
    std::optional<Order> m_waiting;  // only while a thread runs
    std::jthread m_worker;
};

}  // namespace orbitograph

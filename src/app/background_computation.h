#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>

#include "model/fractal_model.h"
#include "model/model_params.h"
#include "model/point_list.h"
#include "model/report.h"
#include "model/spaces.h"

namespace orbitograph {

// What one computation gives back: on Done the lists and the report of
// exactly these parameters and this origin; otherwise nothing.
struct ComputationOutcome {
    ComputeStatus status = ComputeStatus::Cancelled;
    ModelParams params;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    SpaceLists lists;
    ReportLines report;
};

// The engine a computation runs: ComputeSpaces, or a stand-in in tests.
using SpacesEngine = std::function<std::optional<SpaceLists>(const ModelParams&, std::int32_t, std::int32_t,
                                                             const ComputeControl&)>;

// Starts a thread running the body; throws std::system_error when no thread
// can be made. std::jthread's own constructor, or a stand-in in tests.
using ThreadStarter = std::function<std::jthread(std::function<void()> body)>;

// Runs one computation of both spaces and the report on a worker thread and
// hands the outcome to a callback on the thread that owns this object (the
// interface thread), through its event queue. At most one runs at a time.
// Destruction cancels a running computation and waits for its thread; an
// outcome not yet delivered is then dropped.
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
    // Asks the running computation to stop; its outcome is then Cancelled.
    void Cancel();
    bool Running() const { return m_running; }
    // Fraction done, 0 to 1, as the engine last reported it.
    double Progress() const { return m_progress.load(std::memory_order_relaxed); }

private:
    void Deliver(ComputationOutcome&& outcome);

    SpacesEngine m_engine;
    ThreadStarter m_startThread;
    std::atomic<bool> m_cancel{false};
    std::atomic<double> m_progress{0.0};
    bool m_running = false;  // interface thread only; true only while a thread runs
    Callback m_onFinished;
    std::jthread m_worker;
};

}  // namespace orbitograph

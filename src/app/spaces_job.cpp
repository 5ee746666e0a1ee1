#include "app/spaces_job.h"

#include <chrono>
#include <cmath>
#include <new>
#include <stdexcept>
#include <utility>

#include "request/metrics_request.h"

namespace orbitograph {

SpacesRunner::Job SpacesJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX, std::int32_t originY,
                            const SpacesExtras& extras) {
    return [engine = std::move(engine), params, originX, originY, extras](SpacesRunner::Context& job) {
        ComputationOutcome outcome;
        outcome.params = params;
        outcome.originX = originX;
        outcome.originY = originY;
        outcome.generation = job.Generation();
        ComputeControl control = job.Control();
        control.attractorEnds = extras.withEnds;
        control.analysis = extras.analysis;
        control.attractorDelta = extras.delta;
        const bool metrics = extras.analysis && extras.metrics;
        control.kindGrid = extras.withEnds || metrics;
        const auto start = std::chrono::steady_clock::now();
        std::optional<SpaceLists> lists = engine(params, originX, originY, control);
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (lists && metrics && !job.Cancelled()) {
            MetricsRequest kinds;
            outcome.kindMetrics = MetricsOfGrid(params, *lists, kinds);
            if (!extras.withEnds) KindGrid().swap(lists->kinds);
            MetricsRequest attractors;
            attractors.of = MetricsOf::Attractor;
            outcome.attractorMetrics = MetricsOfGrid(params, *lists, attractors);
        }
        if (lists) {
            outcome.report = BuildReport(params, CountsOf(params, *lists));
            outcome.lists = std::move(*lists);
            outcome.status = ComputeStatus::Done;
        }
        return outcome;
    };
}

int FirstCoarseLevel(std::int64_t columns, std::int64_t rows, double secondsPerPoint, double budgetSeconds,
                     std::int64_t minSide) {
    // Each level halves both sides (within one point), so it costs a
    // quarter of the one below it.
    constexpr int kMostLevels = 12;
    double cost = static_cast<double>(columns) * static_cast<double>(rows) * secondsPerPoint;
    int level = 0;
    while (!(cost <= budgetSeconds) && level < kMostLevels && (columns >> (level + 1)) >= minSide &&
           (rows >> (level + 1)) >= minSide) {
        ++level;
        cost /= 4.0;
    }
    return level;
}

ModelParams CoarseParams(const ModelParams& params, int level) {
    ModelParams coarse = params;
    coarse.step = std::ldexp(params.step, level);
    return coarse;
}

SpacesRunner::Job RefiningSpacesJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX,
                                    std::int32_t originY, const SpacesExtras& extras, int firstLevel) {
    SpacesExtras exactExtras = extras;
    exactExtras.withEnds = true;
    SpacesRunner::Job exact = SpacesJob(engine, params, originX, originY, exactExtras);
    return [engine = std::move(engine), exact = std::move(exact), params, originX, originY, extras,
            firstLevel](SpacesRunner::Context& job) {
        for (int level = firstLevel; level >= 1 && !job.Cancelled(); --level) {
            ComputationOutcome preview;
            preview.params = CoarseParams(params, level);
            preview.originX = originX;
            preview.originY = originY;
            preview.generation = job.Generation();
            preview.coarseLevel = level;
            // The progress is the exact grid's alone.
            ComputeControl control;
            control.cancel = &job.CancelFlag();
            control.attractorEnds = control.kindGrid = true;
            // A colouring by the analysis is drawn on the previews too.
            control.analysis = extras.analysis;
            control.attractorDelta = extras.delta;
            const auto start = std::chrono::steady_clock::now();
            std::optional<SpaceLists> lists = engine(preview.params, originX, originY, control);
            preview.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!lists) break;
            preview.lists = std::move(*lists);
            preview.status = ComputeStatus::Done;
            job.Deliver(std::move(preview));
        }
        return exact(job);
    };
}

ComputationOutcome OutcomeOf(SpacesRunner::Delivery&& delivery) {
    if (delivery.end == JobEnd::Done || delivery.end == JobEnd::Partial) return std::move(delivery.result);
    ComputationOutcome outcome;
    outcome.generation = delivery.generation;
    outcome.notStarted = delivery.end == JobEnd::NotStarted;
    if (delivery.end == JobEnd::Failed) {
        // The engine refuses unchecked parameters; its only other failure is
        // a shortage of memory.
        try {
            std::rethrow_exception(delivery.error);
        } catch (const std::invalid_argument&) {
            outcome.status = ComputeStatus::Refused;
        } catch (...) {
            outcome.status = ComputeStatus::OutOfMemory;
        }
    }
    return outcome;
}

}  // namespace orbitograph

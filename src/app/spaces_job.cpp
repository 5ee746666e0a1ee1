#include "app/spaces_job.h"

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
        std::optional<SpaceLists> lists = engine(params, originX, originY, control);
        if (lists && metrics && !job.Cancelled()) {
            MetricsRequest kinds;
            outcome.kindMetrics = MetricsOfGrid(params, *lists, kinds);
            if (!extras.withEnds) std::vector<EndKind>().swap(lists->kinds);
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

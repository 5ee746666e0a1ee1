#include "app/spaces_job.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace orbitograph {

SpacesRunner::Job SpacesJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX, std::int32_t originY,
                            bool withEnds) {
    return [engine = std::move(engine), params, originX, originY, withEnds](SpacesRunner::Context& job) {
        ComputationOutcome outcome;
        outcome.params = params;
        outcome.originX = originX;
        outcome.originY = originY;
        outcome.generation = job.Generation();
        ComputeControl control = job.Control();
        control.attractorEnds = withEnds;
        control.kindGrid = withEnds;
        std::optional<SpaceLists> lists = engine(params, originX, originY, control);
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

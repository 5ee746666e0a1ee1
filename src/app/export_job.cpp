#include "app/export_job.h"

#include <new>
#include <optional>
#include <utility>

#include "data/grid_export.h"

namespace orbitograph {

ExportRunner::Job NpzExportJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX,
                               std::int32_t originY, std::filesystem::path path, std::string version) {
    return [engine = std::move(engine), params, originX, originY, path = std::move(path),
            version = std::move(version)](ExportRunner::Context& job) {
        ExportOutcome outcome;
        ComputeControl control;
        control.cancel = &job.CancelFlag();
        control.progress = [&job](double f) { job.RaiseProgress(f * kExportComputeShare); };
        control.kindGrid = control.startPointEnds = true;
        std::optional<SpaceLists> grid;
        try {
            grid = engine(params, originX, originY, control);
        } catch (const std::bad_alloc&) {
            outcome.noMemory = true;
            return outcome;
        }
        if (!grid) {
            outcome.saved.failure = SaveFailure::Stopped;
            return outcome;
        }
        const GridExport e{params, originX, originY, &*grid, version};
        try {
            outcome.saved = WriteGridNpz(path, e, outcome.why, &job.CancelFlag());
        } catch (const std::bad_alloc&) {
            outcome.noMemory = true;
        }
        job.RaiseProgress(1.0);
        return outcome;
    };
}

}  // namespace orbitograph

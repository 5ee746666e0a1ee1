#include "cli/export_command.h"

#include "data/grid_export.h"
#include "program_version.h"

namespace orbitograph {

bool ExportNeedsGrid(const RenderOptions& o) { return o.exportFile.ends_with(".npz"); }

FileJob ExportJob(const RenderOptions& o, const FractalModel& model) {
    const PixelPoint origin = o.request.Origin();
    const GridExport e{o.request.params, origin.x, origin.y, &model, kProgramVersion, o.request.attractorDelta};
    return {o.exportFile, [e, npz = ExportNeedsGrid(o), path = std::filesystem::path(o.exportFile)](
                              const std::atomic<bool>* stop, FileBatch* batch, std::string& why) {
                return npz ? WriteGridNpz(path, e, why, stop, batch) : WriteGridCsv(path, e, stop, batch);
            }};
}

}  // namespace orbitograph

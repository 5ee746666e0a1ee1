#include "cli/export_command.h"

#include <new>

#include "cli/command_status.h"
#include "data/grid_export.h"
#include "program_version.h"

namespace orbitograph {

bool ExportNeedsGrid(const RenderOptions& o) { return o.exportFile.ends_with(".npz"); }

int RunExport(const RenderOptions& o, const FractalModel& model, InterruptHandler& interrupt) {
    const PixelPoint origin = o.request.Origin();
    const GridExport e{o.request.params, origin.x, origin.y, &model, kProgramVersion};
    const std::filesystem::path path(o.exportFile);
    try {
        return WriteFileInterruptibly(o.exportFile, interrupt, [&](const std::atomic<bool>* stop, std::string& why) {
            return ExportNeedsGrid(o) ? WriteGridNpz(path, e, why, stop) : WriteGridCsv(path, e);
        });
    } catch (const std::bad_alloc&) {
        Complain("not enough memory to export this grid; nothing written");
        return kFailed;
    }
}

}  // namespace orbitograph

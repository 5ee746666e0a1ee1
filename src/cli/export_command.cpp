#include "cli/export_command.h"

#include <new>

#include "data/grid_export.h"
#include "program_version.h"

namespace orbitograph {

namespace {

bool EndsWith(const std::string& s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool ExportNeedsGrid(const RenderOptions& o) { return EndsWith(o.exportFile, ".npz"); }

bool WriteExport(const RenderOptions& o, const FractalModel& model, const std::atomic<bool>* stop, bool& stopped,
                 std::string& error) {
    const GridExport e{o.params, o.originX, o.originY, &model, kProgramVersion};
    std::string why;
    SaveResult saved;
    try {
        saved = ExportNeedsGrid(o) ? WriteGridNpz(std::filesystem::path(o.exportFile), e, why, stop)
                                   : WriteGridCsv(std::filesystem::path(o.exportFile), e);
    } catch (const std::bad_alloc&) {
        error = "not enough memory to export this grid; nothing written";
        return false;
    }
    stopped = saved.failure == SaveFailure::Stopped;
    if (saved.Ok()) return true;
    error = "cannot write " + Quoted(o.exportFile) + ": " + (why.empty() ? SaveFailureText(saved) : why);
    return false;
}

}  // namespace orbitograph

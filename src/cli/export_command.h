#pragma once

#include "cli/interrupt_handler.h"
#include "cli/render_options.h"
#include "model/fractal_model.h"

namespace orbitograph {

// True when --export names a NumPy archive, which needs the kinds and the
// end points of every start point from the computation.
bool ExportNeedsGrid(const RenderOptions& o);

// Writes what --export names, atomically: a .npz archive of the grid or a
// .csv row of the counts and parameters. The exit status, as
// WriteFileInterruptibly gives it (kFailed, too, when memory runs out).
int RunExport(const RenderOptions& o, const FractalModel& model, InterruptHandler& interrupt);

}  // namespace orbitograph

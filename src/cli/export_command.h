#pragma once

#include "cli/command_status.h"
#include "cli/render_options.h"
#include "model/fractal_model.h"

namespace orbitograph {

// True when --export names a NumPy archive, which needs the kinds and the
// end points of every start point from the computation.
bool ExportNeedsGrid(const RenderOptions& o);

// The writing of what --export names, for WriteFilesInterruptibly: a .npz
// archive of the grid or a .csv row of the counts and parameters. model
// must outlive the job.
FileJob ExportJob(const RenderOptions& o, const FractalModel& model);

}  // namespace orbitograph

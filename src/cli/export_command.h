#pragma once

#include <atomic>
#include <string>

#include "cli/render_options.h"
#include "model/fractal_model.h"

namespace orbitograph {

// True when --export names a NumPy archive, which needs the kinds and the
// end points of every start point from the computation.
bool ExportNeedsGrid(const RenderOptions& o);

// Writes what --export names, atomically: a .npz archive of the grid or a
// .csv row of the counts and parameters. Returns false with error set to one
// line when writing failed or stop was raised (stopped set then).
bool WriteExport(const RenderOptions& o, const FractalModel& model, const std::atomic<bool>* stop, bool& stopped,
                 std::string& error);

}  // namespace orbitograph

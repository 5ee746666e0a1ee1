#pragma once

#include <functional>
#include <string>

#include "cli/interrupt_handler.h"
#include "cli/render_options.h"
#include "model/fractal_model.h"

namespace orbitograph {

// Draws the frame of a computed model, its parameters p, as the command's
// picture options say, and writes it atomically under file; returns the
// command's exit status (0 when written), having reported any failure and
// with it `written` (what earlier frames left in place, when not empty).
using FrameWriter =
    std::function<int(FractalModel& model, const ModelParams& p, const std::string& file, const std::string& written)>;

// --sweep and --plane: the counts of every value (or pair) in one parallel
// computation, printed one line each (JSON, or CSV with a header); then for
// a sweep one frame per value (-o PATTERN, frame i is value i from 0) and
// the chart (--plot), for a plane its picture (-o). Needs
// o.sweeps.Active(); a QGuiApplication when anything is drawn. Returns the
// exit status.
int RunSweepCommand(const RenderOptions& o, InterruptHandler& interrupt, const FrameWriter& writeFrame);

}  // namespace orbitograph

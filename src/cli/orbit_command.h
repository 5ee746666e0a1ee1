#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/interrupt_handler.h"
#include "cli/render_options.h"
#include "model/probe.h"

namespace orbitograph {

// The orbit as CSV: the header line, then one line per row k (the state after
// k steps, from the start point at k = 0), every number with 17 significant
// digits so that it reads back as the same double ("inf", "-inf", "nan" for
// the values that are not finite). P, Q, Cx and Cy are empty where no step
// was made: at k = 0 and on a frozen step. frozen is 1 or 0.
inline constexpr const char* kOrbitCsvHeader = "step,x,y,P,Q,Cx,Cy,frozen";
std::string OrbitCsvNumber(double v);
std::string OrbitCsvLine(const ProbeRow& row);

// Writes the header and at most `limit` rows (-1: all of them) of the orbit
// of (x0, y0) to out, ending at the first failed write; true when every
// line was written.
bool WriteOrbitCsv(std::FILE* out, const ModelParams& p, double x0, double y0, std::int64_t limit);

// The --orbit command on standard output; returns the exit status (0, or 1
// when standard output cannot be written). A signal ends it saying that
// rows were printed.
int RunOrbitCommand(const RenderOptions& o, InterruptHandler& interrupt);

}  // namespace orbitograph

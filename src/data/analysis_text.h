#pragma once

#include <string>

#include "model/grid_analysis.h"

namespace orbitograph {

// The analysis's catalogue and counts as one JSON object, the --analysis
// line and the archive's "analysis":
//   {"attractors": [{"id": 1, "period": 2, "x": X, "y": Y, "basin": B}, ...],
//    "escaped": E, "unsettled": U}
// on one line, attractors by id, x and y in their shortest exact form (a
// state of an attractor is finite; -0 keeps its sign).
std::string AnalysisJson(const GridAnalysis& a);

// A merge distance as JSON: its shortest exact form, Infinity for +inf (as
// Python's json module reads and writes it).
std::string DeltaJson(double delta);

}  // namespace orbitograph

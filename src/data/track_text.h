#pragma once

// Texts of the analysis along a sweep: the keys each line of a sweep gains,
// and the rows of the attractors' tracks.

#include <string>
#include <string_view>

#include "model/continuation.h"
#include "model/label_metrics.h"

namespace orbitograph {

// What a sweep's line gains: "cycles" (when cycles >= 0) and the metrics'
// keys (when metrics is not null), in the order of MetricsJson, the reals in
// their shortest exact form. JSON: `, "cycles": K, "Sb": ...` with "f" an
// object and NaN as null; CSV: `,K,Sb,...` with one column f_K per distance
// and NaN as nan. The header's names follow the same choice.
std::string SetJsonKeys(std::int64_t cycles, const LabelMetrics* metrics);
std::string SetCsvFields(std::int64_t cycles, const LabelMetrics* metrics);
std::string SetCsvHeader(bool cycles, const LabelMetrics* metrics);

// One point of a track as a line: the swept parameter's value (valueText),
// then track, period, x, y, share.
//   JSON: {"a": 0.5, "track": 1, "period": 2, "x": X, "y": Y, "share": S}
//   CSV:  a,track,period,x,y,share (TrackCsvHeader) and 0.5,1,2,X,Y,S
std::string TrackJsonLine(std::string_view param, const std::string& valueText, const TrackPoint& t);
std::string TrackCsvHeader(std::string_view param);
std::string TrackCsvLine(const std::string& valueText, const TrackPoint& t);

}  // namespace orbitograph

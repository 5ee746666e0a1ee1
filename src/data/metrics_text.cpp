#include "data/metrics_text.h"

#include <cmath>

#include "model/number_text.h"

namespace orbitograph {

namespace {

std::string Real(double v) { return std::isfinite(v) ? FormatShortest(v) : "null"; }

}  // namespace

std::string MetricsJson(const LabelMetrics& m) {
    std::string f;
    for (const DistanceShare& s : m.f) f += (f.empty() ? "\"" : ", \"") + FormatInt(s.k) + "\": " + Real(s.f);
    return "{\"Sb\": " + Real(m.sb) + ", \"Sbb\": " + Real(m.sbb) +
           ", \"boundary_boxes\": " + FormatInt(m.boundaryBoxes) + ", \"boxes\": " + FormatInt(m.boxes) + ", \"f\": {" +
           f + "}, \"alpha\": " + Real(m.alpha) + "}";
}

}  // namespace orbitograph

#include "data/analysis_text.h"

#include <cmath>

#include "model/number_text.h"

namespace orbitograph {

std::string AnalysisJson(const GridAnalysis& a) {
    std::string line = "{\"attractors\": [";
    for (const AttractorEntry& e : a.attractors) {
        if (e.id != 1) line += ", ";
        line += "{\"id\": " + FormatInt(e.id) + ", \"period\": " + FormatInt(e.period) +
                ", \"x\": " + FormatShortest(e.x) + ", \"y\": " + FormatShortest(e.y) +
                ", \"basin\": " + FormatInt(e.basin) + "}";
    }
    return line + "], \"escaped\": " + FormatInt(a.escaped) + ", \"unsettled\": " + FormatInt(a.unsettled) + "}";
}

std::string DeltaJson(double delta) { return std::isinf(delta) ? "Infinity" : FormatShortest(delta); }

}  // namespace orbitograph

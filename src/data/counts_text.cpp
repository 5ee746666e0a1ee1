#include "data/counts_text.h"

namespace orbitograph {

std::array<std::int64_t, std::size(kCountKeys)> CountValues(const ListCounts& c) {
    return {c.startPoints, c.attractors, c.infinity, c.zero, c.t, c.o, c.m, c.h};
}

std::string CountsJson(const ListCounts& c) {
    const auto values = CountValues(c);
    std::string line = "{";
    for (std::size_t k = 0; k < values.size(); ++k)
        line += (k == 0 ? "\"" : ", \"") + std::string(kCountKeys[k]) + "\": " + std::to_string(values[k]);
    return line + "}";
}

}  // namespace orbitograph

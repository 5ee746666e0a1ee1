#pragma once

// Attractors followed across the values of a swept parameter.
//
// Definitions. For value i the catalogue lists attractors (grid_analysis.h)
// each with a period p and a smallest state (x, y). Its cycle states are
// s_0 = (x, y), s_{k+1} = MapStep(s_k) with the map at value i, k < p - 1:
// p states. The distance between two attractors is the smallest max-norm
// distance max(|x - x'|, |y - y'|) between a cycle state of one and one of
// the other (doubles, each difference rounded once).
// From value i to value i + 1, every pair (a at i, b at i + 1) whose
// distance is below the tolerance is a candidate; candidates are taken
// nearest first (ties by a's id, then b's id), each attractor at most once:
// b then continues a's track. An attractor at i + 1 left over starts a new
// track; one at i left over ends its track. Tracks are numbered 1, 2, ... in
// the order they start (at one value, in the order of the attractors' ids).

#include <cstdint>
#include <vector>

#include "model/grid_analysis.h"
#include "model/orbit.h"

namespace orbitograph {

inline constexpr double kDefaultContinueTolerance = 0.05;

// The catalogue of one value of the sweep.
struct CatalogueAt {
    ModelParams params;                      // the parameters of that value
    std::vector<AttractorEntry> attractors;  // by id
    std::int64_t startPoints = 0;
};

// One attractor on one track: the value's index, the track's number, the
// attractor's id, period and smallest state, and its basin's share of the
// start points (basin / startPoints, 0 for an empty grid).
struct TrackPoint {
    std::int32_t value = 0;
    std::int32_t track = 0;
    std::int32_t attractor = 0;
    std::int32_t period = 0;
    double x = 0.0;
    double y = 0.0;
    double share = 0.0;
    friend bool operator==(const TrackPoint&, const TrackPoint&) = default;
};

// The smallest max-norm distance between a state of one set and one of the
// other; +infinity when either is empty.
double CycleDistance(const std::vector<State>& a, const std::vector<State>& b);

// The tracks of the catalogues, one point per (value, attractor), ordered by
// value and, within a value, by track. The tolerance must be a number >= 0
// (+infinity continues whatever is nearest); std::invalid_argument
// otherwise.
std::vector<TrackPoint> ContinueAttractors(const std::vector<CatalogueAt>& catalogues, double tolerance);

}  // namespace orbitograph

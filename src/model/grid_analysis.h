#pragma once

// What every orbit of a grid does within the steps the model makes, and the
// attractors its orbits settle on.
//
// Definitions. For a start point, s_0 ... s_T are its states after 0 ... T
// steps of the model's own iteration (IterateOrbit's, guard included), where
// T = iterations + 1, or T = 0 (no step) when iterations is negative.
//  - exit step: the first k with s_k outside [-2, 2] x [-2, 2] (NaN is
//    outside); -1 when there is none.
//  - period p and cycle start k: the smallest p >= 1 for which some k has
//    s_{k+p} equal to s_k bit for bit (so +0 and -0 differ, and so do NaNs of
//    other payloads) with k + p <= T, and the smallest such k; 0 and -1 when
//    there is none. The orbit repeats s_k ... s_{k+p-1} from step k on: its
//    cycle.
//  - attractor cycle: a cycle whose p states all lie inside the square.
//  - attractor: a class of attractor cycles, two cycles being in one class
//    when a state (x, y) of one and a state (x', y') of the other have
//    |x - x'| <= delta and |y - y'| <= delta (differences of doubles, rounded),
//    taken transitively.
//  - state order: by x, then by y, compared as doubles; of two states equal as
//    doubles (they differ in the sign of a zero) the one whose x, and then
//    whose y, is -0 comes first. An attractor's smallest state is the first
//    of the states of its cycles; attractors are numbered 1 ... K in the order
//    of their smallest states.
//  - a start point's attractor: the number of the attractor its cycle belongs
//    to; 0 when it has no cycle or one with a state outside the square.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/list_storage.h"
#include "model/model_params.h"

namespace orbitograph {

// Attractor cycles closer than this (as above) make one attractor.
inline constexpr double kDefaultAttractorDelta = 1e-9;

// Largest grid the analysis accepts: it keeps 16 bytes per start point (the
// four columns of GridAnalysis) besides the lists, so with them a grid at
// this limit takes about 1.6 GB, the lists' own bound at kMaxStartPoints.
inline constexpr std::int64_t kMaxAnalysisStartPoints = 50'000'000;

// One attractor of the catalogue.
struct AttractorEntry {
    std::int32_t id = 0;      // 1 ... K
    std::int32_t period = 0;  // the smallest period among its cycles
    double x = 0.0;           // its smallest state, a state of an orbit, exact
    double y = 0.0;
    std::int64_t basin = 0;  // start points whose attractor it is
    // Bit for bit: -0 and +0 differ.
    friend bool operator==(const AttractorEntry& a, const AttractorEntry& b) {
        return a.id == b.id && a.period == b.period &&
               std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
               std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y) && a.basin == b.basin;
    }
};

// The four values of a start point, each a column of GridAnalysis.
enum class AnalysisColumn { ExitStep, CycleStart, Period, Attractor };

// The analysis of one computation: four values per start point in grid order
// (column by column from x1, within a column from y1; element c * rows + r),
// the catalogue and two counts. Every start point falls in exactly one of:
// an attractor's basin, `escaped` (exit step >= 0, attractor 0) or
// `unsettled` (exit step -1, attractor 0).
struct GridAnalysis {
    // The four columns one after the other, in AnalysisColumn order, in one
    // block of list storage (a large grid takes huge pages).
    std::vector<std::int32_t, ListAllocator<std::int32_t>> values;
    std::vector<AttractorEntry> attractors;  // by id: attractors[i].id == i + 1
    std::int64_t escaped = 0;
    std::int64_t unsettled = 0;

    std::size_t size() const { return values.size() / 4; }
    std::span<const std::int32_t> Column(AnalysisColumn c) const {
        return {values.data() + static_cast<std::size_t>(c) * size(), size()};
    }
    std::span<std::int32_t> Column(AnalysisColumn c) {
        return {values.data() + static_cast<std::size_t>(c) * size(), size()};
    }
    std::span<const std::int32_t> ExitStep() const { return Column(AnalysisColumn::ExitStep); }
    std::span<const std::int32_t> CycleStart() const { return Column(AnalysisColumn::CycleStart); }
    std::span<const std::int32_t> Period() const { return Column(AnalysisColumn::Period); }
    std::span<const std::int32_t> Attractor() const { return Column(AnalysisColumn::Attractor); }
    friend bool operator==(const GridAnalysis&, const GridAnalysis&) = default;
};

// Why an analysis is refused; each front end words it in its own language.
enum class AnalysisRefusal {
    DeltaNotValid,      // the merge distance is negative or not a number
    TooManyPoints,      // more than kMaxAnalysisStartPoints start points
    TooManyIterations,  // iterations + 1 steps do not fit a 32-bit step number
};

// Checks an analysis of parameters that passed CheckParameters with the merge
// distance delta (+infinity merges every attractor cycle into one).
std::optional<AnalysisRefusal> CheckAnalysis(const ModelParams& p, double delta);

}  // namespace orbitograph

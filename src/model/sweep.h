#pragma once

// Counts of many computations that differ only in A, Dc, Kc or the
// iteration count: a sweep of one parameter, or a plane of two.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/compute_spaces.h"
#include "model/model_params.h"

namespace orbitograph {

// The parameters a sweep may vary; none of them changes the grid.
enum class SweepParam { A, Dc, Kc, Iterations };

// "a", "dc", "kc", "iterations": the names the command line and the output
// use.
std::string_view SweepParamName(SweepParam p);
std::optional<SweepParam> SweepParamByName(std::string_view name);

// Most values along one axis of a sweep or a plane.
inline constexpr std::int32_t kMaxSweepValues = 100'000;

// The values from, from + i * (to - from) / (count - 1), ..., to: the
// product first, then the quotient, then the sum, each a double operation;
// the last is `to` exactly. A count of 1 gives `from`. For the iteration
// count each value is rounded to the nearest integer (halves away from
// zero). Needs 1 <= count <= kMaxSweepValues; the values are not checked.
std::vector<double> SweepValues(double from, double to, std::int32_t count, SweepParam param);

// base with the parameter set to value (the iteration count rounded as
// above and clamped to the 32-bit range).
ModelParams WithValue(const ModelParams& base, SweepParam param, double value);

// The counts of every parameter set, in order, each identical to the sizes
// of the lists that ComputeSpaces returns for it (the kinds are counted
// without building lists). Every set must pass CheckParameters and all must
// share one grid (x1, x2, y1, y2, step); std::invalid_argument otherwise.
//
// Threads: control.threads workers (0: every core), the calling one
// included, are started once for the whole call and take slices of the
// concatenated start points of all sets from one counter, so a small grid
// is packed with its neighbours into one slice and no thread waits between
// sets. Cancellation, progress (in map steps over all sets) and the result
// on cancel are as for ComputeSpaces; the requests for more than the counts
// (attractorEnds, kindGrid, startPointEnds, analysis) are ignored.
std::optional<std::vector<ListCounts>> ComputeCountsOfSets(const std::vector<ModelParams>& sets,
                                                           const ComputeControl& control = {});

// One computation per value of the parameter.
std::optional<std::vector<ListCounts>> ComputeSweep(const ModelParams& base, SweepParam param,
                                                    const std::vector<double>& values,
                                                    const ComputeControl& control = {});

// One computation per pair: the result has values1.size() * values2.size()
// entries, the pair (values1[i], values2[j]) at j * values1.size() + i.
// The two parameters must differ; std::invalid_argument otherwise.
std::optional<std::vector<ListCounts>> ComputePlane(const ModelParams& base, SweepParam param1,
                                                    const std::vector<double>& values1, SweepParam param2,
                                                    const std::vector<double>& values2,
                                                    const ComputeControl& control = {});

// The kinds in the order that breaks ties between equal counts: infinity,
// zero, O, T, M, H. Returns the index of the kind with the most start
// points in that order (0 infinity ... 5 H).
enum class DominantKind { Infinity, Zero, O, T, M, H };
DominantKind Dominant(const ListCounts& c);

}  // namespace orbitograph

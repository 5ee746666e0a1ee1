#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "data/atomic_file.h"
#include "model/sweep.h"

namespace orbitograph {

// The analysis and the metrics of every pair of a plane, as exported.
struct PlaneExtras {
    std::vector<std::int32_t> cycles;
    std::vector<double> sb, sbb, alpha;
};

// Writes the counts of a parameter plane as a NumPy .npz archive,
// atomically (WriteFileAtomicallyToFd), holding
//   p1, p2      float64 [len(p1)], [len(p2)]  the values of the two axes
//   start_points, attractors, infinity, zero, T, O, M, H
//               int64 [len(p2), len(p1)]      the counts of the pair
//                                              (p1[i], p2[j]) at [j, i]
// With extra, also the arrays of the analysis and the metrics that it holds
// (each empty or with one element per pair, in the order of counts):
//   cycles      int32 [len(p2), len(p1)]      attractors found
//   Sb, Sbb, alpha
//               float64 [len(p2), len(p1)]    NaN where undefined
// counts holds values1.size() * values2.size() entries, the pair (i, j) at
// j * values1.size() + i (as ComputePlane gives them); std::invalid_argument
// otherwise. error receives a line when writing fails. stop and batch as
// WriteFileAtomically takes them.
SaveResult WritePlaneNpz(const std::filesystem::path& path, const std::vector<double>& values1,
                         const std::vector<double>& values2, const std::vector<ListCounts>& counts, std::string& error,
                         const std::atomic<bool>* stop = nullptr, FileBatch* batch = nullptr,
                         const PlaneExtras* extra = nullptr);

}  // namespace orbitograph

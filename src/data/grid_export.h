#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "data/atomic_file.h"
#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph {

// One computation as its exporters see it. lists must hold the kinds and
// the end points of every start point (ComputeControl::kindGrid and
// ::startPointEnds) for the archive; the CSV row needs the lists only.
struct GridExport {
    ModelParams params;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    const SpaceLists* lists = nullptr;
    std::string version;
    double attractorDelta = kDefaultAttractorDelta;  // that of lists->analysis, when it holds one
};

// The archive's `meta`: one JSON object with the program and its version,
// every parameter, the origin, the counts, the grid's columns and rows and
// the meaning of every label code; with the analysis of the grid, also
// "attractor_delta" (DeltaJson) and "analysis" (AnalysisJson).
std::string GridMetaJson(const GridExport& e);

// Header line and one row (each ended by a line feed): the parameters, the
// origin and the counts.
std::string GridCsv(const GridExport& e);

// Writes a NumPy .npz archive, atomically (WriteFileAtomically), holding
//   labels      uint8  [rows, columns]  row 0 the lowest grid row (y1),
//                                       column 0 the leftmost (x1); codes
//                                       as in model/grid_labels.h
//   x           float64 [columns]       the grid's coordinates, bit for bit
//   y           float64 [rows]          those the orbits start from
//   end_x, end_y float64 [rows, columns] end points, NaN where an orbit was
//                                       proven to leave the square unfinished
//   attractors  int32  [k, 2]           the attractor pixels (x, y), in order
//   exit_step, cycle_start, period, attractor
//               int32  [rows, columns]  the analysis of every orbit
//                                       (model/grid_analysis.h), laid out as
//                                       labels; only when lists holds it
//   meta        str (0-d)               GridMetaJson
// A grid computed without the kinds or the end points is refused with
// std::invalid_argument. error receives a line when writing fails. stop and
// batch as WriteFileAtomically takes them.
SaveResult WriteGridNpz(const std::filesystem::path& path, const GridExport& e, std::string& error,
                        const std::atomic<bool>* stop = nullptr, FileBatch* batch = nullptr);

// Writes GridCsv, atomically; stop and batch as WriteFileAtomically takes them.
SaveResult WriteGridCsv(const std::filesystem::path& path, const GridExport& e, const std::atomic<bool>* stop = nullptr,
                        FileBatch* batch = nullptr);

}  // namespace orbitograph

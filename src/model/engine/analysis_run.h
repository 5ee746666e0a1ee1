#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/engine/orbit_analysis.h"
#include "model/engine/orbit_job.h"
#include "model/grid_analysis.h"

namespace orbitograph::engine {

// The analysis part of one grid computation (GridRun): the columns, filled
// block by block on the workers; between the two phases, on one thread, the
// catalogue made from every block's attractor cycles; then each block's
// attractor numbers, written by its worker. As the cycles are merged in
// their own order and every value goes to its start point's place, the result
// is the same for any thread count and block size.
//
// Memory: the four columns (16 bytes per start point), written once each and
// the attractor column twice where an orbit reaches an attractor cycle; per
// block its distinct attractor cycles (32 bytes each), and while the
// catalogue is made, every state of every distinct attractor cycle (about 40
// bytes each, a few more in the sweep's window).
class AnalysisRun {
public:
    // Sizes the columns for `total` start points, unwritten, and the blocks'
    // records; delta is the merge distance.
    AnalysisRun(std::size_t total, std::size_t blocks, double delta, std::size_t historyBytes);

    // In place of the end-point kernel for block b of n start points from
    // `first` (AnalyseBlock); no value when cancelled.
    std::optional<std::size_t> RunBlock(std::size_t b, std::size_t first, const OrbitJob& job, EndPointKernel kernel,
                                        const double* x0, const double* y0, std::size_t n, double* ex, double* ey,
                                        double* index, AnalysisArrays& a);

    // The same without steps (a negative iteration count).
    void RunUnmoved(std::size_t b, std::size_t first, const double* x0, const double* y0, std::size_t n);

    // Once every block ran: the catalogue, the counts and each block's
    // numbers; false when cancelled. Throws std::bad_alloc.
    bool Conclude(const OrbitJob& job);

    // Block b's attractor numbers in place of its cycles' indices.
    void WriteBlock(std::size_t b, std::size_t first, std::size_t n);

    GridAnalysis Take() { return std::move(m_out); }

private:
    BlockColumns Columns(std::size_t first);

    GridAnalysis m_out;
    double m_delta;
    std::size_t m_historyBytes;
    std::vector<BlockCycles> m_blocks;
    std::vector<std::vector<std::int32_t>> m_ids;  // per block, the number of each of its cycles
};

}  // namespace orbitograph::engine

#pragma once

// One computation of the grid walk of both spaces, in parallel.
//
// The start points are numbered in grid order (column by column from x1,
// within a column from y1) and cut into blocks of consecutive numbers. The
// threads of one ParallelFor (parallel_for.h) run each block (RunBlock):
// they compute the end points (one iteration per start point serves both
// spaces), store one kind byte per start point, count the kinds and keep the
// block's attractor pixels in an exactly sized list; cancellation is polled
// and progress reported once per block, and within long orbits every few
// hundred thousand steps, as the steps executed against those executed plus
// an estimate of those left (ReportProgress). When every block is done, one thread sizes each
// final list once from the sums of the counts (SizeLists); then every thread
// writes the blocks it ran into the lists at their prefix offsets
// (WriteBlock), polling cancellation before each. As every element goes to
// the place that its start point's grid number and the counts of the
// earlier blocks give, every list has the same order for any thread count
// and block size.
//
// Memory: besides the final lists (8 bytes per basin point and per
// attractor), one byte per start point and, until they are copied, the
// attractor pixels once more, as 4-byte offsets whenever the step allows
// (2 / h <= 32000) and released block by block; when asked for, 16 bytes per
// start point for every end point, and the analysis's (analysis_run.h); plus
// per thread a few arrays of one block, and the grid's two sides (grid.h: at
// most 1 MB each, from which a block's coordinates are copied or
// regenerated). The peak is thus at
// most about 1.31 times the final lists (when every orbit ends inside the
// square), 1.06 times for a negative iteration count (no copy is kept), and
// about 1.13 times when most orbits escape, for every shape of grid. Steps
// below 1/16000 on a small rectangle keep 8-byte copies.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/classify.h"
#include "model/engine/analysis_run.h"
#include "model/engine/grid_engine.h"
#include "model/grid.h"

namespace orbitograph::engine {

constexpr std::size_t kKinds = 6;  // EndKind::Infinity .. EndKind::M; None has no list

struct Near {
    std::int16_t dx;
    std::int16_t dy;
};

struct Block {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::array<std::size_t, kKinds> counts{};
    // The block's attractor pixels until they are copied: as offsets from
    // the origin when every pixel of the square fits 16 bits (`near`),
    // otherwise whole. With a negative iteration count neither is kept: the
    // end points are the start points, all inside the square, and WriteBlock
    // computes their pixels from the grid.
    std::vector<Near> near;
    PointList far;
    std::size_t attractorCount = 0;
    std::int64_t executedSteps = 0;  // the map steps its kernel or walks executed
    // The exact end points of those pixels, when asked for.
    std::vector<double> endX, endY;
    // Where the block's elements go in the final lists.
    std::array<std::size_t, kKinds> offsets{};
    std::size_t attractorOffset = 0;
};

// One thread's working arrays, each for one block.
struct BlockArrays {
    BlockArrays(std::size_t points, bool compact)
        : x(points + kKernelPadding), y(x.size()), ex(x.size()), ey(x.size()), index(x.size()) {
        far.reserve(points);
        if (compact) near.reserve(points);
    }
    std::vector<double> x, y;           // start points
    std::vector<double> ex, ey, index;  // the kernel's results
    PointList far;
    std::vector<Near> near;
    std::vector<double> endX, endY;
    AnalysisArrays analysis;  // used when the analysis is asked for
};

// What one thread keeps from block to block: its arrays and the orbit job
// that reports its steps to the thread's own counter.
struct WorkerState {
    WorkerState(std::size_t points, bool compact) : arrays(points, compact) {}
    BlockArrays arrays;
    std::function<void(std::int64_t)> stepsMade;
    OrbitJob job;
};

class GridRun {
public:
    // threadsFellShort is set when some of the worker threads could not be
    // started; it may be read after the run, also when it threw.
    GridRun(const ModelParams& p, std::int32_t originX, std::int32_t originY, const ComputeControl& control,
            const EngineOptions& options, int threads, bool& threadsFellShort);

    // The lists, or no value when cancelled; rethrows the first exception of
    // any thread once all are joined.
    std::optional<SpaceLists> Run();

private:
    bool Cancelled() const { return m_control.cancel && m_control.cancel->load(std::memory_order_relaxed); }
    void RunBlockOn(std::size_t b, int worker);
    void RunBlock(Block& block, BlockArrays& a, const OrbitJob& job);
    void ReportProgress() const;
    bool SizeLists();
    void WriteBlock(Block& block);
    void WriteBasins(const Block& block);
    void WriteAttractors(Block& block);

    const ComputeControl& m_control;
    const EngineOptions& m_options;
    const bool m_iterate;       // false for a negative iteration count: no map step
    const bool m_wantEnds;      // the attractors' exact end points too
    const bool m_wantGridEnds;  // every start point's end point too
    const double m_step;
    const std::int32_t m_originX;
    const std::int32_t m_originY;
    // An end point inside the square has |xe|, |ye| <= 2, so |xe / step| and
    // |ye / step| are at most 2 / step (division rounds monotonically), and
    // adding the origin and truncating moves a pixel at most 2 more from the
    // origin: with 2 / step <= 32000 every offset fits 16 bits.
    const bool m_compact;
    const GridSide m_xs;
    const GridSide m_ys;
    const std::size_t m_rows;
    const std::size_t m_total;
    OrbitJob m_job;
    EndPointKernel m_kernel;
    std::int64_t m_pxFirst = 0;  // the basin pixel of the first start point
    std::int64_t m_pyFirst = 0;
    int m_threads;
    std::size_t m_blockPoints = 0;
    std::vector<Block> m_blocks;
    KindGrid m_kinds;  // per start point; unwritten until its block runs (RunBlock writes every kind)
    // Per start point when asked for; NaN until RunBlock stores an exact end
    // point. Blocks write disjoint ranges, so no thread waits for another.
    GridEnds m_gridEnds;
    std::unique_ptr<AnalysisRun> m_analysis;  // when asked for
    SpaceLists m_out;
    std::array<PointList*, kKinds> m_lists;  // the basin list of each kind, in EndKind order

    std::atomic<std::size_t> m_pointsDone{0};
    // The map steps executed by the finished blocks.
    std::atomic<std::int64_t> m_stepsDone{0};
    // Per worker, the map steps its kernel reported within its current
    // block, that block's start points, and what its kernel has left.
    std::unique_ptr<std::atomic<std::int64_t>[]> m_stepsInBlock;
    std::unique_ptr<std::atomic<std::int64_t>[]> m_pointsInBlock;
    std::unique_ptr<LanesLeft[]> m_lanesLeft;
    // Per worker, made by that worker at its first block.
    std::vector<std::unique_ptr<WorkerState>> m_workers;
    bool& m_threadsFellShort;
};

}  // namespace orbitograph::engine

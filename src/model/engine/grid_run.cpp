#include "model/engine/grid_run.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "model/parallel_for.h"
#include "model/pixel.h"

namespace orbitograph::engine {

namespace {

std::size_t AutoBlockPoints(std::size_t total, int threads, bool analysis) {
    // About 16 blocks per thread, for balance when orbit costs differ widely,
    // within sizes whose working arrays (about 48 bytes a point with the
    // kernel's) stay within a 1 MB second-level cache. The end-point kernel
    // refills its lanes from its block only, so at a block's end its lanes
    // drain: 16384 points leave them 2.5 % idle on the fine grid (h 0.001,
    // N 1000), 4096 points 9.5 %. The analysis keeps several more arrays per
    // point and walks histories per block, so its blocks stay at 4096.
    const std::size_t share = total / (static_cast<std::size_t>(threads) * 16);
    return std::clamp<std::size_t>(share, 512, analysis ? 4096 : 16384);
}

// A side of the grid, with no coordinates when the grid is empty: the other
// side of an empty rectangle is never walked (with a fine step it could be
// billions).
GridSide SideOf(bool emptyGrid, double lo, double hi, double step) {
    return emptyGrid ? GridSide(lo, -std::numeric_limits<double>::infinity(), step) : GridSide(lo, hi, step);
}

bool EmptyGrid(const ModelParams& p) { return !(p.x1 <= p.x2 && p.y1 <= p.y2); }

}  // namespace

GridRun::GridRun(const ModelParams& p, std::int32_t originX, std::int32_t originY, const ComputeControl& control,
                 const EngineOptions& options, int threads, bool& threadsFellShort)
    : m_control(control),
      m_options(options),
      m_iterate(p.iterations >= 0),
      m_wantEnds(control.attractorEnds),
      m_wantGridEnds(control.startPointEnds),
      m_step(p.step),
      m_originX(originX),
      m_originY(originY),
      m_compact(2.0 / p.step <= 32000.0),
      m_xs(SideOf(EmptyGrid(p), p.x1, p.x2, p.step)),
      m_ys(SideOf(EmptyGrid(p), p.y1, p.y2, p.step)),
      m_rows(m_ys.Count()),
      m_total(m_xs.Count() * m_rows),
      m_job(m_iterate ? MakeOrbitJob(p) : OrbitJob{}),
      m_kernel(options.kernel ? options.kernel : EndPointsVector),
      m_threads(threads),
      m_lists{&m_out.basinInfinity, &m_out.basinZero, &m_out.basinO, &m_out.basinH, &m_out.basinT, &m_out.basinM},
      m_threadsFellShort(threadsFellShort) {
    m_job.cancel = control.cancel;
    if (m_total == 0) return;
    const BasinPlacement place = ComputeBasinPlacement(p);
    m_pxFirst = std::int64_t{originX} - place.centreColumn + place.firstColumn;
    m_pyFirst = std::int64_t{originY} - place.firstRow + place.centreRow;
    m_blockPoints = options.blockPoints ? options.blockPoints : AutoBlockPoints(m_total, threads, control.analysis);
    const std::size_t blockCount = (m_total + m_blockPoints - 1) / m_blockPoints;
    m_threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), blockCount));
    m_blocks.resize(blockCount);
    for (std::size_t b = 0; b < blockCount; ++b) {
        m_blocks[b].begin = b * m_blockPoints;
        m_blocks[b].end = std::min(m_total, m_blocks[b].begin + m_blockPoints);
    }
    // Unwritten here: every block writes its own range (RunBlock), on the
    // workers, while the range is in their cache.
    m_kinds.resize(m_total);
    if (m_wantGridEnds) {
        // Unwritten here: every block writes its own range (RunBlock), on
        // the workers, so the pages are touched once and in parallel.
        m_gridEnds.x.resize(m_total);
        m_gridEnds.y.resize(m_total);
    }
    m_stepsInBlock = std::make_unique<std::atomic<std::int64_t>[]>(static_cast<std::size_t>(m_threads));
    m_pointsInBlock = std::make_unique<std::atomic<std::int64_t>[]>(static_cast<std::size_t>(m_threads));
    m_lanesLeft = std::make_unique<LanesLeft[]>(static_cast<std::size_t>(m_threads));
    m_workers.resize(static_cast<std::size_t>(m_threads));
    if (control.analysis)
        m_analysis =
            std::make_unique<AnalysisRun>(m_total, blockCount, control.attractorDelta, options.analysisHistory);
}

std::optional<SpaceLists> GridRun::Run() {
    if (m_options.executedSteps) *m_options.executedSteps = 0;
    if (Cancelled()) return std::nullopt;
    if (m_total == 0) {
        if (m_control.progress) m_control.progress(1.0);
        return SpaceLists{};
    }
    ParallelOptions options;
    options.threads = m_threads;
    options.cancel = m_control.cancel;
    options.threadsFellShort = &m_threadsFellShort;
    options.beforeThreadStart = m_options.beforeThreadStart;
    const BlockPasses passes{[this](std::size_t b, int worker) { RunBlockOn(b, worker); },
                             [this] { return SizeLists(); },
                             [this](std::size_t b, int) {
                                 if (!Cancelled()) WriteBlock(m_blocks[b]);
                             }};
    // A cancel seen while the lists are written leaves them incomplete: the
    // run then gives nothing, as for a cancel during the first pass.
    if (!ParallelFor(m_blocks.size(), options, passes) || Cancelled()) return std::nullopt;
    if (m_options.executedSteps) {
        for (const Block& block : m_blocks) *m_options.executedSteps += block.executedSteps;
    }
    if (m_control.kindGrid) m_out.kinds = std::move(m_kinds);
    if (m_wantGridEnds) m_out.startPointEnds = std::move(m_gridEnds);
    if (m_analysis) m_out.analysis = m_analysis->Take();
    return std::move(m_out);
}

// Block b on the given worker, whose arrays are made at its first block.
// Long orbits report their steps as they go, so that progress moves within
// a block too.
void GridRun::RunBlockOn(std::size_t b, int worker) {
    const auto w = static_cast<std::size_t>(worker);
    std::atomic<std::int64_t>& inBlock = m_stepsInBlock[w];
    if (!m_workers[w]) {
        m_workers[w] = std::make_unique<WorkerState>(m_blockPoints, m_compact);
        WorkerState& state = *m_workers[w];
        state.stepsMade = [this, &inBlock](std::int64_t steps) {
            inBlock.fetch_add(steps, std::memory_order_relaxed);
            ReportProgress();
        };
        state.job = m_job;
        if (m_control.progress) {
            state.job.stepsMade = &state.stepsMade;
            state.job.lanesLeft = &m_lanesLeft[w];
        }
    }
    WorkerState& state = *m_workers[w];
    Block& block = m_blocks[b];
    const auto points = static_cast<std::int64_t>(block.end - block.begin);
    m_lanesLeft[w].Set(0, 0, 0, points);
    m_pointsInBlock[w].store(points, std::memory_order_relaxed);
    RunBlock(block, state.arrays, state.job);
    // The block's steps move from the running to the finished ones before
    // its points do: a report in between counts them twice, never not at all.
    m_stepsDone.fetch_add(block.executedSteps, std::memory_order_relaxed);
    m_pointsInBlock[w].store(0, std::memory_order_relaxed);
    inBlock.store(0, std::memory_order_relaxed);
    m_lanesLeft[w].Set(0, 0, 0, 0);
    m_pointsDone.fetch_add(block.end - block.begin, std::memory_order_relaxed);
    if (m_control.progress) ReportProgress();
}

// The fraction of the work done, in map steps executed, E, against E plus
// an estimate of the steps still to come: the remaining counts of the orbits
// in the kernels' lanes (exact unless they escape or close a cycle), and
// for every start point not yet in a lane the mean steps of the orbits
// finished so far (the full count before any has finished). For one long
// orbit this is the share of its steps made; for a few long orbits among
// many short ones, once the short ones have shown their cost, the share of
// the long ones' steps. Calls from different workers may overlap and read
// the workers' counters mid-update: each is a snapshot, and the sums may be
// off by a block's steps for a moment.
void GridRun::ReportProgress() const {
    const double perOrbit = m_iterate ? static_cast<double>(m_job.steps) : 1.0;
    double executed = static_cast<double>(m_stepsDone.load(std::memory_order_relaxed));
    double liveMade = 0.0, budget = 0.0, finished = 0.0, waiting = 0.0, inFlight = 0.0;
    for (std::size_t t = 0; t < static_cast<std::size_t>(m_threads); ++t) {
        const LanesLeft& lanes = m_lanesLeft[t];
        const auto points = static_cast<double>(m_pointsInBlock[t].load(std::memory_order_relaxed));
        const auto live = static_cast<double>(lanes.live.load(std::memory_order_relaxed));
        const auto notInLane = static_cast<double>(lanes.waiting.load(std::memory_order_relaxed));
        executed += static_cast<double>(m_stepsInBlock[t].load(std::memory_order_relaxed));
        liveMade += static_cast<double>(lanes.made.load(std::memory_order_relaxed));
        budget += static_cast<double>(lanes.budget.load(std::memory_order_relaxed));
        inFlight += points;
        waiting += std::min(points, notInLane);
        finished += std::max(0.0, points - notInLane - live);
    }
    const double pointsDone = static_cast<double>(m_pointsDone.load(std::memory_order_relaxed));
    finished += pointsDone;
    if (!m_iterate) executed += pointsDone;  // no map step: a point is one unit
    const double notStarted = std::max(0.0, static_cast<double>(m_total) - pointsDone - inFlight) + waiting;
    const double mean = finished > 0.0 ? std::max(1.0, (executed - liveMade) / finished) : perOrbit;
    const double left = budget + notStarted * mean;
    const double whole = executed + left;
    m_control.progress(whole > 0.0 ? std::clamp(executed / whole, 0.0, 1.0) : 1.0);
}

// End points, kinds, counts and attractor pixels of one block.
void GridRun::RunBlock(Block& block, BlockArrays& a, const OrbitJob& workerJob) {
    const std::size_t n = block.end - block.begin;
    OrbitJob job = workerJob;
    job.executedSteps = &block.executedSteps;
    FillStartPoints(m_xs, m_ys, block.begin, n, a.x.data(), a.y.data());
    std::size_t listed = n;
    const double* rx = a.x.data();
    const double* ry = a.y.data();
    const auto b = static_cast<std::size_t>(&block - m_blocks.data());
    if (m_iterate && m_analysis) {
        // The analysis makes the kernel's result too; when cancelled,
        // SizeLists sees it.
        const std::optional<std::size_t> got =
            m_analysis->RunBlock(b, block.begin, job, m_kernel, a.x.data(), a.y.data(), n, a.ex.data(), a.ey.data(),
                                 a.index.data(), a.analysis);
        if (!got) return;
        listed = *got;
        rx = a.ex.data();
        ry = a.ey.data();
    } else if (m_iterate) {
        listed = m_kernel(job, a.x.data(), a.y.data(), n, a.ex.data(), a.ey.data(), a.index.data());
        rx = a.ex.data();
        ry = a.ey.data();
    } else if (m_analysis) {
        m_analysis->RunUnmoved(b, block.begin, a.x.data(), a.y.data(), n);
    }
    a.far.clear();
    a.near.clear();
    a.endX.clear();
    a.endY.clear();
    const double ox = m_originX;
    const double oy = m_originY;
    std::size_t outside = n - listed;  // the orbits the kernel left out
    // An unlisted orbit ends outside: Infinity; the listed ones are
    // overwritten below.
    std::fill_n(m_kinds.begin() + static_cast<std::ptrdiff_t>(block.begin), n, EndKind::Infinity);
    if (m_wantGridEnds) {
        // An unlisted orbit keeps NaN; the listed ones are overwritten below.
        std::fill_n(m_gridEnds.x.begin() + static_cast<std::ptrdiff_t>(block.begin), n,
                    std::numeric_limits<double>::quiet_NaN());
        std::fill_n(m_gridEnds.y.begin() + static_cast<std::ptrdiff_t>(block.begin), n,
                    std::numeric_limits<double>::quiet_NaN());
    }
    for (std::size_t j = 0; j < listed; ++j) {
        const double xe = rx[j];
        const double ye = ry[j];
        const std::size_t i = m_iterate ? static_cast<std::size_t>(a.index[j]) : j;
        // A listed orbit's end point is exact (the kernel's contract); an
        // unlisted one keeps its NaN.
        if (m_wantGridEnds) {
            m_gridEnds.x[block.begin + i] = xe;
            m_gridEnds.y[block.begin + i] = ye;
        }
        if (!InsideSquare(xe, ye)) {
            ++outside;
            continue;
        }
        const EndKind kind = Classify(xe, ye);
        m_kinds[block.begin + i] = kind;
        if (kind != EndKind::None) ++block.counts[static_cast<std::size_t>(kind)];
        ++block.attractorCount;
        if (!m_iterate) continue;
        if (m_wantEnds) {
            a.endX.push_back(xe);
            a.endY.push_back(ye);
        }
        const Point pixel{TruncInRange32(xe / m_step + ox), TruncInRange32(oy - ye / m_step)};
        if (m_compact) {
            a.near.push_back({static_cast<std::int16_t>(std::int64_t{pixel.x} - m_originX),
                              static_cast<std::int16_t>(std::int64_t{pixel.y} - m_originY)});
        } else {
            a.far.push_back(pixel);
        }
    }
    block.counts[static_cast<std::size_t>(EndKind::Infinity)] = outside;
    block.far.assign(a.far.begin(), a.far.end());
    block.near.assign(a.near.begin(), a.near.end());
    block.endX.assign(a.endX.begin(), a.endX.end());
    block.endY.assign(a.endY.begin(), a.endY.end());
}

// Between the passes, on one thread while the others wait: every list sized
// once from the block counts, and each block's offsets in them. False when
// the computation was cancelled meanwhile. The workers' arrays are released
// first, before the lists take their memory; then the analysis concludes.
bool GridRun::SizeLists() {
    m_workers.clear();
    if (Cancelled()) return false;
    std::array<std::size_t, kKinds> sums{};
    std::size_t attractorSum = 0;
    for (Block& block : m_blocks) {
        block.offsets = sums;
        for (std::size_t k = 0; k < kKinds; ++k) sums[k] += block.counts[k];
        block.attractorOffset = attractorSum;
        attractorSum += block.attractorCount;
    }
    for (std::size_t k = 0; k < kKinds; ++k) m_lists[k]->ResizeUninitialised(sums[k]);
    m_out.attractors.ResizeUninitialised(attractorSum);
    if (m_wantEnds) {
        m_out.attractorEnds.x.resize(attractorSum);
        m_out.attractorEnds.y.resize(attractorSum);
    }
    return !m_analysis || m_analysis->Conclude(m_job);
}

// One block into the lists at its offsets, by the thread that ran it, whose
// cache still holds its kinds.
void GridRun::WriteBlock(Block& block) {
    WriteBasins(block);
    WriteAttractors(block);
    if (m_analysis)
        m_analysis->WriteBlock(static_cast<std::size_t>(&block - m_blocks.data()), block.begin,
                               block.end - block.begin);
}

// Start point number i is at column i / rows, row i % rows; its basin pixel
// is (pxFirst + column, pyFirst - row), narrowed modulo 2^32. Within one
// column the rows of a run are consecutive, so a column segment is the
// pixel of its first point and then y one less per point: the narrowing
// commutes with the subtraction (both are modulo 2^32), so the unsigned
// 32-bit difference gives the same bits as narrowing each 64-bit sum.
void GridRun::WriteBasins(const Block& block) {
    Point* dst[kKinds];
    for (std::size_t k = 0; k < kKinds; ++k) dst[k] = m_lists[k]->data() + block.offsets[k];
    std::size_t col = block.begin / m_rows;
    std::size_t row = block.begin % m_rows;
    // Kinds come in long runs (neighbouring start points tend to end alike),
    // so each run is written by tight loops, one per column segment.
    for (std::size_t i = block.begin; i < block.end;) {
        const EndKind kind = m_kinds[i];
        std::size_t j = i + 1;
        while (j < block.end && m_kinds[j] == kind) ++j;
        if (kind == EndKind::None) {
            row += j - i;
            col += row / m_rows;
            row %= m_rows;
            i = j;
            continue;
        }
        Point* q = dst[static_cast<std::size_t>(kind)];
        for (std::size_t left = j - i; left > 0;) {
            const std::size_t segment = std::min(left, m_rows - row);
            const std::int32_t x = WrapToInt32(m_pxFirst + static_cast<std::int64_t>(col));
            const auto y = static_cast<std::uint32_t>(WrapToInt32(m_pyFirst - static_cast<std::int64_t>(row)));
            for (std::size_t t = 0; t < segment; ++t)
                q[t] = Point{x, static_cast<std::int32_t>(y - static_cast<std::uint32_t>(t))};
            q += segment;
            left -= segment;
            row += segment;
            if (row == m_rows) row = 0, ++col;
        }
        dst[static_cast<std::size_t>(kind)] = q;
        i = j;
    }
}

void GridRun::WriteAttractors(Block& block) {
    Point* att = m_out.attractors.data() + block.attractorOffset;
    if (m_wantEnds) {
        // Without iteration the end points are the start points, written below.
        std::copy(block.endX.begin(), block.endX.end(), m_out.attractorEnds.x.begin() + block.attractorOffset);
        std::copy(block.endY.begin(), block.endY.end(), m_out.attractorEnds.y.begin() + block.attractorOffset);
        std::vector<double>().swap(block.endX);
        std::vector<double>().swap(block.endY);
    }
    if (!m_iterate) {
        // Every end point is its start point, regenerated in grid order.
        const double ox = m_originX;
        const double oy = m_originY;
        std::size_t row = block.begin % m_rows;
        double x = m_xs.At(block.begin / m_rows);
        double y = m_ys.At(row);
        for (std::size_t i = block.begin; i < block.end; ++i) {
            if (m_wantEnds) {
                const std::size_t k = block.attractorOffset + (i - block.begin);
                m_out.attractorEnds.x[k] = x;
                m_out.attractorEnds.y[k] = y;
            }
            *att++ = {TruncInRange32(x / m_step + ox), TruncInRange32(oy - y / m_step)};
            if (++row == m_rows) {
                row = 0;
                x += m_step;
                y = m_ys.At(0);
            } else {
                y += m_step;
            }
        }
    }
    for (const Near q : block.near) *att++ = {m_originX + q.dx, m_originY + q.dy};
    if (!block.far.empty()) std::memcpy(att, block.far.data(), block.far.size() * sizeof(Point));
    std::vector<Near>().swap(block.near);
    PointList().swap(block.far);
}

}  // namespace orbitograph::engine

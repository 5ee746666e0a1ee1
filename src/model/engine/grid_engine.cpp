// The grid walk of both spaces, in parallel.
//
// The start points are numbered in grid order (column by column from x1,
// within a column from y1) and cut into blocks of consecutive numbers. The
// calling thread and threads - 1 std::jthreads, started for this call and
// joined before it returns, take blocks in increasing order from an atomic
// counter; for each they compute the end points (one iteration per start
// point serves both spaces), store one kind byte per start point, count the
// kinds and keep the block's attractor pixels in an exactly sized list;
// cancellation is polled and progress reported once per block. At a barrier,
// when every block is done, each final list is sized once from the sums of
// the counts; then every thread writes the blocks it computed into the lists
// at their prefix offsets. As every element goes to the place that its start
// point's grid number and the counts of the earlier blocks give, every list
// has the same order for any thread count and block size.
//
// Memory: besides the final lists (8 bytes per basin point and per
// attractor), one byte per start point and, until they are copied, the
// attractor pixels once more, as 4-byte offsets whenever the step allows
// (2 / h <= 32000) and released block by block; plus per thread a few arrays
// of one block. The peak is thus at most about 1.31 times the final lists
// (when every orbit ends inside the square), 1.06 times for a negative
// iteration count (no copy is kept), and about 1.13 times when most orbits
// escape. Steps below 1/16000 on a small rectangle keep 8-byte copies.

#include "model/engine/grid_engine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <barrier>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "model/classify.h"
#include "model/grid.h"

namespace orbitograph::engine {

namespace {

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
    // end points are the start points, all inside the square, and phase 2
    // computes their pixels from the grid.
    std::vector<Near> near;
    PointList far;
    std::size_t attractorCount = 0;
    int worker = 0;  // the thread that computed the block writes it out too
};

int ThreadCount(const ComputeControl& control) {
    if (control.threads > 0) return control.threads;
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1 : static_cast<int>(hw);
}

std::size_t AutoBlockPoints(std::size_t total, int threads) {
    // About 16 blocks per thread, for balance when orbit costs differ widely,
    // within sizes whose working arrays (about 48 bytes a point with the
    // kernel's) stay in the second-level cache.
    const std::size_t share = total / (static_cast<std::size_t>(threads) * 16);
    return std::clamp<std::size_t>(share, 512, 4096);
}

}  // namespace

std::optional<SpaceLists> ComputeGrid(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                      const ComputeControl& control, const EngineOptions& options) {
    const auto cancelled = [&] { return control.cancel && control.cancel->load(std::memory_order_relaxed); };
    // An empty side means no start point: the other side of an empty
    // rectangle is never walked (with a fine step it could be billions).
    const bool empty = !(p.x1 <= p.x2 && p.y1 <= p.y2);
    const std::vector<double> xs = empty ? std::vector<double>{} : GridCoordinates(p.x1, p.x2, p.step);
    const std::vector<double> ys = empty ? std::vector<double>{} : GridCoordinates(p.y1, p.y2, p.step);
    const std::size_t rows = ys.size();
    const std::size_t total = xs.size() * rows;
    if (cancelled()) return std::nullopt;
    if (total == 0) {
        if (control.progress) control.progress(1.0);
        return SpaceLists{};
    }

    const bool iterate = p.iterations >= 0;
    OrbitJob job = MakeOrbitJob(p);
    job.cancel = control.cancel;
    const EndPointKernel kernel = options.kernel ? options.kernel : EndPointsVector;
    int threads = ThreadCount(control);
    const std::size_t blockPoints = options.blockPoints ? options.blockPoints : AutoBlockPoints(total, threads);
    const std::size_t blockCount = (total + blockPoints - 1) / blockPoints;
    threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), blockCount));

    std::vector<Block> blocks(blockCount);
    for (std::size_t b = 0; b < blockCount; ++b) {
        blocks[b].begin = b * blockPoints;
        blocks[b].end = std::min(total, blocks[b].begin + blockPoints);
    }
    std::vector<EndKind> kinds(total, EndKind::Infinity);
    const double step = p.step;
    const double ox = originX;
    const double oy = originY;
    // An end point inside the square has |xe|, |ye| <= 2, so |xe / step| and
    // |ye / step| are at most 2 / step (division rounds monotonically), and
    // adding the origin and truncating moves a pixel at most 2 more from the
    // origin: with 2 / step <= 32000 every offset fits 16 bits.
    const bool compact = 2.0 / step <= 32000.0;

    SpaceLists out;
    PointList* const lists[kKinds] = {&out.basinInfinity, &out.basinZero, &out.basinO,
                                      &out.basinH,        &out.basinT,    &out.basinM};
    std::vector<std::array<std::size_t, kKinds>> offsets(blockCount);
    std::vector<std::size_t> attractorOffsets(blockCount);
    const BasinPlacement place = ComputeBasinPlacement(p);
    const std::int64_t pxFirst = std::int64_t{originX} - place.centreColumn + place.firstColumn;
    const std::int64_t pyFirst = std::int64_t{originY} - place.firstRow + place.centreRow;

    std::atomic<std::size_t> nextBlock{0};
    std::atomic<std::size_t> pointsDone{0};
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    std::mutex errorMutex;
    const auto fail = [&] {
        const std::lock_guard<std::mutex> lock(errorMutex);
        if (!error) error = std::current_exception();
        stop = true;
    };
    bool proceed = false;  // written by the barrier's completion, read after it

    // Between the phases, on one thread while the others wait: every list
    // sized once from the block counts, and each block's offsets in them.
    const auto between = [&]() noexcept {
        if (stop || cancelled() || nextBlock.load() < blockCount) return;
        try {
            std::array<std::size_t, kKinds> sums{};
            std::size_t attractorSum = 0;
            for (std::size_t b = 0; b < blockCount; ++b) {
                offsets[b] = sums;
                for (std::size_t k = 0; k < kKinds; ++k) sums[k] += blocks[b].counts[k];
                attractorOffsets[b] = attractorSum;
                attractorSum += blocks[b].attractorCount;
            }
            for (std::size_t k = 0; k < kKinds; ++k) lists[k]->resize(sums[k]);
            out.attractors.resize(attractorSum);
            proceed = true;
        } catch (...) {
            fail();
        }
    };
    std::barrier sync(threads, between);

    // Phase 1: end points, kinds, counts and attractor pixels per block.
    const auto phase1 = [&](int worker) {
        std::vector<double> bx(blockPoints + kKernelPadding);
        std::vector<double> by(blockPoints + kKernelPadding);
        std::vector<double> ex(blockPoints + kKernelPadding);
        std::vector<double> ey(blockPoints + kKernelPadding);
        std::vector<double> ei(blockPoints + kKernelPadding);
        PointList scratch;
        scratch.reserve(blockPoints);
        std::vector<Near> nearScratch;
        if (compact) nearScratch.reserve(blockPoints);
        while (!stop.load(std::memory_order_relaxed)) {
            if (cancelled()) {
                stop = true;
                return;
            }
            const std::size_t b = nextBlock.fetch_add(1, std::memory_order_relaxed);
            if (b >= blockCount) return;
            Block& block = blocks[b];
            block.worker = worker;
            const std::size_t n = block.end - block.begin;
            // The block's start points, a run of column segments.
            for (std::size_t i = 0; i < n;) {
                const std::size_t col = (block.begin + i) / rows;
                const std::size_t row = (block.begin + i) % rows;
                const std::size_t len = std::min(n - i, rows - row);
                std::fill(bx.begin() + static_cast<std::ptrdiff_t>(i),
                          bx.begin() + static_cast<std::ptrdiff_t>(i + len), xs[col]);
                std::copy(ys.begin() + static_cast<std::ptrdiff_t>(row),
                          ys.begin() + static_cast<std::ptrdiff_t>(row + len),
                          by.begin() + static_cast<std::ptrdiff_t>(i));
                i += len;
            }
            std::size_t listed = n;
            const double* rx = bx.data();
            const double* ry = by.data();
            if (iterate) {
                listed = kernel(job, bx.data(), by.data(), n, ex.data(), ey.data(), ei.data());
                rx = ex.data();
                ry = ey.data();
            }
            scratch.clear();
            nearScratch.clear();
            std::size_t outside = n - listed;  // the orbits the kernel left out
            for (std::size_t j = 0; j < listed; ++j) {
                const double xe = rx[j];
                const double ye = ry[j];
                // kinds[] starts as Infinity, the kind of every unlisted orbit.
                if (!InsideSquare(xe, ye)) {
                    ++outside;
                    continue;
                }
                const std::size_t i = iterate ? static_cast<std::size_t>(ei[j]) : j;
                const EndKind kind = Classify(xe, ye);
                kinds[block.begin + i] = kind;
                if (kind != EndKind::None) ++block.counts[static_cast<std::size_t>(kind)];
                ++block.attractorCount;
                if (!iterate) continue;
                const Point pixel{Trunc32(xe / step + ox), Trunc32(oy - ye / step)};
                if (compact) {
                    nearScratch.push_back({static_cast<std::int16_t>(std::int64_t{pixel.x} - originX),
                                           static_cast<std::int16_t>(std::int64_t{pixel.y} - originY)});
                } else {
                    scratch.push_back(pixel);
                }
            }
            block.counts[static_cast<std::size_t>(EndKind::Infinity)] = outside;
            block.far.assign(scratch.begin(), scratch.end());
            block.near.assign(nearScratch.begin(), nearScratch.end());
            const std::size_t done = pointsDone.fetch_add(n, std::memory_order_relaxed) + n;
            if (control.progress) control.progress(static_cast<double>(done) / static_cast<double>(total));
        }
    };

    // Phase 2: each block written into the lists at its offsets, by the
    // thread that computed it, whose cache still holds its kinds.
    const auto phase2 = [&](int worker) {
        for (std::size_t b = 0; b < blockCount; ++b) {
            Block& block = blocks[b];
            if (block.worker != worker) continue;
            Point* dst[kKinds];
            for (std::size_t k = 0; k < kKinds; ++k) dst[k] = lists[k]->data() + offsets[b][k];
            std::size_t col = block.begin / rows;
            std::size_t row = block.begin % rows;
            // Kinds come in long runs (neighbouring start points tend to end
            // alike), so each run is written by one tight loop.
            for (std::size_t i = block.begin; i < block.end;) {
                const EndKind kind = kinds[i];
                std::size_t j = i + 1;
                while (j < block.end && kinds[j] == kind) ++j;
                if (kind == EndKind::None) {
                    for (std::size_t t = i; t < j; ++t) {
                        if (++row == rows) row = 0, ++col;
                    }
                } else {
                    Point* q = dst[static_cast<std::size_t>(kind)];
                    for (std::size_t t = i; t < j; ++t) {
                        *q++ = Point{Wrap32(pxFirst + static_cast<std::int64_t>(col)),
                                     Wrap32(pyFirst - static_cast<std::int64_t>(row))};
                        if (++row == rows) row = 0, ++col;
                    }
                    dst[static_cast<std::size_t>(kind)] = q;
                }
                i = j;
            }
            Point* att = out.attractors.data() + attractorOffsets[b];
            if (!iterate) {
                col = block.begin / rows;
                row = block.begin % rows;
                for (std::size_t i = block.begin; i < block.end; ++i) {
                    *att++ = {Trunc32(xs[col] / step + ox), Trunc32(oy - ys[row] / step)};
                    if (++row == rows) {
                        row = 0;
                        ++col;
                    }
                }
            }
            for (const Near q : block.near) *att++ = {originX + q.dx, originY + q.dy};
            if (!block.far.empty()) std::memcpy(att, block.far.data(), block.far.size() * sizeof(Point));
            std::vector<Near>().swap(block.near);
            PointList().swap(block.far);
        }
    };

    const auto work = [&](int worker) noexcept {
        try {
            phase1(worker);
        } catch (...) {
            fail();
        }
        sync.arrive_and_wait();
        if (proceed) phase2(worker);
    };
    {
        std::vector<std::jthread> pool;
        try {
            pool.reserve(static_cast<std::size_t>(threads - 1));
            for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
        } catch (...) {
            // Fewer threads than asked could be started: the blocks are
            // shared dynamically, so those run them all; the barrier stops
            // waiting for the others.
            for (std::size_t t = pool.size() + 1; t < static_cast<std::size_t>(threads); ++t) sync.arrive_and_drop();
        }
        work(0);
    }
    if (error) std::rethrow_exception(error);
    if (!proceed) return std::nullopt;
    return out;
}

}  // namespace orbitograph::engine

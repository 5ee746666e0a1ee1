#include "model/sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>

#include "model/classify.h"
#include "model/engine/orbit_job.h"
#include "model/grid.h"
#include "model/parallel_for.h"

namespace orbitograph {

namespace {

using engine::kKernelPadding;

constexpr std::size_t kTallies = 7;  // attractors, then the six kinds in EndKind order
constexpr std::size_t kAttractorTally = 6;

bool SameGrid(const ModelParams& p, const ModelParams& q) {
    return p.x1 == q.x1 && p.x2 == q.x2 && p.y1 == q.y1 && p.y2 == q.y2 && p.step == q.step;
}

// One thread's working arrays for one slice, and the report of its steps.
struct SliceArrays {
    explicit SliceArrays(std::size_t points)
        : x(points + kKernelPadding), y(x.size()), ex(x.size()), ey(x.size()), index(x.size()) {}
    std::vector<double> x, y, ex, ey, index;
    std::function<void(std::int64_t)> stepsMade;
};

// The start points of all sets, numbered set after set (each in grid order),
// are cut into slices of consecutive numbers; a slice may span several sets
// when their grids are small. The threads of one ParallelFor run the slices, count the kinds of each segment of a slice
// (the part within one set) and add them to that set's tallies. The tallies are sums, so the result does not depend on
// which thread ran which slice.
class SweepRun {
public:
    SweepRun(const std::vector<ModelParams>& sets, const ComputeControl& control)
        : m_control(control),
          m_xs(sets.front().x1,
               sets.front().x1 <= sets.front().x2 && sets.front().y1 <= sets.front().y2 ? sets.front().x2 : -INFINITY,
               sets.front().step),
          m_ys(sets.front().y1, m_xs.Count() > 0 ? sets.front().y2 : -INFINITY, sets.front().step),
          m_rows(m_ys.Count()),
          m_points(m_xs.Count() * m_rows),
          m_total(m_points * sets.size()),
          m_tallies(std::make_unique<std::atomic<std::int64_t>[]>(sets.size() * kTallies)) {
        m_jobs.reserve(sets.size());
        for (const ModelParams& p : sets) {
            engine::OrbitJob job = p.iterations >= 0 ? engine::MakeOrbitJob(p) : engine::OrbitJob{};
            job.cancel = control.cancel;
            job.steps = p.iterations >= 0 ? job.steps : 0;  // 0: no map step, the end is the start
            m_jobs.push_back(job);
            m_weightTotal += static_cast<double>(m_points) * static_cast<double>(std::max<std::int64_t>(job.steps, 1));
        }
        const int threads = ThreadCount(control.threads);
        m_slicePoints = std::clamp<std::size_t>(m_total / (static_cast<std::size_t>(threads) * 16), 512, 4096);
        m_slices = (m_total + m_slicePoints - 1) / m_slicePoints;
        m_threads = static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(m_slices, 1)));
        m_stepsInSlice = std::make_unique<std::atomic<std::int64_t>[]>(static_cast<std::size_t>(m_threads));
        m_arrays.resize(static_cast<std::size_t>(m_threads));
    }

    std::optional<std::vector<ListCounts>> Run() {
        if (Cancelled()) return std::nullopt;
        ParallelOptions options;
        options.threads = m_threads;
        options.cancel = m_control.cancel;
        if (!ParallelFor(m_slices, options, [this](std::size_t s, int worker) { RunSlice(s, worker); }))
            return std::nullopt;
        if (Cancelled()) return std::nullopt;
        if (m_control.progress && m_total == 0) m_control.progress(1.0);
        std::vector<ListCounts> out(m_jobs.size());
        for (std::size_t s = 0; s < out.size(); ++s) {
            const auto tally = [&](std::size_t k) { return m_tallies[s * kTallies + k].load(); };
            ListCounts& c = out[s];
            c.startPoints = static_cast<std::int64_t>(m_points);
            c.attractors = tally(kAttractorTally);
            c.infinity = tally(static_cast<std::size_t>(EndKind::Infinity));
            c.zero = tally(static_cast<std::size_t>(EndKind::Zero));
            c.t = tally(static_cast<std::size_t>(EndKind::T));
            c.o = tally(static_cast<std::size_t>(EndKind::O));
            c.m = tally(static_cast<std::size_t>(EndKind::M));
            c.h = tally(static_cast<std::size_t>(EndKind::H));
        }
        return out;
    }

private:
    bool Cancelled() const { return m_control.cancel && m_control.cancel->load(std::memory_order_relaxed); }

    // Slice s on the given worker, whose arrays are made at its first slice.
    void RunSlice(std::size_t s, int worker) {
        const auto w = static_cast<std::size_t>(worker);
        std::atomic<std::int64_t>& inSlice = m_stepsInSlice[w];
        if (!m_arrays[w]) {
            m_arrays[w] = std::make_unique<SliceArrays>(m_slicePoints);
            m_arrays[w]->stepsMade = [this, &inSlice](std::int64_t steps) {
                inSlice.fetch_add(steps, std::memory_order_relaxed);
                ReportProgress();
            };
        }
        SliceArrays& arrays = *m_arrays[w];
        const std::size_t end = std::min(m_total, (s + 1) * m_slicePoints);
        double weight = 0.0;
        for (std::size_t g = s * m_slicePoints; g < end;) {
            const std::size_t set = g / m_points;
            const std::size_t first = g % m_points;
            const std::size_t n = std::min(end - g, m_points - first);
            engine::OrbitJob job = m_jobs[set];
            if (m_control.progress) job.stepsMade = &arrays.stepsMade;
            CountSegment(set, first, n, job, arrays);
            weight += static_cast<double>(n) * static_cast<double>(std::max<std::int64_t>(job.steps, 1));
            g += n;
        }
        inSlice.store(0, std::memory_order_relaxed);
        AddDone(weight);
        if (m_control.progress) ReportProgress();
    }

    // The kinds of n start points of one set, added to its tallies. Every
    // orbit the kernel leaves out ends outside the square (its contract), so
    // infinity is n less the end points found inside; an end point inside
    // is an attractor whatever its kind, the four corners included.
    void CountSegment(std::size_t set, std::size_t first, std::size_t n, const engine::OrbitJob& job, SliceArrays& a) {
        FillStartPoints(m_xs, m_ys, first, n, a.x.data(), a.y.data());
        const double* rx = a.x.data();
        const double* ry = a.y.data();
        std::size_t listed = n;
        if (job.steps > 0) {
            const engine::EndPointKernel kernel = engine::EndPointsVector;
            listed = kernel(job, a.x.data(), a.y.data(), n, a.ex.data(), a.ey.data(), a.index.data());
            rx = a.ex.data();
            ry = a.ey.data();
        }
        std::array<std::int64_t, kTallies> c{};
        for (std::size_t j = 0; j < listed; ++j) {
            if (!InsideSquare(rx[j], ry[j])) continue;
            ++c[kAttractorTally];
            const EndKind kind = Classify(rx[j], ry[j]);
            if (kind != EndKind::None) ++c[static_cast<std::size_t>(kind)];
        }
        c[static_cast<std::size_t>(EndKind::Infinity)] = static_cast<std::int64_t>(n) - c[kAttractorTally];
        for (std::size_t k = 0; k < kTallies; ++k) {
            if (c[k] != 0) m_tallies[set * kTallies + k].fetch_add(c[k], std::memory_order_relaxed);
        }
    }

    void AddDone(double weight) {
        double done = m_weightDone.load(std::memory_order_relaxed);
        while (!m_weightDone.compare_exchange_weak(done, done + weight, std::memory_order_relaxed)) {
        }
    }

    // The fraction of the map steps done: finished slices whole, running
    // ones by the steps their kernels reported, at most a slice's share.
    void ReportProgress() const {
        double running = 0.0;
        const double sliceMost = static_cast<double>(m_slicePoints) * m_weightTotal / static_cast<double>(m_total);
        for (int t = 0; t < m_threads; ++t) {
            running += std::min(
                sliceMost,
                static_cast<double>(m_stepsInSlice[static_cast<std::size_t>(t)].load(std::memory_order_relaxed)));
        }
        const double done = m_weightDone.load(std::memory_order_relaxed) + running;
        m_control.progress(std::min(1.0, done / m_weightTotal));
    }

    const ComputeControl& m_control;
    const GridSide m_xs;
    const GridSide m_ys;
    const std::size_t m_rows;
    const std::size_t m_points;  // start points of one set
    const std::size_t m_total;   // of all sets
    std::vector<engine::OrbitJob> m_jobs;
    double m_weightTotal = 0.0;
    std::size_t m_slicePoints = 0;
    std::size_t m_slices = 0;
    int m_threads = 1;
    std::unique_ptr<std::atomic<std::int64_t>[]> m_tallies;
    std::unique_ptr<std::atomic<std::int64_t>[]> m_stepsInSlice;
    std::vector<std::unique_ptr<SliceArrays>> m_arrays;  // per worker
    std::atomic<double> m_weightDone{0.0};
};

}  // namespace

std::string_view SweepParamName(SweepParam p) {
    switch (p) {
        case SweepParam::A: return "a";
        case SweepParam::Dc: return "dc";
        case SweepParam::Kc: return "kc";
        case SweepParam::Iterations: return "iterations";
    }
    return {};
}

std::optional<SweepParam> SweepParamByName(std::string_view name) {
    for (SweepParam p : {SweepParam::A, SweepParam::Dc, SweepParam::Kc, SweepParam::Iterations}) {
        if (SweepParamName(p) == name) return p;
    }
    return std::nullopt;
}

std::vector<double> SweepValues(double from, double to, std::int32_t count, SweepParam param) {
    std::vector<double> values;
    if (count < 1) return values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        double v = i == 0 ? from : i == count - 1 ? to : from + static_cast<double>(i) * (to - from) / (count - 1);
        if (param == SweepParam::Iterations) v = std::round(v);
        values.push_back(v);
    }
    return values;
}

ModelParams WithValue(const ModelParams& base, SweepParam param, double value) {
    ModelParams p = base;
    switch (param) {
        case SweepParam::A: p.a = value; break;
        case SweepParam::Dc: p.dc = value; break;
        case SweepParam::Kc: p.kc = value; break;
        case SweepParam::Iterations: {
            const double r = std::round(value);
            p.iterations = !(r >= -2147483648.0) ? INT32_MIN
                           : r > 2147483647.0    ? INT32_MAX
                                                 : static_cast<std::int32_t>(r);
            break;
        }
    }
    return p;
}

std::optional<std::vector<ListCounts>> ComputeCountsOfSets(const std::vector<ModelParams>& sets,
                                                           const ComputeControl& control) {
    if (sets.empty()) {
        if (control.progress && !(control.cancel && control.cancel->load())) control.progress(1.0);
        return std::vector<ListCounts>{};
    }
    for (const ModelParams& p : sets) {
        if (CheckParameters(p) || !SameGrid(p, sets.front()))
            throw std::invalid_argument("a parameter set is refused by CheckParameters or has another grid");
    }
    return SweepRun(sets, control).Run();
}

std::optional<std::vector<ListCounts>> ComputeSweep(const ModelParams& base, SweepParam param,
                                                    const std::vector<double>& values, const ComputeControl& control) {
    std::vector<ModelParams> sets;
    sets.reserve(values.size());
    for (double v : values) sets.push_back(WithValue(base, param, v));
    return ComputeCountsOfSets(sets, control);
}

std::optional<std::vector<ListCounts>> ComputePlane(const ModelParams& base, SweepParam param1,
                                                    const std::vector<double>& values1, SweepParam param2,
                                                    const std::vector<double>& values2, const ComputeControl& control) {
    if (param1 == param2) throw std::invalid_argument("a plane needs two different parameters");
    std::vector<ModelParams> sets;
    sets.reserve(values1.size() * values2.size());
    for (double v2 : values2) {
        const ModelParams row = WithValue(base, param2, v2);
        for (double v1 : values1) sets.push_back(WithValue(row, param1, v1));
    }
    return ComputeCountsOfSets(sets, control);
}

DominantKind Dominant(const ListCounts& c) {
    // Strictly more is needed to displace a kind earlier in the order.
    const std::int64_t counts[] = {c.infinity, c.zero, c.o, c.t, c.m, c.h};
    std::size_t best = 0;
    for (std::size_t k = 1; k < std::size(counts); ++k) {
        if (counts[k] > counts[best]) best = k;
    }
    return static_cast<DominantKind>(best);
}

}  // namespace orbitograph

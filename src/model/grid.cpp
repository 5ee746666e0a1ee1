#include "model/grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/pixel.h"

namespace orbitograph {

GridSide::GridSide(double lo, double hi, double step) : m_step(step) {
    for (double v = lo; v <= hi; v += step) {
        if (m_count % kSpacing == 0) m_kept.push_back(v);
        if (m_count < kKeepAll) m_all.push_back(v);
        ++m_count;
    }
    if (m_count > kKeepAll) std::vector<double>().swap(m_all);
}

double GridSide::At(std::size_t k) const {
    if (!m_all.empty()) return m_all[k];
    double v = m_kept[k / kSpacing];
    for (std::size_t i = k % kSpacing; i > 0; --i) v += m_step;
    return v;
}

namespace {

// kN whole segments of `spacing` coordinates, each from its kept coordinate
// on, advanced together.
template <std::size_t kN>
void FillSegments(const double* kept, double step, std::size_t spacing, double* to) {
    double c[kN];
    for (std::size_t j = 0; j < kN; ++j) to[j * spacing] = c[j] = kept[j];
    for (std::size_t i = 1; i < spacing; ++i) {
#pragma GCC unroll 8
        for (std::size_t j = 0; j < kN; ++j) to[j * spacing + i] = c[j] += step;
    }
}

}  // namespace

// Each coordinate from a kept one on is a chain of additions (as At makes
// it), and the chains from different kept coordinates are independent: the
// range is cut at the kept coordinates and whole segments advance up to 8
// together, so that the latency of one addition is not paid for every
// coordinate. Every value is the one the walk accumulates.
void GridSide::Fill(std::size_t k, std::size_t n, double* out) const {
    if (n == 0) return;
    if (!m_all.empty()) {
        std::copy_n(m_all.begin() + static_cast<std::ptrdiff_t>(k), n, out);
        return;
    }
    const std::size_t end = k + n;
    // Up to the first kept coordinate after k.
    std::size_t next = std::min(end, (k / kSpacing + 1) * kSpacing);
    double v = At(k);
    out[0] = v;
    for (std::size_t i = k + 1; i < next; ++i) out[i - k] = v += m_step;
    for (const std::size_t chains : {8, 4, 2, 1}) {
        while ((end - next) / kSpacing >= chains) {
            const double* kept = m_kept.data() + next / kSpacing;
            double* to = out + (next - k);
            if (chains == 8) FillSegments<8>(kept, m_step, kSpacing, to);
            if (chains == 4) FillSegments<4>(kept, m_step, kSpacing, to);
            if (chains == 2) FillSegments<2>(kept, m_step, kSpacing, to);
            if (chains == 1) FillSegments<1>(kept, m_step, kSpacing, to);
            next += chains * kSpacing;
        }
    }
    // The last, partial segment.
    if (next < end) {
        v = m_kept[next / kSpacing];
        out[next - k] = v;
        for (std::size_t i = next + 1; i < end; ++i) out[i - k] = v += m_step;
    }
}

void FillStartPoints(const GridSide& xs, const GridSide& ys, std::size_t first, std::size_t n, double* x, double* y) {
    const std::size_t rows = ys.Count();
    if (n == 0) return;
    std::size_t row = first % rows;
    double columnX = xs.At(first / rows);
    for (std::size_t i = 0; i < n;) {
        const std::size_t len = std::min(n - i, rows - row);
        std::fill(x + i, x + i + len, columnX);
        ys.Fill(row, len, y + i);
        i += len;
        row = 0;
        columnX += xs.Step();  // the next column's accumulated coordinate
    }
}

std::int64_t CountSide(double lo, double hi, double step, std::int64_t limit) {
    std::int64_t n = 0;
    for (double v = lo; v <= hi && n <= limit; v += step) ++n;
    return n;
}

// With u = 2^-53 and s the step: while the walk stays within [lo, hi] inside
// [-2, 2], each addition v + s has magnitude at most 2 + s and so errs by at
// most u (2 + s); the coordinate number k is then at most
// lo + k (s (1 + u) + 2u), which is <= hi for every k <= Q =
// (hi - lo) / (s (1 + u) + 2u), so the side holds at least 1 + floor(Q)
// coordinates. The divisor below, s * 1.000001 + 1e-15, exceeds
// s (1 + u) + 2u by a factor of at least 1 + 9e-7, far more than the three
// roundings of the computed quotient can make up, so the computed quotient
// is below Q. Needs lo and hi in [-2, 2] and s >= kMinStep.
std::int64_t SideCountAtLeast(double lo, double hi, double step) {
    if (!(lo <= hi)) return 0;
    const double q = (hi - lo) / (step * 1.000001 + 1e-15);
    return 1 + static_cast<std::int64_t>(std::floor(q));
}

BasinPlacement ComputeBasinPlacement(const ModelParams& p) {
    BasinPlacement b;
    b.centreColumn = TruncInRange32((p.x1 + (p.x2 - p.x1) * 0.5) / p.step);
    b.centreRow = TruncInRange32((p.y1 + (p.y2 - p.y1) * 0.5) / p.step);
    b.firstColumn = TruncInRange32(p.x1 / p.step);
    b.firstRow = TruncInRange32(p.y1 / p.step);
    return b;
}

std::vector<double> AxisCoordinates(double lo, double hi, double step) {
    const GridSide side(lo, hi, step);
    std::vector<double> out(side.Count());
    if (!out.empty()) side.Fill(0, out.size(), out.data());
    return out;
}

}  // namespace orbitograph

#include "model/grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/pixel.h"

namespace orbitograph {

GridSide::GridSide(double lo, double hi, double step) : m_step(step) {
    for (double v = lo; v <= hi; v += step) {
        if (m_count % kSpacing == 0) m_kept.push_back(v);
        ++m_count;
    }
}

double GridSide::At(std::size_t k) const {
    double v = m_kept[k / kSpacing];
    for (std::size_t i = k % kSpacing; i > 0; --i) v += m_step;
    return v;
}

// Each coordinate from a kept one on is a chain of additions (as At makes
// it), and the chains from different kept coordinates are independent: the
// range is cut at the kept coordinates and up to kChains whole segments
// advance together, so that the latency of one addition is not paid for
// every coordinate. Every value is the one the walk accumulates.
void GridSide::Fill(std::size_t k, std::size_t n, double* out) const {
    constexpr std::size_t kChains = 8;
    if (n == 0) return;
    const std::size_t end = k + n;
    // Up to the first kept coordinate after k.
    std::size_t next = std::min(end, (k / kSpacing + 1) * kSpacing);
    double v = At(k);
    out[0] = v;
    for (std::size_t i = k + 1; i < next; ++i) out[i - k] = v += m_step;
    // Whole segments, kChains at a time.
    while (end - next >= kSpacing) {
        const std::size_t chains = std::min(kChains, (end - next) / kSpacing);
        double c[kChains];
        double* to = out + (next - k);
        for (std::size_t j = 0; j < chains; ++j) to[j * kSpacing] = c[j] = m_kept[next / kSpacing + j];
        for (std::size_t i = 1; i < kSpacing; ++i) {
            for (std::size_t j = 0; j < chains; ++j) to[j * kSpacing + i] = c[j] += m_step;
        }
        next += chains * kSpacing;
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

#include "model/label_metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "model/label_metrics_simd.h"

namespace orbitograph {

namespace {

// The entropy of a box whose labels `scratch` holds, sorted in place: the
// terms of runs of equal labels, in increasing order of the label.
template <class Label>
double SortedEntropy(std::vector<Label>& scratch) {
    std::sort(scratch.begin(), scratch.end());
    const double n = static_cast<double>(scratch.size());
    double entropy = 0.0;
    for (auto run = scratch.begin(); run != scratch.end();) {
        const auto next = std::find_if(run, scratch.end(), [v = *run](Label l) { return l != v; });
        const double p = static_cast<double>(next - run) / n;
        entropy -= p * std::log(p);
        run = next;
    }
    return entropy;
}

// The boxes' part of the metrics. A box holding one label has entropy
// exactly 0 (its one term is -1 * ln 1), so only the others are sorted.
template <class Label>
void BoxEntropies(const Label* l, std::size_t rows, std::size_t cols, std::size_t b, LabelMetrics& m) {
    const std::size_t boxRows = rows / b, boxCols = cols / b;
    m.boxes = static_cast<std::int64_t>(boxRows * boxCols);
    std::vector<Label> scratch;
    if (m.boxes > 0) scratch.resize(b * b);
    double total = 0.0;
    for (std::size_t br = 0; br < boxRows; ++br) {
        const Label* band = l + br * b * cols;
        for (std::size_t c0 = 0; c0 < boxCols * b; c0 += b) {
            const Label first = band[c0];
            bool one = true;
            for (std::size_t t = 0; t < b; ++t) {
                const Label* row = band + t * cols + c0;
                for (std::size_t u = 0; u < b; ++u) one &= row[u] == first;
            }
            if (one) continue;
            for (std::size_t t = 0; t < b; ++t) std::copy_n(band + t * cols + c0, b, scratch.begin() + t * b);
            total += SortedEntropy(scratch);
            ++m.boundaryBoxes;
        }
    }
    m.sb = m.boxes > 0 ? total / static_cast<double>(m.boxes) : std::numeric_limits<double>::quiet_NaN();
    m.sbb = m.boundaryBoxes > 0 ? total / static_cast<double>(m.boundaryBoxes) : 0.0;
}

// The least-squares slope of y on x from the centred sums; NaN below two points.
double Slope(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = x.size();
    if (n < 2) return std::numeric_limits<double>::quiet_NaN();
    double sx = 0.0, sy = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
    }
    const double mx = sx / static_cast<double>(n), my = sy / static_cast<double>(n);
    double sxy = 0.0, sxx = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
    }
    return sxy / sxx;
}

}  // namespace

std::optional<MetricsRefusal> CheckMetrics(std::size_t labels, std::size_t rows, std::size_t cols, double step,
                                           std::int32_t box, std::span<const std::int32_t> ks) {
    if (cols != 0 && (rows > labels / cols || rows * cols != labels)) return MetricsRefusal::ShapeNotValid;
    if (cols == 0 && labels != 0) return MetricsRefusal::ShapeNotValid;
    if (!(step > 0.0) || !std::isfinite(step)) return MetricsRefusal::StepNotValid;
    if (box < 1) return MetricsRefusal::BoxNotValid;
    for (std::size_t i = 0; i < ks.size(); ++i) {
        if (ks[i] < 1 || (i > 0 && ks[i] <= ks[i - 1])) return MetricsRefusal::DistancesNotValid;
    }
    return std::nullopt;
}

template <class Label>
LabelMetrics ComputeLabelMetrics(std::span<const Label> labels, std::size_t rows, std::size_t cols, double step,
                                 std::int32_t box, std::span<const std::int32_t> ks) {
    if (CheckMetrics(labels.size(), rows, cols, step, box, ks)) throw std::invalid_argument("metrics refused");
    LabelMetrics m;
    BoxEntropies(labels.data(), rows, cols, static_cast<std::size_t>(box), m);
    std::vector<double> x, y;
    for (const std::int32_t k : ks) {
        const auto uk = static_cast<std::size_t>(k);
        if (2 * uk >= rows || 2 * uk >= cols) break;  // no larger k fits either
        const double inner = static_cast<double>((rows - 2 * uk) * (cols - 2 * uk));
        const double f = static_cast<double>(metrics_kernels::DifferingPoints(labels.data(), rows, cols, uk)) / inner;
        m.f.push_back({k, f});
        if (f > 0.0) {
            x.push_back(std::log(static_cast<double>(k) * step));
            y.push_back(std::log(f));
        }
    }
    m.alpha = Slope(x, y);
    return m;
}

template LabelMetrics ComputeLabelMetrics(std::span<const std::uint8_t>, std::size_t, std::size_t, double, std::int32_t,
                                          std::span<const std::int32_t>);
template LabelMetrics ComputeLabelMetrics(std::span<const std::int32_t>, std::size_t, std::size_t, double, std::int32_t,
                                          std::span<const std::int32_t>);
template LabelMetrics ComputeLabelMetrics(std::span<const std::int64_t>, std::size_t, std::size_t, double, std::int32_t,
                                          std::span<const std::int32_t>);

}  // namespace orbitograph

#include "reference_metrics.h"

#include <cmath>
#include <limits>
#include <map>

namespace orbitograph::reference {

LabelMetrics Metrics(const std::vector<std::int64_t>& labels, std::size_t rows, std::size_t cols, double step,
                     std::int32_t box, const std::vector<std::int32_t>& ks) {
    const auto L = [&](std::size_t i, std::size_t j) { return labels[i * cols + j]; };
    const auto b = static_cast<std::size_t>(box);
    LabelMetrics m;
    double sum = 0.0;
    for (std::size_t r0 = 0; r0 + b <= rows; r0 += b) {
        for (std::size_t c0 = 0; c0 + b <= cols; c0 += b) {
            std::map<std::int64_t, std::int64_t> count;
            for (std::size_t i = r0; i < r0 + b; ++i) {
                for (std::size_t j = c0; j < c0 + b; ++j) ++count[L(i, j)];
            }
            double entropy = 0.0;
            for (const auto& [label, n] : count) {
                const double p = static_cast<double>(n) / static_cast<double>(b * b);
                entropy -= p * std::log(p);
            }
            ++m.boxes;
            sum += entropy;
            if (entropy > 0.0) ++m.boundaryBoxes;
        }
    }
    m.sb = m.boxes == 0 ? std::numeric_limits<double>::quiet_NaN() : sum / static_cast<double>(m.boxes);
    m.sbb = m.boundaryBoxes == 0 ? 0.0 : sum / static_cast<double>(m.boundaryBoxes);

    std::vector<double> x, y;
    for (const std::int32_t k32 : ks) {
        const auto k = static_cast<std::size_t>(k32);
        if (!(rows > 2 * k && cols > 2 * k)) continue;
        std::int64_t differing = 0, points = 0;
        for (std::size_t i = k; i < rows - k; ++i) {
            for (std::size_t j = k; j < cols - k; ++j) {
                ++points;
                const std::int64_t v = L(i, j);
                if (v != L(i - k, j) || v != L(i + k, j) || v != L(i, j - k) || v != L(i, j + k)) ++differing;
            }
        }
        const double f = static_cast<double>(differing) / static_cast<double>(points);
        m.f.push_back({k32, f});
        if (f > 0.0) {
            x.push_back(std::log(k32 * step));
            y.push_back(std::log(f));
        }
    }
    m.alpha = std::numeric_limits<double>::quiet_NaN();
    if (x.size() >= 2) {
        double mx = 0.0, my = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            mx += x[i] / static_cast<double>(x.size());
            my += y[i] / static_cast<double>(y.size());
        }
        double sxy = 0.0, sxx = 0.0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            sxy += (x[i] - mx) * (y[i] - my);
            sxx += (x[i] - mx) * (x[i] - mx);
        }
        m.alpha = sxy / sxx;
    }
    return m;
}

}  // namespace orbitograph::reference

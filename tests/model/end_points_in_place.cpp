#include "end_points_in_place.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace orbitograph::engine {

void EndPointsInPlace(EndPointKernel kernel, const OrbitJob& job, double* x, double* y, std::size_t n) {
    std::vector<double> sx(n + kKernelPadding), sy(n + kKernelPadding);
    std::vector<double> ex(n + kKernelPadding), ey(n + kKernelPadding), index(n + kKernelPadding);
    std::copy(x, x + n, sx.begin());
    std::copy(y, y + n, sy.begin());
    const std::size_t m = kernel(job, sx.data(), sy.data(), n, ex.data(), ey.data(), index.data());
    std::fill(x, x + n, std::numeric_limits<double>::quiet_NaN());
    std::fill(y, y + n, std::numeric_limits<double>::quiet_NaN());
    for (std::size_t j = 0; j < m; ++j) {
        const auto i = static_cast<std::size_t>(index[j]);
        x[i] = ex[j];
        y[i] = ey[j];
    }
}

}  // namespace orbitograph::engine

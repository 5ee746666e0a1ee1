#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/label_metrics_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

#include "model/label_metrics_simd.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::metrics_kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Vectors of the row's points from k on, the last few points one by one.
template <class Label>
std::int64_t Differing(const Label* l, std::size_t rows, std::size_t cols, std::size_t k) {
    const hn::ScalableTag<Label> d;
    const std::size_t lanes = hn::Lanes(d), end = cols - k;
    std::int64_t count = 0;
    for (std::size_t i = k; i < rows - k; ++i) {
        const Label* row = l + i * cols;
        const Label* up = row - k * cols;
        const Label* down = row + k * cols;
        std::size_t j = k;
        for (; j + lanes <= end; j += lanes) {
            const auto v = hn::LoadU(d, row + j);
            const auto differs =
                hn::Or(hn::Or(hn::Ne(v, hn::LoadU(d, up + j)), hn::Ne(v, hn::LoadU(d, down + j))),
                       hn::Or(hn::Ne(v, hn::LoadU(d, row + j - k)), hn::Ne(v, hn::LoadU(d, row + j + k))));
            count += static_cast<std::int64_t>(hn::CountTrue(d, differs));
        }
        for (; j < end; ++j) {
            const Label v = row[j];
            count += (v != up[j]) | (v != down[j]) | (v != row[j - k]) | (v != row[j + k]);
        }
    }
    return count;
}

std::int64_t DifferingU8(const std::uint8_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return Differing(l, rows, cols, k);
}
std::int64_t DifferingI32(const std::int32_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return Differing(l, rows, cols, k);
}
std::int64_t DifferingI64(const std::int64_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return Differing(l, rows, cols, k);
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::metrics_kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::metrics_kernels {

HWY_EXPORT(DifferingU8);
HWY_EXPORT(DifferingI32);
HWY_EXPORT(DifferingI64);

std::int64_t DifferingPoints(const std::uint8_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return HWY_DYNAMIC_DISPATCH(DifferingU8)(l, rows, cols, k);
}
std::int64_t DifferingPoints(const std::int32_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return HWY_DYNAMIC_DISPATCH(DifferingI32)(l, rows, cols, k);
}
std::int64_t DifferingPoints(const std::int64_t* l, std::size_t rows, std::size_t cols, std::size_t k) {
    return HWY_DYNAMIC_DISPATCH(DifferingI64)(l, rows, cols, k);
}

}  // namespace orbitograph::metrics_kernels
#endif

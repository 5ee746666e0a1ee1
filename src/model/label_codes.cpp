// LabelCodes, compiled once per instruction set and chosen at run time: one
// byte shuffle maps a vector of kinds to their label codes through a 16-byte
// table (kinds are below 7, so every index falls in the table).

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/label_codes.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

#include <array>
#include <cstring>

#include "model/grid_labels.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

void LabelCodesTarget(const EndKind* kinds, std::size_t n, std::uint8_t* labels) {
    alignas(16) std::array<std::uint8_t, 16> table{};
    for (std::size_t k = 0; k <= static_cast<std::size_t>(EndKind::None); ++k)
        table[k] = LabelOf(static_cast<EndKind>(k));
    const hn::ScalableTag<std::uint8_t> d;
    const auto lookup = hn::LoadDup128(d, table.data());
    const std::size_t lanes = hn::Lanes(d);
    const auto* in = reinterpret_cast<const std::uint8_t*>(kinds);
    std::size_t i = 0;
    for (; i + lanes <= n; i += lanes) hn::StoreU(hn::TableLookupBytes(lookup, hn::LoadU(d, in + i)), d, labels + i);
    for (; i < n; ++i) labels[i] = table[in[i]];
}

}  // namespace
}  // namespace HWY_NAMESPACE
}  // namespace orbitograph
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph {

HWY_EXPORT(LabelCodesTarget);

void LabelCodes(std::span<const EndKind> kinds, std::uint8_t* labels) {
    static_assert(sizeof(EndKind) == 1);
    HWY_DYNAMIC_DISPATCH(LabelCodesTarget)(kinds.data(), kinds.size(), labels);
}

}  // namespace orbitograph
#endif

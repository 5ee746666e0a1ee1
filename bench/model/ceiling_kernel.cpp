#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ceiling_kernel.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "model/engine/map_step-inl.h"

#include "ceiling_kernel.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::bench {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;
namespace eng = engine::HWY_NAMESPACE;

template <std::size_t kG, bool kOutX, bool kOutY>
void Steps(const eng::Constants& c, std::int64_t steps, double* px, double* py) {
    const eng::D d;
    const std::size_t lanes = hn::Lanes(d);
    eng::V x[kG], y[kG];
    for (std::size_t g = 0; g < kG; ++g) {
        x[g] = hn::LoadU(d, px + g * lanes);
        y[g] = hn::LoadU(d, py + g * lanes);
    }
    for (std::int64_t i = 0; i < steps; ++i) {
#pragma GCC unroll 16
        for (std::size_t g = 0; g < kG; ++g) eng::Step<kOutX, kOutY>(c, x[g], y[g]);
    }
    for (std::size_t g = 0; g < kG; ++g) {
        hn::StoreU(x[g], d, px + g * lanes);
        hn::StoreU(y[g], d, py + g * lanes);
    }
}

template <bool kOutX, bool kOutY>
void ByGroups(const eng::Constants& c, int groups, std::int64_t steps, double* x, double* y) {
    switch (groups) {
        case 2: return Steps<2, kOutX, kOutY>(c, steps, x, y);
        case 4: return Steps<4, kOutX, kOutY>(c, steps, x, y);
        case 6: return Steps<6, kOutX, kOutY>(c, steps, x, y);
        case 8: return Steps<8, kOutX, kOutY>(c, steps, x, y);
        case 10: return Steps<10, kOutX, kOutY>(c, steps, x, y);
        case 12: return Steps<12, kOutX, kOutY>(c, steps, x, y);
        default: return Steps<16, kOutX, kOutY>(c, steps, x, y);
    }
}

}  // namespace

std::size_t LanesTarget() { return hn::Lanes(eng::D()); }

void CeilingTarget(const engine::OrbitJob& job, int groups, std::int64_t steps, double* x, double* y) {
    const eng::Constants c(job);
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return ByGroups<true, true>(c, groups, steps, x, y);
        return ByGroups<true, false>(c, groups, steps, x, y);
    }
    if (job.kcOutward == 1) return ByGroups<false, true>(c, groups, steps, x, y);
    return ByGroups<false, false>(c, groups, steps, x, y);
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::bench
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::bench {

HWY_EXPORT(LanesTarget);
HWY_EXPORT(CeilingTarget);

std::size_t CeilingLanes() { return HWY_DYNAMIC_DISPATCH(LanesTarget)(); }

void CeilingSteps(const engine::OrbitJob& job, int groups, std::int64_t steps, double* x, double* y) {
    HWY_DYNAMIC_DISPATCH(CeilingTarget)(job, groups, steps, x, y);
}

}  // namespace orbitograph::bench
#endif

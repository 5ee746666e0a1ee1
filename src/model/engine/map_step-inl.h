// The map step across vector lanes, for the code compiled once per
// instruction set (end_points_simd.cpp, orbit_walks_simd.cpp): included after
// hwy/foreach_target.h, once per target, as Highway's per-target headers are.
//
// Exactness. Every lane performs the scalar step's operations (MapStep) in
// its order with the same IEEE double rounding: x*x, y*y, difference, times
// a; x*y, doubled by addition, times a; the action's sign from a comparison of
// that term with zero (false for zero of either sign and for NaN, which
// therefore take +magnitude under either direction); then one addition. No
// fused multiply-add is used and none may be formed: the whole project builds
// with -ffp-contract=off.

#if defined(ORBITOGRAPH_MAP_STEP_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef ORBITOGRAPH_MAP_STEP_INL_H_
#undef ORBITOGRAPH_MAP_STEP_INL_H_
#else
#define ORBITOGRAPH_MAP_STEP_INL_H_
#endif

#include "hwy/highway.h"
#include "model/engine/orbit_job.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::engine {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;

// The job's values in every lane.
struct Constants {
    V a, dc, negDc, kc, negKc, zero, four, escape, guardX, guardY;
    explicit Constants(const OrbitJob& job)
        : a(hn::Set(D(), job.a)),
          dc(hn::Set(D(), job.dc)),
          negDc(hn::Set(D(), -job.dc)),
          kc(hn::Set(D(), job.kc)),
          negKc(hn::Set(D(), -job.kc)),
          zero(hn::Zero(D())),
          four(hn::Set(D(), 4.0)),
          escape(hn::Set(D(), job.escapeSquare)),
          guardX(hn::Set(D(), -100.0)),
          guardY(hn::Set(D(), 100.0)) {}
};

// One map step of every lane from (x, y), whose squares are xx and yy.
// Outward: a negative term gives -magnitude, anything else (positive, zero,
// NaN) +magnitude. Inward: a positive term gives -magnitude, anything else
// +magnitude. (A blend measured faster here than forming -magnitude by a
// sign-bit XOR.)
template <bool kOutX, bool kOutY>
HWY_INLINE void StepFromSquares(const Constants& c, V xx, V yy, V& x, V& y) {
    const V p = hn::Mul(hn::Sub(xx, yy), c.a);
    const V xy = hn::Mul(x, y);
    const V q = hn::Mul(hn::Add(xy, xy), c.a);
    const M flipX = kOutX ? hn::Lt(p, c.zero) : hn::Gt(p, c.zero);
    const M flipY = kOutY ? hn::Lt(q, c.zero) : hn::Gt(q, c.zero);
    x = hn::Add(p, hn::IfThenElse(flipX, c.negDc, c.dc));
    y = hn::Add(q, hn::IfThenElse(flipY, c.negKc, c.kc));
}

template <bool kOutX, bool kOutY>
HWY_INLINE void Step(const Constants& c, V& x, V& y) {
    StepFromSquares<kOutX, kOutY>(c, hn::Mul(x, x), hn::Mul(y, y), x, y);
}

// The guard is open where y < 100 or x > -100 (never for NaN).
HWY_INLINE M GuardOpen(const Constants& c, V x, V y) { return hn::Or(hn::Lt(y, c.guardY), hn::Gt(x, c.guardX)); }

HWY_INLINE M GuardClosed(const Constants& c, V x, V y) { return hn::Not(GuardOpen(c, x, y)); }

// The escape test of escape_bound.cpp: x*x + y*y not <= escapeSquare.
HWY_INLINE M Escaped(const Constants& c, V x, V y) {
    return hn::Not(hn::Le(hn::Add(hn::Mul(x, x), hn::Mul(y, y)), c.escape));
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::engine
HWY_AFTER_NAMESPACE();

#endif  // ORBITOGRAPH_MAP_STEP_INL_H_

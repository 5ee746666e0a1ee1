// The escape threshold of an OrbitJob and why it is exact.
//
// Notation: z = (x, y) a state, |z| its Euclidean norm, u = 2^-53 the unit
// roundoff, c = |(dc, kc)| (the action's components have magnitudes |dc| and
// |kc| at every step, only their signs change), f the computed map step.
//
// Lemma 1 (non-finite states are absorbing and outside). If x or y is an
// infinity or NaN, then x*x or y*y is too, so x*x - y*y is +-inf or NaN (inf -
// inf = NaN), P = (x*x - y*y) * a is +-inf or NaN for every finite a (0 * inf
// = NaN), and x' = P + Cx is not finite. A frozen guard state does not change.
// So every later x is not finite, and the square test, false for infinities
// beyond 2 and for NaN, puts the end point outside.
//
// Lemma 2 (escape). Let a != 0 and R >= max(2/|a|, c) * (1 + e) with e = 2^-21,
// R >= 2*sqrt(2) * (1 + e) and R <= 2^500. For every finite z with |z| >= R the
// computed f(z) is not finite or has |f(z)| >= R.
//   Proof. Each product and difference rounds with relative error <= u and the
//   doubling x*y + x*y is exact, so the computed (P, Q) differs from the exact
//   a*z^2 (complex square) by at most |a||z|^2 (3u + 2u + O(u^2)) <= 4u|a||z|^2;
//   underflow adds at most 2^-1071 (|a| + 1) in absolute terms, which is below
//   u|a||z|^2 because |z|^2 >= 8 and |a| >= 2/R >= 2^-499. Hence
//   |(P, Q) + C| >= |a||z|^2 (1 - 4u) - c. With |a||z| >= 2(1 + e) and
//   c <= |z|/(1 + e) this is >= |z| (2(1 + e)(1 - 4u) - 1/(1 + e))
//   >= |z| (1 + 3e - e^2 - 8u(1 + e)) >= |z| (1 + 2e). The two final additions
//   lose at most a factor (1 - u), so |f(z)| >= |z| (1 + 2e)(1 - u) >= |z| >= R,
//   unless an overflow made f(z) not finite.
// By Lemmas 1 and 2, and because the frozen guard keeps its state, once a
// state of an orbit (guarded or not) has |z| >= R every later state is not
// finite or has |z| >= R > 2*sqrt(2): the end point lies outside the square,
// whatever the remaining number of steps.
//
// The test. A kernel computes s = x*x + y*y and stops an orbit when
// !(s <= escapeSquare), escapeSquare = R*R*(1 + 2^-20) <= 2^1000. This proves
// |z| >= R: for finite s, |z|^2 >= s/(1 + u)^2 > R^2 (1 - u)^2 (1 + 2^-20) /
// (1 + u)^2 >= R^2; s = inf means a square or the sum overflowed, so
// |z|^2 > 2^1022 > R^2; s = NaN means a NaN coordinate (Lemma 1).
//
// The computed R below is max(c, 2/|a|, 2*sqrt(2)) * (1 + 2^-20): hypot, the
// division and the constant each err by less than an ulp, so R exceeds the
// exact maximum by a factor of at least 1 + 2^-21 = 1 + e, as Lemma 2 asks.
// a = 0, a subnormal |a|, or a huge c gives a bound beyond 2^500: the escape
// shortcut is then off (escapeSquare = +inf) and only NaN states stop early.
//
// The guard. A frozen state has x <= -100 and y >= 100, so its computed s is
// at least 10000 + 10000 (rounding is monotone and 10000 is exact). When
// escapeSquare < 20000 such a state always trips the escape test, before or
// when the guard would freeze it; the guard can then never change a result
// and kernels may step with the unguarded map. Otherwise (guardMatters) they
// test the guard at every state they step from.

#include <cmath>
#include <limits>

#include "model/engine/orbit_job.h"

namespace orbitograph::engine {

double EscapeSquare(double a, double dc, double kc) {
    const double margin = 1.0 + 0x1p-20;
    if (a == 0.0) return std::numeric_limits<double>::infinity();
    const double c = std::hypot(dc, kc);
    const double r = std::fmax(std::fmax(c, 2.0 / std::fabs(a)), 2.8284271247461903) * margin;
    return r <= 0x1p500 ? r * r * margin : std::numeric_limits<double>::infinity();
}

}  // namespace orbitograph::engine

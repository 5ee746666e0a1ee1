#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/engine/orbit_job.h"
#include "model/orbit.h"

namespace orbitograph::engine {

namespace {

bool SameBits(State a, State b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
}

// One orbit with the guard applied exactly, the escape test of
// escape_bound.cpp at every state, and Brent's cycle detection: the state
// saved at step s is compared bit for bit with every later state; at step
// t = s + lam an equal state proves, as the step is a function of the state's
// bits alone, that states t and s, t + k and s + k agree for all k, so the
// orbit from s is periodic with period lam and the end point after the
// remaining r steps equals the one after r mod lam steps. The saved state
// moves forward when lam reaches a power of two, so a cycle of period p
// entered at step mu is found within about 2 * max(mu, p) + p steps.
State EndPoint(const OrbitJob& job, const MapParams& m, State s, std::int64_t& executed, std::int64_t waiting) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    std::int64_t remaining = job.steps;
    State saved = s;
    std::int64_t lam = 0;
    std::int64_t power = 1;
    bool detecting = true;
    while (remaining > 0) {
        // A frozen guard state never changes again.
        if (!GuardOpen(s)) return s;
        if (!(s.x * s.x + s.y * s.y <= job.escapeSquare)) return {nan, nan};
        s = MapStep(m, s);
        --remaining;
        ++executed;
        if ((remaining & 0xFFFFF) == 0) {
            if (Cancelled(job)) return {nan, nan};
            ReportLanes(job, 1, job.steps - remaining, remaining, waiting);
            ReportSteps(job, 0x100000);
        }
        if (!detecting) continue;
        ++lam;
        if (SameBits(s, saved)) {
            remaining %= lam;
            detecting = false;
        } else if (lam == power) {
            saved = s;
            power *= 2;
            lam = 0;
        }
    }
    return s;
}

}  // namespace

std::size_t EndPointsScalar(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                            double* ey, double* index) {
    const MapParams m{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    std::size_t listed = 0;
    std::int64_t executed = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const State e = EndPoint(job, m, {x[i], y[i]}, executed, static_cast<std::int64_t>(n - i - 1));
        if (std::isnan(e.x)) continue;  // proven outside (a NaN end point is outside too)
        ex[listed] = e.x;
        ey[listed] = e.y;
        index[listed] = static_cast<double>(i);
        ++listed;
    }
    CountExecuted(job, executed);
    return listed;
}

}  // namespace orbitograph::engine

#pragma once

#include <cstdint>

#include "model/model_params.h"

namespace orbitograph {

// The fields of the model the map reads.
struct MapParams {
    double a;
    double dc;
    double kc;
    std::int32_t dcOutward;
    std::int32_t kcOutward;
    std::int32_t iterations;

    static MapParams From(const ModelParams& p) { return {p.a, p.dc, p.kc, p.dcOutward, p.kcOutward, p.iterations}; }
};

struct State {
    double x;
    double y;
};

// One component of the external action for the quadratic term of this step:
// zero (either sign) and NaN take +magnitude under both directions.
inline double ActionComponent(double term, double magnitude, std::int32_t outward) {
    if (term > 0.0) return outward == 1 ? magnitude : -magnitude;
    if (term < 0.0) return outward == 1 ? -magnitude : magnitude;
    return magnitude;
}

inline State ExternalAction(const MapParams& m, double p, double q) {
    return {ActionComponent(p, m.dc, m.dcOutward), ActionComponent(q, m.kc, m.kcOutward)};
}

// One step of the map, every operation a double in the order written:
// P = (x*x - y*y) * a, Q = (x*y + x*y) * a, then (P + Cx, Q + Cy).
inline State MapStep(const MapParams& m, State s) {
    const double p = (s.x * s.x - s.y * s.y) * m.a;
    const double xy = s.x * s.y;
    const double q = (xy + xy) * m.a;
    const State c = ExternalAction(m, p, q);
    return {p + c.x, q + c.y};
}

// True while the guard lets the orbit move: once y >= 100 and x <= -100 the
// point is frozen for good (and a NaN pair never passes either test).
inline bool GuardOpen(State s) { return s.y < 100.0 || s.x > -100.0; }

// End point after iterations + 1 steps; a negative count makes none. The
// counter is 64-bit, so iterations = INT32_MAX does not overflow it.
inline State IterateOrbit(const MapParams& m, State s) {
    for (std::int64_t k = 0; k <= static_cast<std::int64_t>(m.iterations); ++k) {
        if (GuardOpen(s)) s = MapStep(m, s);
    }
    return s;
}

}  // namespace orbitograph

#include "reference_model.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace orbitograph::reference {

namespace {

double Component(double term, double magnitude, int outward) {
    if (term > 0) return outward == 0 ? -magnitude : magnitude;
    if (term < 0) return outward == 0 ? magnitude : -magnitude;
    return magnitude;
}

// One step of the map, written literally; a state beyond the guard stays put.
// Always inlined: the benchmarks time the reference's loop as written out,
// not a call per step.
[[gnu::always_inline]] inline void Step(const ModelParams& p, double& x, double& y) {
    if (y < 100.0 || x > -100.0) {
        double P = (x * x - y * y) * p.a;
        double Q = (x * y + x * y) * p.a;
        x = P + Component(P, p.dc, p.dcOutward);
        y = Q + Component(Q, p.kc, p.kcOutward);
    }
}

bool InSquare(double x, double y, double r) { return -r <= x && x <= r && -r <= y && y <= r; }

}  // namespace

std::vector<RefState> OrbitStates(const ModelParams& p, double x0, double y0) {
    double x = x0, y = y0;
    std::vector<RefState> states{{x, y}};
    for (long long k = 0; p.iterations >= 0 && k <= p.iterations; ++k) {
        Step(p, x, y);
        states.push_back({x, y});
    }
    return states;
}

// If states k < k + q <= T were equal, the states from k on would repeat
// with period q (a step is a function of the state's bits), so the last state
// s_T would equal s_{T - q}: comparing s_T with the others is enough.
bool NeverSettles(const ModelParams& p, double x0, double y0) {
    const std::vector<RefState> s = OrbitStates(p, x0, y0);
    const auto same = [](RefState a, RefState b) {
        return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
               std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
    };
    for (const RefState& q : s) {
        if (!InSquare(q.x, q.y, 2.0)) return false;
    }
    for (std::size_t k = 0; k + 1 < s.size(); ++k) {
        if (same(s[k], s.back())) return false;
    }
    return true;
}

// The same steps without keeping the states: the reference's time in the
// benchmarks is the plain iteration's.
void IterateOrbit(const ModelParams& p, double x0, double y0, double& xe, double& ye) {
    double x = x0, y = y0;
    for (long long k = 0; p.iterations >= 0 && k <= p.iterations; ++k) {
        Step(p, x, y);
    }
    xe = x;
    ye = y;
}

PointList ComputeAttractors(const ModelParams& p, Origin o, AttractorEnds* ends) {
    PointList out;
    for (double x = p.x1; x <= p.x2; x = x + p.step) {
        for (double y = p.y1; y <= p.y2; y = y + p.step) {
            double xe, ye;
            IterateOrbit(p, x, y, xe, ye);
            if (InSquare(xe, ye, 2)) {
                int px = static_cast<int>(xe / p.step + static_cast<double>(o.originX));
                int py = static_cast<int>(static_cast<double>(o.originY) - ye / p.step);
                out.push_back({px, py});
                if (ends) ends->x.push_back(xe), ends->y.push_back(ye);
            }
        }
    }
    return out;
}

SpaceLists ComputeBasins(const ModelParams& p, Origin o) {
    SpaceLists s;
    int centreColumn = static_cast<int>((p.x1 + (p.x2 - p.x1) * 0.5) / p.step);
    int centreRow = static_cast<int>((p.y1 + (p.y2 - p.y1) * 0.5) / p.step);
    int column = static_cast<int>(p.x1 / p.step);
    for (double x = p.x1; x <= p.x2; x = x + p.step, column = column + 1) {
        int row = static_cast<int>(p.y1 / p.step);
        for (double y = p.y1; y <= p.y2; y = y + p.step, row = row + 1) {
            double xe, ye;
            IterateOrbit(p, x, y, xe, ye);
            Point px{o.originX - centreColumn + column, o.originY - row + centreRow};
            if (!InSquare(xe, ye, 2)) {
                s.basinInfinity.push_back(px);
            } else if (InSquare(xe, ye, 0.1)) {
                s.basinZero.push_back(px);
            } else {
                if ((xe < -1 || xe > 1) && -1 <= ye && ye <= 1) s.basinO.push_back(px);
                if ((ye <= -1 || ye >= 1) && -1 < xe && xe < 1) s.basinH.push_back(px);
                if (-1 <= xe && xe <= 1 && -1 < ye && ye < 1) s.basinT.push_back(px);
                if ((xe <= -1 || xe >= 1) && (ye < -1 || ye > 1)) s.basinM.push_back(px);
            }
        }
    }
    return s;
}

SpaceLists ComputeAll(const ModelParams& p, Origin o, bool withEnds) {
    SpaceLists s = ComputeBasins(p, o);
    s.attractors = ComputeAttractors(p, o, withEnds ? &s.attractorEnds : nullptr);
    return s;
}

std::string Describe(const ModelParams& p) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "a=%.17g dc=%.17g kc=%.17g out=%d,%d N=%d x=[%.17g,%.17g] y=[%.17g,%.17g] h=%.17g",
                  p.a, p.dc, p.kc, p.dcOutward, p.kcOutward, p.iterations, p.x1, p.x2, p.y1, p.y2, p.step);
    return buf;
}

}  // namespace orbitograph::reference

#include "reference_model.h"

namespace orbitograph::reference {

namespace {

double Component(double term, double magnitude, int outward) {
    if (term > 0) return outward == 0 ? -magnitude : magnitude;
    if (term < 0) return outward == 0 ? magnitude : -magnitude;
    return magnitude;
}

bool InSquare(double x, double y, double r) { return -r <= x && x <= r && -r <= y && y <= r; }

}  // namespace

std::vector<RefState> OrbitStates(const ModelParams& p, double x0, double y0) {
    double x = x0, y = y0;
    std::vector<RefState> states{{x, y}};
    for (long long k = 0; p.iterations >= 0 && k <= p.iterations; ++k) {
        if (y < 100.0 || x > -100.0) {
            double P = (x * x - y * y) * p.a;
            double Q = (x * y + x * y) * p.a;
            double cx = Component(P, p.dc, p.dcOutward);
            double cy = Component(Q, p.kc, p.kcOutward);
            x = P + cx;
            y = Q + cy;
        }
        states.push_back({x, y});
    }
    return states;
}

// The same steps without keeping the states: the reference's time in the
// benchmarks is the plain iteration's.
void IterateOrbit(const ModelParams& p, double x0, double y0, double& xe, double& ye) {
    double x = x0, y = y0;
    for (long long k = 0; p.iterations >= 0 && k <= p.iterations; ++k) {
        if (y < 100.0 || x > -100.0) {
            double P = (x * x - y * y) * p.a;
            double Q = (x * y + x * y) * p.a;
            double cx = Component(P, p.dc, p.dcOutward);
            double cy = Component(Q, p.kc, p.kcOutward);
            x = P + cx;
            y = Q + cy;
        }
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

}  // namespace orbitograph::reference

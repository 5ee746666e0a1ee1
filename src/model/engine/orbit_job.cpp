#include "model/engine/orbit_job.h"

namespace orbitograph::engine {

OrbitJob MakeOrbitJob(const ModelParams& p) {
    OrbitJob job{};
    job.a = p.a;
    job.dc = p.dc;
    job.kc = p.kc;
    job.dcOutward = p.dcOutward;
    job.kcOutward = p.kcOutward;
    job.steps = static_cast<std::int64_t>(p.iterations) + 1;
    job.escapeSquare = EscapeSquare(p.a, p.dc, p.kc);
    // A frozen guard state has x <= -100 and y >= 100, so its computed sum
    // of squares is at least 20000: below that threshold the escape test
    // always stops such an orbit first (escape_bound.cpp, "The guard").
    job.guardMatters = !(job.escapeSquare < 20000.0);
    return job;
}

}  // namespace orbitograph::engine

#include "model/engine/orbit_job.h"

namespace orbitograph::engine {

void EndPointsVector(const OrbitJob& job, double* x, double* y, std::size_t n) { EndPointsScalar(job, x, y, n); }

}  // namespace orbitograph::engine

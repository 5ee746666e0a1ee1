#pragma once

// A synthetic kernel that bounds what the end-point kernel can reach: the
// map step's exact operations per lane (5 multiplications, 1 subtraction,
// 3 additions, 2 comparisons, 2 selections; map_step-inl.h), on `groups`
// independent vectors at once, with nothing else: no guard, no escape test,
// no cycle check, no lane refill, no bookkeeping. Compiled once per
// instruction set and dispatched to the best one allowed (as the engine is).

#include <cstdint>

#include "model/engine/orbit_job.h"

namespace orbitograph::bench {

// The vector counts the ceiling is measured with; the best is the ceiling.
inline constexpr int kCeilingGroups[] = {2, 4, 6, 8, 10, 12, 16};

// Doubles per vector of the instruction set in use.
std::size_t CeilingLanes();

// Makes `steps` unguarded map steps of job's map from each of the
// groups * CeilingLanes() states at x, y (groups one of kCeilingGroups) and
// writes the states reached back.
void CeilingSteps(const engine::OrbitJob& job, int groups, std::int64_t steps, double* x, double* y);

}  // namespace orbitograph::bench

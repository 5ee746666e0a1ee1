#pragma once

#include <string>
#include <vector>

#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph::reference {

// A literal transcription of the grid walk, the orbit and the classification:
// the attractor walk and the basin walk each iterate every start point in
// full, with no shortcut of any kind. The oracle for every faster engine.
struct Origin {
    int originX;
    int originY;
};

// ends: also the end points of the attractor walk that lie inside the
// square, as doubles.
PointList ComputeAttractors(const ModelParams& p, Origin o, AttractorEnds* ends = nullptr);
SpaceLists ComputeBasins(const ModelParams& p, Origin o);  // attractors left empty
SpaceLists ComputeAll(const ModelParams& p, Origin o, bool withEnds = false);

void IterateOrbit(const ModelParams& p, double x0, double y0, double& xe, double& ye);

// The states of IterateOrbit's orbit after 0, 1, ..., N + 1 steps (only the
// start point when N is negative).
struct RefState {
    double x;
    double y;
};
std::vector<RefState> OrbitStates(const ModelParams& p, double x0, double y0);

// Whether every state of that orbit lies inside the square [-2, 2]^2 (so it
// never passes an escape bound and never freezes) and no two are equal bit
// for bit: no exact shortcut can skip any of its steps.
bool NeverSettles(const ModelParams& p, double x0, double y0);

// Every parameter of p to the last bit, for a failing test's message.
std::string Describe(const ModelParams& p);

}  // namespace orbitograph::reference

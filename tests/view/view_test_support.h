#pragma once

#include <gtest/gtest.h>

#include "model/fractal_model.h"

namespace orbitograph::test {

// The model computed with p at (500, 350), the centre of a 1000 x 700
// client; with the attractors' exact end points, or with the analysis and
// the kind grid, when asked.
inline FractalModel ComputedAtCentre(const ModelParams& p = {}, bool attractorEnds = false, bool analysis = false) {
    ComputeControl control;
    control.attractorEnds = attractorEnds;
    control.kindGrid = control.analysis = analysis;
    FractalModel m;
    m.SetParams(p);
    m.originX = 500;
    m.originY = 350;
    EXPECT_EQ(m.Compute(control), ComputeStatus::Done);
    return m;
}

}  // namespace orbitograph::test

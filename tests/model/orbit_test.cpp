#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/orbit.h"

using namespace orbitograph;

namespace {

MapParams Defaults(int iterations = 10) { return MapParams::From(ModelParams{.iterations = iterations}); }

}  // namespace

TEST(Orbit, FirstStepsOfTheOriginWithDefaults) {
    const MapParams m = Defaults();
    State s = MapStep(m, {0.0, 0.0});
    EXPECT_EQ(s.x, 0.5);
    EXPECT_EQ(s.y, 0.8);
    s = MapStep(m, s);
    EXPECT_EQ(s.x, -0.812);
    EXPECT_EQ(s.y, -0.15999999999999992);
    const State e = IterateOrbit(m, {0.0, 0.0});
    EXPECT_NEAR(e.x, 424686.73, 0.01);
    EXPECT_NEAR(e.y, 10036.67, 0.01);
}

TEST(Orbit, OneStepOfOneAndAHalf) {
    const MapParams m = Defaults();
    const State s = MapStep(m, {1.0, 0.5});
    EXPECT_EQ(s.x, 1.1);
    EXPECT_EQ(s.y, 0.0);
}

TEST(Orbit, StepCountFollowsIterations) {
    // N = 0 makes exactly one step, any negative N none.
    EXPECT_EQ(IterateOrbit(Defaults(0), {0.0, 0.0}).x, 0.5);
    EXPECT_EQ(IterateOrbit(Defaults(0), {0.0, 0.0}).y, 0.8);
    EXPECT_EQ(IterateOrbit(Defaults(1), {0.0, 0.0}).x, -0.812);
    for (int n : {-1, -7, std::numeric_limits<int>::min()}) {
        const State e = IterateOrbit(Defaults(n), {1.25, -0.75});
        EXPECT_EQ(e.x, 1.25) << n;
        EXPECT_EQ(e.y, -0.75) << n;
    }
}

TEST(Orbit, GuardFreezesOnlyTheUpperLeftCorner) {
    struct Row {
        double x, y;
        bool frozen;
    } rows[] = {{-100, 100, true}, {-150, 150, true}, {-150, 99, false}, {-99, 150, false},
                {-100, 99.99999999999999, false}, {-99.99999999999999, 100, false}};
    for (const Row& r : rows) {
        for (int n : {0, 10, 1000}) {
            const State e = IterateOrbit(Defaults(n), {r.x, r.y});
            const bool same = e.x == r.x && e.y == r.y;
            EXPECT_EQ(same, r.frozen) << r.x << "," << r.y << " N=" << n;
        }
    }
}

TEST(Orbit, ZeroCoefficientEndsAtTheAction) {
    ModelParams p;
    p.a = 0.0;
    for (int dcOut : {0, 1}) {
        for (int kcOut : {0, 1}) {
            p.dcOutward = dcOut;
            p.kcOutward = kcOut;
            const State e = IterateOrbit(MapParams::From(p), {1.7, -1.3});
            EXPECT_EQ(e.x, 0.5);
            EXPECT_EQ(e.y, 0.8);
        }
    }
}

TEST(Orbit, ActionTable) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        double term, magnitude;
        int outward;
        double expected;
    } rows[] = {
        {1.0, 0.5, 0, -0.5},  {-1.0, 0.5, 0, 0.5},  {0.0, 0.5, 0, 0.5},  {-0.0, 0.5, 0, 0.5},  {nan, 0.5, 0, 0.5},
        {1.0, 0.5, 1, 0.5},   {-1.0, 0.5, 1, -0.5}, {0.0, 0.5, 1, 0.5},  {-0.0, 0.5, 1, 0.5},  {nan, 0.5, 1, 0.5},
        {1.0, -0.5, 1, -0.5}, {-1.0, -0.5, 1, 0.5}, {1.0, -0.5, 0, 0.5}, {0.0, -0.5, 1, -0.5},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ActionComponent(r.term, r.magnitude, r.outward), r.expected)
            << r.term << " " << r.magnitude << " " << r.outward;
    }
}

TEST(Orbit, NotANumberStaysPut) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const State e = IterateOrbit(Defaults(5), {nan, nan});
    EXPECT_TRUE(std::isnan(e.x));
    EXPECT_TRUE(std::isnan(e.y));
}

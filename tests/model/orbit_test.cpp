#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/orbit.h"

using namespace orbitograph;

namespace {

MapParams Defaults(int iterations = 10) { return MapParams::From(ModelParams{.iterations = iterations}); }

}  // namespace

// End points after N + 1 steps (none for a negative N) with the defaults
// otherwise; the exact values follow the order of the operations.
TEST(Orbit, EndPoints) {
    struct Row {
        State start;
        int n;
        State end;
    } rows[] = {
        {{0.0, 0.0}, 0, {0.5, 0.8}},
        {{0.0, 0.0}, 1, {-0.812, -0.15999999999999992}},
        {{1.0, 0.5}, 0, {1.1, 0.0}},
        {{1.25, -0.75}, -1, {1.25, -0.75}},
        {{1.25, -0.75}, -7, {1.25, -0.75}},
        {{1.25, -0.75}, std::numeric_limits<int>::min(), {1.25, -0.75}},
    };
    for (const Row& r : rows) {
        const State e = IterateOrbit(Defaults(r.n), r.start);
        EXPECT_EQ(e.x, r.end.x) << r.start.x << "," << r.start.y << " N=" << r.n;
        EXPECT_EQ(e.y, r.end.y) << r.start.x << "," << r.start.y << " N=" << r.n;
    }
    const State e = IterateOrbit(Defaults(10), {0.0, 0.0});
    EXPECT_NEAR(e.x, 424686.73, 0.01);
    EXPECT_NEAR(e.y, 10036.67, 0.01);
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

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/classify.h"
#include "model/fractal_model.h"
#include "model/grid.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

constexpr int kOx = 500;
constexpr int kOy = 350;

SpaceLists Compute(const ModelParams& p, int ox = kOx, int oy = kOy) {
    auto lists = ComputeSpaces(p, ox, oy);
    EXPECT_TRUE(lists.has_value());
    return lists ? *lists : SpaceLists{};
}

struct Counts {
    std::size_t attractors, infinity, zero, t, o, m, h;
    friend bool operator==(const Counts&, const Counts&) = default;
};

Counts CountsOf(const SpaceLists& s) {
    return {s.attractors.size(), s.basinInfinity.size(), s.basinZero.size(), s.basinT.size(),
            s.basinO.size(),     s.basinM.size(),        s.basinH.size()};
}

}  // namespace

TEST(Spaces, CountsOfWorkedCases) {
    struct Row {
        const char* name;
        ModelParams p;
        Counts expected;
    } rows[] = {
        {"defaults", {}, {14640, 145360, 0, 10088, 4412, 140, 0}},
        {"negative N", {.iterations = -1}, {160000, 0, 400, 39600, 40000, 40000, 40000}},
        {"A = 0", {.a = 0.0}, {160000, 0, 0, 160000, 0, 0, 0}},
        {"empty x", {.x1 = 1.0, .x2 = 0.5}, {0, 0, 0, 0, 0, 0, 0}},
        {"empty y", {.y1 = 0.5, .y2 = -0.5}, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CountsOf(Compute(r.p)), r.expected) << r.name;
    }
}

TEST(Spaces, AttractorPixels) {
    // A = 0 sends every orbit to (Dc, Kc) = (0.5, 0.8): pixel (ox + 50, oy - 80).
    const SpaceLists s = Compute({.a = 0.0});
    ASSERT_EQ(s.attractors.size(), 160000u);
    EXPECT_TRUE(std::all_of(s.attractors.begin(), s.attractors.end(),
                            [](Point q) { return q == Point{kOx + 50, kOy - 80}; }));
    // Negative N: end point = start point, each at its own grid position, in grid order.
    const SpaceLists n = Compute({.iterations = -1});
    EXPECT_EQ(n.attractors.front(), (Point{kOx - 200, kOy + 200}));
    EXPECT_EQ(n.attractors[1], (Point{kOx - 200, kOy + 199}));
    EXPECT_EQ(n.attractors[400], (Point{kOx - 199, kOy + 200}));
    // (2, 2) with step 0.01 lands on (ox + 200, oy - 200).
    const SpaceLists c = Compute({.x1 = 2.0, .x2 = 2.0, .y1 = 2.0, .y2 = 2.0, .iterations = -1});
    ASSERT_EQ(c.attractors.size(), 1u);
    EXPECT_EQ(c.attractors[0], (Point{kOx + 200, kOy - 200}));
    ASSERT_EQ(c.basinM.size(), 1u);
}

TEST(Spaces, BasinPixels) {
    const SpaceLists s = Compute({});
    ASSERT_FALSE(s.basinInfinity.empty());
    EXPECT_EQ(s.basinInfinity.front(), (Point{kOx - 200, kOy + 200}));
    const SpaceLists n = Compute({.iterations = -1});
    // The basin columns run ox - 200 .. ox + 199, the rows oy + 200 .. oy - 199.
    auto all = n.basinInfinity;
    for (const PointList* l : {&n.basinZero, &n.basinT, &n.basinO, &n.basinM, &n.basinH})
        all.insert(all.end(), l->begin(), l->end());
    const auto [minX, maxX] = std::minmax_element(all.begin(), all.end(), [](Point a, Point b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(all.begin(), all.end(), [](Point a, Point b) { return a.y < b.y; });
    EXPECT_EQ(minX->x, kOx - 200);
    EXPECT_EQ(maxX->x, kOx + 199);
    EXPECT_EQ(minY->y, kOy - 199);
    EXPECT_EQ(maxY->y, kOy + 200);
}

TEST(Spaces, TruncationTowardsZero) {
    const ModelParams p{.x1 = -1.995};
    EXPECT_EQ(ComputeBasinPlacement(p).firstColumn, -199);
    const SpaceLists s = Compute({.x1 = -1.995, .x2 = -1.995, .iterations = -1});
    // Single column: centre column trunc(-1.995 / 0.01) = -199, column index -199.
    ASSERT_EQ(s.basinO.size() + s.basinM.size(), 400u);
    EXPECT_EQ(s.basinM.front().x, kOx);
}

TEST(Spaces, ClassificationOfEndPoints) {
    struct Row {
        double x, y;
        EndKind kind;
    } rows[] = {
        {1, 0.5, EndKind::T},   {1.5, 1, EndKind::O},   {0.5, 1, EndKind::H},         {1, 1.5, EndKind::M},
        {2, 2, EndKind::M},     {0.1, -0.1, EndKind::Zero}, {2.0000001, 0, EndKind::Infinity},
        {1, 1, EndKind::None},  {-1, 1, EndKind::None}, {1, -1, EndKind::None},       {-1, -1, EndKind::None},
        {-2, -2, EndKind::M},   {0, -2.0, EndKind::H},  {0.10000000000000001, 0.2, EndKind::T},
        {0.0, 0.0, EndKind::Zero}, {-1.5, -0.99, EndKind::O}, {std::nan(""), 0.0, EndKind::Infinity},
    };
    for (const Row& r : rows) EXPECT_EQ(Classify(r.x, r.y), r.kind) << r.x << "," << r.y;
}

TEST(Spaces, SameAsReference) {
    const ModelParams sets[] = {
        {},
        {.iterations = -1},
        {.x1 = -1.0, .x2 = 2.0, .y1 = -2.0, .y2 = 0.0, .step = 0.03},
        {.a = -1.3, .step = 0.05, .dcOutward = 0, .kcOutward = 1, .dc = -0.4, .kc = 0.0, .iterations = 40},
        {.x1 = 0.3, .x2 = 0.3, .step = 0.007},
        {.a = 3.0, .step = 0.04, .iterations = 300},
        {.y1 = 0.3, .y2 = 0.3, .step = 0.0005, .iterations = -1},  // one long row
    };
    for (const ModelParams& p : sets) {
        for (auto origin : {reference::Origin{500, 350}, reference::Origin{-7, 1234}}) {
            const SpaceLists ref = reference::ComputeAll(p, origin);
            EXPECT_EQ(Compute(p, origin.originX, origin.originY), ref);
        }
    }
}

TEST(FractalModel, SeparateComputationsMatchTheCombinedOne) {
    FractalModel a;
    a.SetParams({.step = 0.02});
    a.originX = 10;
    a.originY = 20;
    a.ComputeAttractors();
    a.ComputeBasins();
    a.MakeReport();
    FractalModel b;
    b.SetParams({.step = 0.02});
    b.originX = 10;
    b.originY = 20;
    ASSERT_EQ(b.Compute(), ComputeStatus::Done);
    EXPECT_EQ(a.TakeLists(), b.TakeLists());
    EXPECT_EQ(a.report, b.report);
}

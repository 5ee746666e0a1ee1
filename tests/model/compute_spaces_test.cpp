#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/classify.h"
#include "model/fractal_model.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

SpaceLists Compute(const ModelParams& p, int ox = 500, int oy = 350) {
    auto lists = ComputeSpaces(p, ox, oy);
    EXPECT_TRUE(lists.has_value());
    return lists ? *lists : SpaceLists{};
}

std::vector<std::size_t> Counts(const SpaceLists& s) {
    return {s.attractors.size(), s.basinInfinity.size(), s.basinZero.size(), s.basinT.size(),
            s.basinO.size(),     s.basinM.size(),        s.basinH.size()};
}

}  // namespace

// Worked cases by their counts (attractors, then basins ∞, 0, T, O, M, H;
// the defaults' are the report's), and every list equal to the
// transcription's at two origins, on grids larger than the drawn ones.
TEST(Spaces, WorkedCasesAndTheReference) {
    const std::tuple<const char*, ModelParams, std::vector<std::size_t>> rows[] = {
        {"defaults", {}, {}},
        {"negative N", {.iterations = -1}, {160000, 0, 400, 39600, 40000, 40000, 40000}},
        {"A = 0", {.a = 0.0}, {160000, 0, 0, 160000, 0, 0, 0}},
        {"drawn",
         {.a = -1.3, .step = 0.05, .dcOutward = 0, .kcOutward = 1, .dc = -0.4, .kc = 0.0, .iterations = 40},
         {}},
        {"one column", {.x1 = 0.3, .x2 = 0.3, .step = 0.007}, {}},
        {"one long row", {.y1 = 0.3, .y2 = 0.3, .step = 0.0005, .iterations = -1}, {}},
        // Empty with the finest step: promptly, with no walk of the other side (four thousand million rows).
        {"empty x", {.x1 = 1.0, .x2 = -1.0, .step = kMinStep}, {0, 0, 0, 0, 0, 0, 0}},
        {"empty y", {.y1 = 0.5, .y2 = 0.25, .step = kMinStep}, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [name, p, counts] : rows) {
        EXPECT_TRUE(counts.empty() || Counts(Compute(p)) == counts) << name;
        if (p.step == kMinStep) continue;
        for (auto o : {reference::Origin{500, 350}, reference::Origin{-7, 1234}})
            EXPECT_EQ(Compute(p, o.originX, o.originY), reference::ComputeAll(p, o)) << name;
    }
    // A = 0 sends every orbit to (Dc, Kc) = (0.5, 0.8): pixel (ox + 50, oy - 80).
    const SpaceLists s = Compute({.a = 0.0});
    EXPECT_TRUE(std::all_of(s.attractors.begin(), s.attractors.end(), [](Point q) { return q == Point{550, 270}; }));
}

// The region bounds, where the grids of the other tests rarely end exactly.
TEST(Spaces, ClassificationOfEndPoints) {
    using K = EndKind;
    const std::tuple<double, double, EndKind> rows[] = {
        {1, 0.5, K::T},
        {1.5, 1, K::O},
        {0.5, 1, K::H},
        {1, 1.5, K::M},
        {2, 2, K::M},
        {-2, -2, K::M},
        {0, -2.0, K::H},
        {1, 1, K::None},
        {-1, 1, K::None},
        {1, -1, K::None},
        {-1, -1, K::None},
        {0.1, -0.1, K::Zero},
        {0.0, 0.0, K::Zero},
        {0.10000000000000001, 0.2, K::T},
        {-1.5, -0.99, K::O},
        {2.0000001, 0, K::Infinity},
        {std::nan(""), 0.0, K::Infinity},
    };
    for (const auto& [x, y, kind] : rows) EXPECT_EQ(Classify(x, y), kind) << x << "," << y;
}

TEST(FractalModel, SeparateComputationsMatchTheCombinedOne) {
    FractalModel a, b;
    for (FractalModel* m : {&a, &b}) m->SetParams({.step = 0.02}), m->originX = 10, m->originY = 20;
    a.ComputeAttractors();
    a.ComputeBasins();
    a.MakeReport();
    ASSERT_EQ(b.Compute(), ComputeStatus::Done);
    EXPECT_EQ(a.TakeLists(), b.TakeLists());
    EXPECT_EQ(a.report, b.report);
}

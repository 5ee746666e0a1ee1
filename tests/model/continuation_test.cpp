#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/compute_spaces.h"
#include "model/continuation.h"
#include "model/sweep.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

// The tracks as their definition words them: cycle states by the literal
// map, then, value after value, the nearest pair below the tolerance among
// the attractors not yet matched, again and again.
std::vector<TrackPoint> ReferenceTracks(const std::vector<CatalogueAt>& at, double tolerance) {
    std::vector<TrackPoint> out;
    std::vector<std::vector<reference::RefState>> before;
    std::vector<std::int32_t> beforeTrack;
    std::int32_t tracks = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        std::vector<std::vector<reference::RefState>> now;
        for (const AttractorEntry& a : at[i].attractors) {
            ModelParams p = at[i].params;
            p.iterations = a.period - 2;  // period states: period - 1 steps
            now.push_back(reference::OrbitStates(p, a.x, a.y));
        }
        std::vector<std::int32_t> track(now.size(), 0);
        std::vector<bool> used(before.size(), false);
        for (;;) {
            double best = tolerance;
            std::size_t bestA = 0, bestB = 0;
            bool found = false;
            for (std::size_t a = 0; a < before.size(); ++a) {
                for (std::size_t b = 0; b < now.size(); ++b) {
                    if (used[a] || track[b] != 0) continue;
                    for (const auto& s : before[a]) {
                        for (const auto& t : now[b]) {
                            const double d = std::max(std::fabs(s.x - t.x), std::fabs(s.y - t.y));
                            if (d < best) best = d, bestA = a, bestB = b, found = true;
                        }
                    }
                }
            }
            if (!found) break;
            used[bestA] = true;
            track[bestB] = beforeTrack[bestA];
        }
        for (std::size_t b = 0; b < now.size(); ++b) {
            if (track[b] == 0) track[b] = ++tracks;
        }
        for (std::int32_t t = 1; t <= tracks; ++t) {
            for (std::size_t b = 0; b < now.size(); ++b) {
                if (track[b] != t) continue;
                const AttractorEntry& a = at[i].attractors[b];
                out.push_back({static_cast<std::int32_t>(i), t, a.id, a.period, a.x, a.y,
                               static_cast<double>(a.basin) / static_cast<double>(at[i].startPoints)});
            }
        }
        before = std::move(now);
        beforeTrack = std::move(track);
    }
    return out;
}

std::vector<CatalogueAt> Sweep(const ModelParams& base, SweepParam param, const std::vector<double>& values) {
    std::vector<CatalogueAt> out;
    ComputeControl control;
    control.analysis = true;
    for (const double v : values) {
        const ModelParams p = WithValue(base, param, v);
        const auto lists = ComputeSpaces(p, 500, 350, control);
        out.push_back({p, lists->analysis.attractors, CountsOf(p, *lists).startPoints});
    }
    return out;
}

// Attractors of period 1 at the given states; basins of 1.
CatalogueAt FixedPoints(std::vector<State> states) {
    CatalogueAt at;
    at.startPoints = 10;
    for (const State& s : states)
        at.attractors.push_back({static_cast<std::int32_t>(at.attractors.size() + 1), 1, s.x, s.y, 1});
    return at;
}

}  // namespace

// Sweeps of computed attractors and hand-made fixed points, each against
// the transcription, with the number of tracks the row is about.
TEST(Continuation, TracksFollowTheirDefinition) {
    // A = 0: one fixed point, (Dc, Kc) with the action's signs, every basin the grid.
    const ModelParams still{.a = 0.0, .step = 0.05};
    // A = 0: one fixed point; A > 0: a pair far from it, moving slowly.
    const ModelParams inward{.a = 0.0, .step = 0.05, .dcOutward = 0, .kcOutward = 0, .kc = 0.2, .iterations = 100};
    const double inf = std::numeric_limits<double>::infinity();
    const auto moving = Sweep(still, SweepParam::Dc, SweepValues(0.3, 0.5, 11, SweepParam::Dc));
    struct Row {
        const char* what;
        std::vector<CatalogueAt> at;
        double tolerance;
        std::int32_t tracks;
    };
    const Row rows[] = {
        {"a fixed point moving smoothly", moving, 0.05, 1},
        {"the same, too far apart for the tolerance", moving, 0.01, 11},
        {"two attractors are born where one ends",
         Sweep(inward, SweepParam::A, SweepValues(0.0, 0.1, 6, SweepParam::A)), 0.05, 3},
        {"nearest pairs first, one to one",
         {FixedPoints({{0, 0}, {0.03, 0}}), FixedPoints({{0.02, 0}}), FixedPoints({{0.02, 0}, {0.021, 0}})},
         0.05,
         3},
        {"exactly at the tolerance is not below", {FixedPoints({{0, 0}}), FixedPoints({{0.25, 0}})}, 0.25, 2},
        {"an infinite tolerance joins whatever is nearest", {FixedPoints({{-1, 1}}), FixedPoints({{1, -1}})}, inf, 1},
        {"no value", {}, 0.05, 0},
    };
    for (const Row& r : rows) {
        const std::vector<TrackPoint> got = ContinueAttractors(r.at, r.tolerance);
        EXPECT_EQ(got, ReferenceTracks(r.at, r.tolerance)) << r.what;
        std::int32_t tracks = 0;
        for (const TrackPoint& t : got) tracks = std::max(tracks, t.track);
        EXPECT_EQ(tracks, r.tracks) << r.what;
    }
    EXPECT_THROW(ContinueAttractors({}, std::nan("")), std::invalid_argument);
    EXPECT_THROW(ContinueAttractors({}, -1.0), std::invalid_argument);
}

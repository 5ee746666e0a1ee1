#include "model/continuation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>

#include "model/attractor_cycle.h"

namespace orbitograph {

double CycleDistance(const std::vector<State>& a, const std::vector<State>& b) {
    double best = INFINITY;
    for (const State& s : a) {
        for (const State& t : b) best = std::min(best, std::max(std::abs(s.x - t.x), std::abs(s.y - t.y)));
    }
    return best;
}

namespace {

struct Candidate {
    double distance;
    std::size_t from;  // index into the catalogue at i (id - 1)
    std::size_t to;    // index into the catalogue at i + 1
};

// For each attractor at i + 1, the index of the attractor at i it continues,
// or -1.
std::vector<std::ptrdiff_t> Match(const std::vector<std::vector<State>>& before,
                                  const std::vector<std::vector<State>>& after, double tolerance) {
    std::vector<Candidate> candidates;
    for (std::size_t a = 0; a < before.size(); ++a) {
        for (std::size_t b = 0; b < after.size(); ++b) {
            const double d = CycleDistance(before[a], after[b]);
            if (d < tolerance) candidates.push_back({d, a, b});
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& l, const Candidate& r) {
        return std::tie(l.distance, l.from, l.to) < std::tie(r.distance, r.from, r.to);
    });
    std::vector<std::ptrdiff_t> continues(after.size(), -1);
    std::vector<bool> taken(before.size(), false);
    for (const Candidate& c : candidates) {
        if (taken[c.from] || continues[c.to] >= 0) continue;
        taken[c.from] = true;
        continues[c.to] = static_cast<std::ptrdiff_t>(c.from);
    }
    return continues;
}

}  // namespace

std::vector<TrackPoint> ContinueAttractors(const std::vector<CatalogueAt>& catalogues, double tolerance) {
    if (!(tolerance >= 0.0)) throw std::invalid_argument("the tolerance must be a number >= 0");
    std::vector<TrackPoint> points;
    std::vector<std::vector<State>> before;
    std::vector<std::int32_t> beforeTracks;
    std::int32_t tracks = 0;
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
        const CatalogueAt& at = catalogues[i];
        std::vector<std::vector<State>> states;
        for (const AttractorEntry& a : at.attractors) states.push_back(AttractorCycle(at.params, a));
        const std::vector<std::ptrdiff_t> continues = Match(before, states, tolerance);
        std::vector<std::int32_t> trackOf(states.size());
        for (std::size_t b = 0; b < states.size(); ++b)
            trackOf[b] = continues[b] >= 0 ? beforeTracks[static_cast<std::size_t>(continues[b])] : ++tracks;
        const std::size_t first = points.size();
        for (std::size_t b = 0; b < states.size(); ++b) {
            const AttractorEntry& a = at.attractors[b];
            const double share =
                at.startPoints > 0 ? static_cast<double>(a.basin) / static_cast<double>(at.startPoints) : 0.0;
            points.push_back({static_cast<std::int32_t>(i), trackOf[b], a.id, a.period, a.x, a.y, share});
        }
        std::sort(points.begin() + static_cast<std::ptrdiff_t>(first), points.end(),
                  [](const TrackPoint& l, const TrackPoint& r) { return l.track < r.track; });
        before = std::move(states);
        beforeTracks = std::move(trackOf);
    }
    return points;
}

}  // namespace orbitograph

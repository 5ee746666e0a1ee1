#include "reference_analysis.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "reference_model.h"

namespace orbitograph::reference {

namespace {

using Bits = std::pair<std::uint64_t, std::uint64_t>;

Bits BitsOf(RefState s) { return {std::bit_cast<std::uint64_t>(s.x), std::bit_cast<std::uint64_t>(s.y)}; }

bool Inside(RefState s) { return -2 <= s.x && s.x <= 2 && -2 <= s.y && s.y <= 2; }

// x, then y, as doubles; then the one with -0 in x, then in y, first.
bool Before(RefState a, RefState b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    if (std::signbit(a.x) != std::signbit(b.x)) return std::signbit(a.x);
    return std::signbit(a.y) && !std::signbit(b.y);
}

bool Within(RefState a, RefState b, double delta) {
    return std::fabs(a.x - b.x) <= delta && std::fabs(a.y - b.y) <= delta;
}

struct Orbit {
    std::int64_t exit = -1;
    std::int64_t period = 0;
    std::int64_t start = -1;
    std::vector<RefState> cycle;  // s_start ... s_{start+period-1}
};

// The smallest p with s_{k+p} == s_k for some k, k + p <= T, and the smallest
// such k: for the smallest p no state equal to s_k lies between k and k + p,
// so it is the least distance between consecutive occurrences of one state,
// and the first consecutive pair at that distance gives k.
Orbit Facts(const std::vector<RefState>& s) {
    Orbit o;
    for (std::size_t k = 0; k < s.size() && o.exit < 0; ++k) {
        if (!Inside(s[k])) o.exit = static_cast<std::int64_t>(k);
    }
    std::map<Bits, std::int64_t> last;
    for (std::int64_t j = 0; j < static_cast<std::int64_t>(s.size()); ++j) {
        const auto [it, added] = last.try_emplace(BitsOf(s[static_cast<std::size_t>(j)]), j);
        if (added) continue;
        const std::int64_t p = j - it->second;
        if (o.period == 0 || p < o.period || (p == o.period && it->second < o.start))
            o.period = p, o.start = it->second;
        it->second = j;
    }
    for (std::int64_t i = 0; i < o.period; ++i) o.cycle.push_back(s[static_cast<std::size_t>(o.start + i)]);
    return o;
}

bool AttractorCycle(const Orbit& o) { return o.period > 0 && std::all_of(o.cycle.begin(), o.cycle.end(), Inside); }

std::set<Bits> StatesOf(const Orbit& o) {
    std::set<Bits> states;
    for (RefState s : o.cycle) states.insert(BitsOf(s));
    return states;
}

// The values and the catalogue for one merge distance.
GridAnalysis Classify(const std::vector<Orbit>& orbits, double delta) {
    // The distinct attractor cycles, each as the set of its states.
    std::vector<std::vector<RefState>> cycles;
    std::map<std::set<Bits>, std::size_t> cycleOf;
    std::vector<std::size_t> orbitCycle(orbits.size(), SIZE_MAX);
    for (std::size_t i = 0; i < orbits.size(); ++i) {
        if (!AttractorCycle(orbits[i])) continue;
        const auto [it, added] = cycleOf.try_emplace(StatesOf(orbits[i]), cycles.size());
        if (added) cycles.push_back(orbits[i].cycle);
        orbitCycle[i] = it->second;
    }
    // Classes by repeated merging of every pair of cycles with a pair of states within delta.
    std::vector<std::size_t> label(cycles.size());
    for (std::size_t c = 0; c < cycles.size(); ++c) label[c] = c;
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t a = 0; a < cycles.size(); ++a) {
            for (std::size_t b = 0; b < cycles.size(); ++b) {
                if (label[a] == label[b]) continue;
                bool near = false;
                for (RefState u : cycles[a]) {
                    for (RefState v : cycles[b]) near = near || Within(u, v, delta);
                }
                if (!near) continue;
                const std::size_t from = label[b];
                for (std::size_t& l : label) l = l == from ? label[a] : l;
                changed = true;
            }
        }
    }
    // Each class's smallest state and smallest period; ids in the order of the smallest states.
    std::map<std::size_t, AttractorEntry> byLabel;
    for (std::size_t c = 0; c < cycles.size(); ++c) {
        const RefState least = *std::min_element(cycles[c].begin(), cycles[c].end(), Before);
        const auto period = static_cast<std::int32_t>(cycles[c].size());
        const auto [it, added] = byLabel.try_emplace(label[c], AttractorEntry{0, period, least.x, least.y, 0});
        AttractorEntry& e = it->second;
        e.period = std::min(e.period, period);
        if (Before(least, {e.x, e.y})) e.x = least.x, e.y = least.y;
    }
    std::vector<std::pair<std::size_t, AttractorEntry>> classes(byLabel.begin(), byLabel.end());
    std::sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        return Before({a.second.x, a.second.y}, {b.second.x, b.second.y});
    });
    GridAnalysis out;
    std::map<std::size_t, std::int32_t> idOfLabel;
    for (auto& [l, e] : classes) {
        e.id = static_cast<std::int32_t>(out.attractors.size() + 1);
        idOfLabel[l] = e.id;
        out.attractors.push_back(e);
    }
    std::vector<std::int32_t> exit, start, period, attractor;
    for (std::size_t i = 0; i < orbits.size(); ++i) {
        const Orbit& o = orbits[i];
        const std::int32_t id = orbitCycle[i] == SIZE_MAX ? 0 : idOfLabel.at(label[orbitCycle[i]]);
        exit.push_back(static_cast<std::int32_t>(o.exit));
        start.push_back(static_cast<std::int32_t>(o.start));
        period.push_back(static_cast<std::int32_t>(o.period));
        attractor.push_back(id);
        if (id > 0) ++out.attractors[static_cast<std::size_t>(id - 1)].basin;
        if (id == 0) ++(o.exit >= 0 ? out.escaped : out.unsettled);
    }
    for (const auto* column : {&exit, &start, &period, &attractor})
        out.values.insert(out.values.end(), column->begin(), column->end());
    return out;
}

}  // namespace

GridAnalysis Analyse(const ModelParams& p, double delta) { return Analyse(p, std::vector<double>{delta})[0]; }

std::vector<GridAnalysis> Analyse(const ModelParams& p, const std::vector<double>& deltas) {
    std::vector<Orbit> orbits;
    for (double x = p.x1; x <= p.x2; x = x + p.step) {
        for (double y = p.y1; y <= p.y2; y = y + p.step) orbits.push_back(Facts(OrbitStates(p, x, y)));
    }
    std::vector<GridAnalysis> out;
    for (const double delta : deltas) out.push_back(Classify(orbits, delta));
    return out;
}

}  // namespace orbitograph::reference

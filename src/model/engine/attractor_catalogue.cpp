#include "model/engine/attractor_catalogue.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <utility>

namespace orbitograph::engine {

namespace {

bool SameState(State a, State b) { return !StateBefore(a, b) && !StateBefore(b, a); }

class UnionFind {
public:
    explicit UnionFind(std::size_t n) : m_parent(n) { std::iota(m_parent.begin(), m_parent.end(), std::size_t{0}); }
    std::size_t Find(std::size_t i) {
        while (m_parent[i] != i) i = m_parent[i] = m_parent[m_parent[i]];
        return i;
    }
    // The root of the joined class.
    std::size_t Unite(std::size_t a, std::size_t b) {
        a = Find(a);
        b = Find(b);
        if (a != b) m_parent[std::max(a, b)] = std::min(a, b);
        return std::min(a, b);
    }

private:
    std::vector<std::size_t> m_parent;
};

// The states within delta in x behind the current one, by class root, each
// class's ordered by y (then by number).
using YSet = std::set<std::pair<double, std::size_t>>;
using Window = std::map<std::size_t, YSet>;

// True when a state of `set` has its y within delta of y: the nearest on
// either side decide, as the rounded difference grows with the distance.
bool NearInY(const YSet& set, double y, double delta) {
    const auto it = set.lower_bound({y, 0});
    if (it != set.end() && std::fabs(it->first - y) <= delta) return true;
    return it != set.begin() && std::fabs(std::prev(it)->first - y) <= delta;
}

// Unites the classes with roots a and b, and their window sets (the smaller
// into the larger); returns the new root.
std::size_t Join(Window& window, UnionFind& classes, std::size_t a, std::size_t b) {
    const std::size_t root = classes.Unite(a, b);
    YSet sa = std::move(window[a]);
    YSet sb = std::move(window[b]);
    window.erase(a);
    window.erase(b);
    if (sa.size() < sb.size()) std::swap(sa, sb);
    sa.merge(sb);
    window[root] = std::move(sa);
    return root;
}

}  // namespace

std::vector<CycleRecord> MergeCycles(const std::vector<const BlockCycles*>& blocks) {
    std::vector<CycleRecord> all;
    for (const BlockCycles* b : blocks) all.insert(all.end(), b->cycles.begin(), b->cycles.end());
    std::sort(all.begin(), all.end(),
              [](const CycleRecord& a, const CycleRecord& b) { return StateBefore(a.least, b.least); });
    std::vector<CycleRecord> merged;
    for (const CycleRecord& c : all) {
        if (!merged.empty() && SameState(merged.back().least, c.least)) {
            merged.back().orbits += c.orbits;
        } else {
            merged.push_back(c);
        }
    }
    return merged;
}

std::size_t MergedIndex(const std::vector<CycleRecord>& merged, State least) {
    const auto it = std::lower_bound(merged.begin(), merged.end(), least,
                                     [](const CycleRecord& c, State s) { return StateBefore(c.least, s); });
    return static_cast<std::size_t>(it - merged.begin());
}

std::vector<std::size_t> CycleClasses(const std::vector<State>& states, const std::vector<std::size_t>& first,
                                      double delta) {
    const std::size_t cycles = first.size() - 1;
    std::vector<std::size_t> owner(states.size());
    for (std::size_t c = 0; c < cycles; ++c) std::fill(owner.begin() + first[c], owner.begin() + first[c + 1], c);
    std::vector<std::size_t> order(states.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return states[a].x < states[b].x; });
    UnionFind classes(cycles);
    Window window;
    std::size_t behind = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const State s = states[order[i]];
        // x only grows along the sweep, so a state once too far stays so.
        for (; behind < i && !(std::fabs(s.x - states[order[behind]].x) <= delta); ++behind) {
            const auto it = window.find(classes.Find(owner[order[behind]]));
            it->second.erase({states[order[behind]].y, order[behind]});
            if (it->second.empty()) window.erase(it);
        }
        std::size_t root = classes.Find(owner[order[i]]);
        std::vector<std::size_t> near;
        for (const auto& [other, set] : window) {
            if (other != root && NearInY(set, s.y, delta)) near.push_back(other);
        }
        for (const std::size_t other : near) root = Join(window, classes, root, other);
        window[root].insert({s.y, order[i]});
    }
    std::vector<std::size_t> least(cycles);
    for (std::size_t c = 0; c < cycles; ++c) least[c] = classes.Find(c);  // the root is the class's least number
    return least;
}

std::optional<Catalogue> BuildCatalogue(const MapParams& m, const std::vector<CycleRecord>& cycles, double delta,
                                        const std::atomic<bool>* cancel) {
    // Every state of every cycle: the map from a state inside the square,
    // where the guard is open, is MapStep.
    std::vector<State> states;
    std::vector<std::size_t> first{0};
    for (const CycleRecord& c : cycles) {
        State s = c.least;
        for (std::int32_t k = 0; k < c.period; ++k) {
            if ((states.size() & 0xFFFFF) == 0 && cancel && cancel->load(std::memory_order_relaxed))
                return std::nullopt;
            states.push_back(s);
            s = MapStep(m, s);
        }
        first.push_back(states.size());
    }
    const std::vector<std::size_t> classOf = CycleClasses(states, first, delta);
    // The cycles stand in the order of their smallest states, so a class's
    // first cycle holds its smallest state and numbers it.
    Catalogue out;
    out.idOfCycle.assign(cycles.size(), 0);
    for (std::size_t c = 0; c < cycles.size(); ++c) {
        if (classOf[c] == c) {
            const auto id = static_cast<std::int32_t>(out.attractors.size() + 1);
            out.attractors.push_back({id, cycles[c].period, cycles[c].least.x, cycles[c].least.y, 0});
        }
        const std::int32_t id = out.idOfCycle[classOf[c]];
        out.idOfCycle[c] = classOf[c] == c ? static_cast<std::int32_t>(out.attractors.size()) : id;
        AttractorEntry& e = out.attractors[static_cast<std::size_t>(out.idOfCycle[c] - 1)];
        e.period = std::min(e.period, cycles[c].period);
        e.basin += cycles[c].orbits;
    }
    return out;
}

}  // namespace orbitograph::engine

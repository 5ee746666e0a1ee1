#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/engine/orbit_analysis.h"
#include "model/grid_analysis.h"
#include "model/orbit.h"

namespace orbitograph::engine {

// The attractor cycles of all blocks, each once, in the state order of their
// smallest states, with their orbits summed: the same list whatever blocks
// found them and in whatever order.
std::vector<CycleRecord> MergeCycles(const std::vector<const BlockCycles*>& blocks);

// The position of a cycle in the merged list, which must hold it.
std::size_t MergedIndex(const std::vector<CycleRecord>& merged, State least);

// Classes of cycles: cycle c has the states [first[c], first[c + 1]) of
// `states` (first has one element more than there are cycles). Two cycles are
// in one class when a state of one and a state of the other are within delta
// (grid_analysis.h), taken transitively. Returns, for each cycle, the smallest
// number of a cycle of its class.
//
// Cost: the states are swept in order of x, keeping those within delta in x
// behind the current one, by class, each class's sorted by y; a state is
// compared with the nearest state in y of every other class present, so about
// S log S times the classes within delta in x of a state (S states), which
// stays small: within such a strip the classes lie more than delta apart in y.
std::vector<std::size_t> CycleClasses(const std::vector<State>& states, const std::vector<std::size_t>& first,
                                      double delta);

// The catalogue of the merged attractor cycles (map m, merge distance
// delta), and each cycle's attractor number. Generates every state of every
// cycle once: 16 bytes and a few more per state while it runs. No value when
// cancel was seen.
struct Catalogue {
    std::vector<std::int32_t> idOfCycle;
    std::vector<AttractorEntry> attractors;
};
std::optional<Catalogue> BuildCatalogue(const MapParams& m, const std::vector<CycleRecord>& cycles, double delta,
                                        const std::atomic<bool>* cancel);

}  // namespace orbitograph::engine

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/classify.h"
#include "model/model_params.h"
#include "model/orbit.h"

namespace orbitograph {

// One listed state of a probed orbit: the state after `step` map steps and
// what the step that led to it did. Row 0 is the start point; its terms and
// components, like those of a frozen step, are NaN and mean nothing.
struct ProbeRow {
    std::int64_t step;
    double x;
    double y;
    double p;   // P = (x*x - y*y) * a of the step, from the previous state
    double q;   // Q = (x*y + x*y) * a
    double cx;  // the action's components the step added: +-dc, +-kc
    double cy;
    bool frozen;  // the guard left the state unchanged at this step
    bool HasTerms() const { return step > 0 && !frozen; }
};

// How the end point was obtained.
enum class ProbeReach : std::uint8_t {
    Iterated,  // every step was made
    Cycle,     // an exact cycle was found and whole periods were skipped
    Escape,    // proven to end outside the square; the end point was not computed
};

struct ProbeSummary {
    std::int64_t steps = 0;  // map steps of the orbit: iterations + 1, or 0 when negative
    // First step whose state lies outside [-2, 2] x [-2, 2] (NaN is outside).
    std::optional<std::int64_t> leftSquare;
    // An exact cycle: the state after cycleStart steps recurs, bit for bit,
    // every `period` steps (period >= 1; a frozen or NaN state is a cycle of
    // period 1). cycleStart is the first such step and period the smallest.
    std::optional<std::int64_t> cycleStart;
    std::int64_t period = 0;
    // State after all steps: IterateOrbit's result bit for bit, except with
    // reach == Escape, where it is NaN and only `kind` is known.
    State end{};
    EndKind kind = EndKind::None;
    ProbeReach reach = ProbeReach::Iterated;
};

struct ProbeResult {
    // Rows in increasing step. An orbit of at most 2 * keep rows is listed
    // whole; a longer one lists its first `keep` and its last `keep` rows,
    // leaving a gap of `omitted` rows before rows[gapAt] (gapAt is rows.size()
    // when the gap runs to the end, as after an escape, and 0 when omitted is 0).
    std::vector<ProbeRow> rows;
    std::size_t gapAt = 0;
    std::int64_t omitted = 0;
    ProbeSummary summary;
};

struct ProbeOptions {
    // Rows listed at each end of a long orbit; at least 1.
    std::int64_t keep = 10'000;
    // Polled every 2^20 steps of every walk; once true, ProbeOrbit returns no
    // result. May be null.
    const std::atomic<bool>* cancel = nullptr;
};

// Follows the orbit of (x0, y0) under the map and the guard of p (only a,
// dc, kc, the directions and iterations are read; any values are accepted),
// with exactly IterateOrbit's arithmetic: every listed row's state equals the
// state after that many steps of IterateOrbit, bit for bit. Long orbits use
// the engine's shortcuts: a repeated state skips whole periods; an orbit past
// the escape bound that reaches no repeated state within 2^20 further steps
// stops as an escape. An orbit that does neither is iterated in full (about
// 2^31 steps at most). Runs on the calling thread; touches no shared state.
std::optional<ProbeResult> ProbeOrbit(const ModelParams& p, double x0, double y0, const ProbeOptions& options = {});

// Gives the rows 0, 1, 2, ... of the orbit of (x0, y0) to `each`, in order,
// with ProbeOrbit's arithmetic and every step made (no shortcut), until
// `count` rows or all iterations + 2 rows (1 when iterations is negative)
// have been given, or `each` returns false. For printing whole orbits
// without keeping them.
void FollowOrbit(const ModelParams& p, double x0, double y0, std::int64_t count,
                 const std::function<bool(const ProbeRow&)>& each);

}  // namespace orbitograph

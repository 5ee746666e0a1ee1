#include "model/probe.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <unordered_map>
#include <utility>

#include "model/engine/orbit_job.h"

namespace orbitograph {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Steps an escaped orbit may take to reach a repeated state before the
// probe settles for the escape.
constexpr std::int64_t kEscapeSteps = std::int64_t{1} << 20;

bool SameBits(State a, State b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
}

// Step number k of the orbit, from the state s after k - 1 steps: MapStep's
// operations in MapStep's order, so the new state is its result bit for bit
// (both are compiled without contraction), kept apart to report P and Q.
ProbeRow Step(const MapParams& m, State& s, std::int64_t k) {
    if (!GuardOpen(s)) return {k, s.x, s.y, kNaN, kNaN, kNaN, kNaN, true};
    const double p = (s.x * s.x - s.y * s.y) * m.a;
    const double xy = s.x * s.y;
    const double q = (xy + xy) * m.a;
    const State c = ExternalAction(m, p, q);
    s = {p + c.x, q + c.y};
    return {k, s.x, s.y, p, q, c.x, c.y, false};
}

State Guarded(const MapParams& m, State s) { return GuardOpen(s) ? MapStep(m, s) : s; }

bool Cancelled(const ProbeOptions& o) { return o.cancel != nullptr && o.cancel->load(std::memory_order_relaxed); }

// Makes n guarded steps from s; false when cancelled on the way.
bool Advance(const MapParams& m, State& s, std::int64_t n, const ProbeOptions& o) {
    for (std::int64_t i = 0; i < n; ++i) {
        if ((i & 0xFFFFF) == 0xFFFFF && Cancelled(o)) return false;
        s = Guarded(m, s);
    }
    return true;
}

// First step mu with state(mu) == state(mu + period), the orbit being known
// to repeat with that period: two walkers `period` steps apart meet there.
// -1 when cancelled.
std::int64_t CycleStart(const MapParams& m, State start, std::int64_t period, const ProbeOptions& o) {
    State lead = start;
    if (!Advance(m, lead, period, o)) return -1;
    State trail = start;
    std::int64_t mu = 0;
    while (!SameBits(trail, lead)) {
        if ((mu & 0xFFFFF) == 0xFFFFF && Cancelled(o)) return -1;
        trail = Guarded(m, trail);
        lead = Guarded(m, lead);
        ++mu;
    }
    return mu;
}

// The listed rows: all of them, or the first `keep` and the last `keep`.
// Only those rows are ever stored, so a long orbit costs no copying between.
class RowList {
public:
    RowList(std::int64_t keep, std::int64_t total)
        : m_keep(total <= 2 * keep ? total : keep), m_tailFrom(total <= 2 * keep ? total : total - keep) {}
    bool Whole() const { return m_keep == m_tailFrom; }
    // True once every head row up to this step is listed.
    bool HeadDone(std::int64_t step) const { return step + 1 >= m_keep; }
    bool Wants(std::int64_t step) const { return step < m_keep || step >= m_tailFrom; }
    void Add(const ProbeRow& r) { (r.step < m_keep ? m_head : m_tail).push_back(r); }
    void ForgetTail() { m_tail.clear(); }
    void MoveInto(ProbeResult& out, std::int64_t total) {
        out.rows = std::move(m_head);
        out.gapAt = out.rows.size();
        out.rows.insert(out.rows.end(), m_tail.begin(), m_tail.end());
        out.omitted = total - static_cast<std::int64_t>(out.rows.size());
        if (out.omitted == 0) out.gapAt = 0;
    }

private:
    std::int64_t m_keep;      // rows below this step are the head
    std::int64_t m_tailFrom;  // rows from this step on are the tail
    std::vector<ProbeRow> m_head;
    std::vector<ProbeRow> m_tail;
};

struct BitsHash {
    std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& b) const {
        return std::hash<std::uint64_t>()(b.first * 0x9e3779b97f4a7c15ULL ^ b.second);
    }
};

// The first repeated state among rows listed without a gap: exact, where the
// running detection only sees repeats of its saved states.
void FindCycleInRows(const std::vector<ProbeRow>& rows, ProbeSummary& s) {
    std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, std::int64_t, BitsHash> seen;
    for (const ProbeRow& r : rows) {
        const auto [it, added] =
            seen.try_emplace({std::bit_cast<std::uint64_t>(r.x), std::bit_cast<std::uint64_t>(r.y)}, r.step);
        if (!added) {
            s.cycleStart = it->second;
            s.period = r.step - it->second;
            return;
        }
    }
}

}  // namespace

// The running cycle detection is Brent's, as in the engine's scalar kernel:
// the state saved at step s is compared bit for bit with each later state; an
// equal state at s + lam proves (the step being a function of the state's bits
// alone) that the orbit repeats with period lam from s on, so the state after
// k >= s steps is the state after s + (k - s) mod lam steps. The saved state
// moves on when lam reaches a power of two, and again when the orbit passes
// the escape bound (any saved state of the orbit serves), so that the
// non-finite fixed point an escaping orbit falls into is seen soon.
std::optional<ProbeResult> ProbeOrbit(const ModelParams& p, double x0, double y0, const ProbeOptions& options) {
    const MapParams m = MapParams::From(p);
    const std::int64_t keep = std::clamp<std::int64_t>(options.keep, 1, std::int64_t{1} << 40);
    ProbeResult out;
    ProbeSummary& sum = out.summary;
    sum.steps = p.iterations < 0 ? 0 : std::int64_t{p.iterations} + 1;
    RowList rows(keep, sum.steps + 1);
    const double escapeSquare = engine::EscapeSquare(p.a, p.dc, p.kc);

    const State start{x0, y0};
    State s = start;
    rows.Add({0, s.x, s.y, kNaN, kNaN, kNaN, kNaN, false});
    if (!InsideSquare(s.x, s.y)) sum.leftSquare = 0;

    State saved = s;
    std::int64_t lam = 0;
    std::int64_t power = 1;
    bool detecting = true;
    bool skipPending = false;  // a cycle was found; skip periods once the head is listed
    std::int64_t escapedAt = -1;
    for (std::int64_t k = 0; k < sum.steps;) {
        if ((k & 0xFFFFF) == 0 && Cancelled(options)) return std::nullopt;
        ++k;
        const ProbeRow row = Step(m, s, k);
        if (rows.Wants(k)) rows.Add(row);
        if (!sum.leftSquare && !InsideSquare(s.x, s.y)) sum.leftSquare = k;
        if (detecting) {
            ++lam;
            if (SameBits(s, saved)) {
                detecting = false;
                sum.period = lam;
                const std::int64_t mu = CycleStart(m, start, lam, options);
                if (mu < 0) return std::nullopt;
                sum.cycleStart = mu;
                skipPending = !rows.Whole();
            }
        }
        if (skipPending && rows.HeadDone(k)) {
            // Skip whole periods up to the state before the first tail row.
            skipPending = false;
            const std::int64_t target = sum.steps - keep;
            if (target > k) {
                if (!Advance(m, s, (target - k) % sum.period, options)) return std::nullopt;
                k = target;
                sum.reach = ProbeReach::Cycle;
            }
        }
        if (detecting) {
            if (lam == power) {
                saved = s;
                power *= 2;
                lam = 0;
            }
            if (escapedAt < 0 && !(s.x * s.x + s.y * s.y <= escapeSquare)) {
                escapedAt = k;
                saved = s;
                power = 1;
                lam = 0;
            }
            if (escapedAt >= 0 && k - escapedAt >= kEscapeSteps && k < sum.steps && rows.HeadDone(k)) {
                sum.reach = ProbeReach::Escape;
                sum.end = {kNaN, kNaN};
                sum.kind = EndKind::Infinity;
                rows.ForgetTail();
                rows.MoveInto(out, sum.steps + 1);
                return out;
            }
        }
    }
    sum.end = s;
    sum.kind = Classify(s.x, s.y);
    rows.MoveInto(out, sum.steps + 1);
    if (!sum.cycleStart && out.omitted == 0) FindCycleInRows(out.rows, sum);
    return out;
}

void FollowOrbit(const ModelParams& p, double x0, double y0, std::int64_t count,
                 const std::function<bool(const ProbeRow&)>& each) {
    const MapParams m = MapParams::From(p);
    const std::int64_t steps = p.iterations < 0 ? 0 : std::int64_t{p.iterations} + 1;
    const std::int64_t last = count - 1 < steps ? count - 1 : steps;
    State s{x0, y0};
    if (last < 0 || !each({0, s.x, s.y, kNaN, kNaN, kNaN, kNaN, false})) return;
    for (std::int64_t k = 1; k <= last; ++k) {
        if (!each(Step(m, s, k))) return;
    }
}

}  // namespace orbitograph

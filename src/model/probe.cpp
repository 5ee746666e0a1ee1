#include "model/probe.h"

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

// First step mu with state(mu) == state(mu + period), the orbit being known
// to repeat with that period: two walkers `period` steps apart meet there.
std::int64_t CycleStart(const MapParams& m, State start, std::int64_t period) {
    State lead = start;
    for (std::int64_t i = 0; i < period; ++i) lead = Guarded(m, lead);
    State trail = start;
    std::int64_t mu = 0;
    while (!SameBits(trail, lead)) {
        trail = Guarded(m, trail);
        lead = Guarded(m, lead);
        ++mu;
    }
    return mu;
}

// The listed rows: all of them, or the first `keep` and a ring of the last `keep`.
class RowList {
public:
    RowList(std::int64_t keep, std::int64_t total) : m_keep(keep), m_whole(total <= 2 * keep) {
        if (!m_whole) m_ring.reserve(static_cast<std::size_t>(keep));
    }
    bool Whole() const { return m_whole; }
    void Add(const ProbeRow& r) {
        if (m_whole || r.step < m_keep) {
            m_head.push_back(r);
        } else if (m_ring.size() < static_cast<std::size_t>(m_keep)) {
            m_ring.push_back(r);
        } else {
            m_ring[m_next] = r;
            m_next = (m_next + 1) % m_ring.size();
        }
    }
    void ForgetTail() {
        m_ring.clear();
        m_next = 0;
    }
    void MoveInto(ProbeResult& out, std::int64_t total) {
        out.rows = std::move(m_head);
        out.gapAt = out.rows.size();
        for (std::size_t i = 0; i < m_ring.size(); ++i) out.rows.push_back(m_ring[(m_next + i) % m_ring.size()]);
        out.omitted = total - static_cast<std::int64_t>(out.rows.size());
        if (out.omitted == 0) out.gapAt = 0;
    }

private:
    std::int64_t m_keep;
    bool m_whole;
    std::vector<ProbeRow> m_head;
    std::vector<ProbeRow> m_ring;
    std::size_t m_next = 0;
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

bool Cancelled(const ProbeOptions& o) { return o.cancel != nullptr && o.cancel->load(std::memory_order_relaxed); }

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
    const std::int64_t keep = options.keep < 1 ? 1 : options.keep;
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
    std::int64_t escapedAt = -1;
    for (std::int64_t k = 0; k < sum.steps;) {
        if ((k & 0xFFFFF) == 0 && Cancelled(options)) return std::nullopt;
        ++k;
        rows.Add(Step(m, s, k));
        if (!sum.leftSquare && !InsideSquare(s.x, s.y)) sum.leftSquare = k;
        if (detecting) {
            ++lam;
            if (SameBits(s, saved)) {
                detecting = false;
                sum.period = lam;
                sum.cycleStart = CycleStart(m, start, lam);
                // Skip whole periods up to the state before the first tail row.
                const std::int64_t target = sum.steps - keep;
                if (!rows.Whole() && target > k) {
                    for (std::int64_t i = (target - k) % lam; i > 0; --i) s = Guarded(m, s);
                    k = target;
                    rows.ForgetTail();
                    sum.reach = ProbeReach::Cycle;
                }
                continue;
            }
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
            if (escapedAt >= 0 && k - escapedAt >= kEscapeSteps && k < sum.steps) {
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

}  // namespace orbitograph

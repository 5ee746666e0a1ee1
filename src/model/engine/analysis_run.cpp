#include "model/engine/analysis_run.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "model/engine/attractor_catalogue.h"

namespace orbitograph::engine {

namespace {

// Values whose list storage is backed by huge pages.
constexpr std::size_t kHugeValues = kHugeListBytes / sizeof(std::int32_t);

}  // namespace

AnalysisRun::AnalysisRun(std::size_t total, std::size_t blocks, double delta, std::size_t historyBytes)
    : m_delta(delta), m_historyBytes(historyBytes), m_blocks(blocks), m_ids(blocks) {
    // From half a megabyte on, at least the size that list storage backs by
    // huge pages: a fault on a small page can cost as much as a whole block's
    // analysis (measured tens of microseconds under virtualisation). Unwritten
    // here: each block writes its own ranges, on its worker.
    const std::size_t values = 4 * total;
    m_out.values.reserve(values * sizeof(std::int32_t) >= (std::size_t{1} << 19) ? std::max(values, kHugeValues)
                                                                                 : values);
    m_out.values.resize(values);
}

BlockColumns AnalysisRun::Columns(std::size_t first) {
    return {
        m_out.Column(AnalysisColumn::ExitStep).data() + first, m_out.Column(AnalysisColumn::CycleStart).data() + first,
        m_out.Column(AnalysisColumn::Period).data() + first, m_out.Column(AnalysisColumn::Attractor).data() + first};
}

std::optional<std::size_t> AnalysisRun::RunBlock(std::size_t b, std::size_t first, const OrbitJob& job,
                                                 EndPointKernel kernel, const double* x0, const double* y0,
                                                 std::size_t n, double* ex, double* ey, double* index,
                                                 AnalysisArrays& a) {
    return AnalyseBlock(job, kernel, m_historyBytes, x0, y0, n, ex, ey, index, a, Columns(first), m_blocks[b]);
}

void AnalysisRun::RunUnmoved(std::size_t b, std::size_t first, const double* x0, const double* y0, std::size_t n) {
    AnalyseUnmoved(x0, y0, n, Columns(first), m_blocks[b]);
}

bool AnalysisRun::Conclude(const OrbitJob& job) {
    std::vector<const BlockCycles*> blocks;
    for (const BlockCycles& b : m_blocks) {
        blocks.push_back(&b);
        m_out.escaped += b.escaped;
        m_out.unsettled += b.unsettled;
    }
    const std::vector<CycleRecord> merged = MergeCycles(blocks);
    const MapParams m{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    std::optional<Catalogue> catalogue = BuildCatalogue(m, merged, m_delta, job.cancel);
    if (!catalogue) return false;
    for (std::size_t b = 0; b < m_blocks.size(); ++b) {
        for (const CycleRecord& c : m_blocks[b].cycles)
            m_ids[b].push_back(catalogue->idOfCycle[MergedIndex(merged, c.least)]);
        m_blocks[b] = {};
    }
    m_out.attractors = std::move(catalogue->attractors);
    return true;
}

void AnalysisRun::WriteBlock(std::size_t b, std::size_t first, std::size_t n) {
    if (m_ids[b].empty()) return;
    std::int32_t* column = m_out.Column(AnalysisColumn::Attractor).data() + first;
    for (std::size_t i = 0; i < n; ++i) {
        if (column[i] > 0) column[i] = m_ids[b][static_cast<std::size_t>(column[i] - 1)];
    }
    std::vector<std::int32_t>().swap(m_ids[b]);
}

}  // namespace orbitograph::engine

#include "model/engine/analysis_run.h"

#include <optional>
#include <utility>

#include "model/engine/attractor_catalogue.h"

namespace orbitograph::engine {

AnalysisRun::AnalysisRun(std::size_t total, std::size_t blocks, double delta)
    : m_delta(delta), m_blocks(blocks), m_ids(blocks) {
    // Unwritten here: each block writes its own range, on its worker.
    for (GridAnalysis::Column* c : {&m_out.exitStep, &m_out.cycleStart, &m_out.period, &m_out.attractor})
        c->resize(total);
}

bool AnalysisRun::RunBlock(std::size_t b, std::size_t first, const OrbitJob& job, const double* x0, const double* y0,
                           std::size_t n, const double* ex, const double* ey, const double* index, std::size_t listed,
                           AnalysisArrays& a) {
    const BlockColumns out{m_out.exitStep.data() + first, m_out.cycleStart.data() + first, m_out.period.data() + first,
                           m_out.attractor.data() + first};
    return AnalyseBlock(job, x0, y0, n, ex, ey, index, listed, a, out, m_blocks[b]);
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
    std::int32_t* column = m_out.attractor.data() + first;
    for (std::size_t i = 0; i < n; ++i) {
        if (column[i] > 0) column[i] = m_ids[b][static_cast<std::size_t>(column[i] - 1)];
    }
    std::vector<std::int32_t>().swap(m_ids[b]);
}

}  // namespace orbitograph::engine

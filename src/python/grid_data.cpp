#include "python/grid_data.h"

#include <stdexcept>

#include "data/analysis_text.h"
#include "data/counts_text.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "model/number_text.h"
#include "request/param_table.h"
#include "request/refusal_text.h"
#include "request/request.h"

namespace orbitograph::python {

void CheckComputation(const ModelParams& p, int threads, AnalysisAsked asked) {
    if (const auto e = CheckParameters(p))
        throw std::invalid_argument(std::string(ParamRowOf(e->field).keyword) + ": " + RefusalText(*e));
    if (threads < 0 || threads > kMaxThreads)
        throw std::invalid_argument("threads: must be None (every core) or from 1 to " + FormatInt(kMaxThreads));
    if (!asked.analysis) return;
    if (const auto refused = CheckAnalysis(p, asked.delta))
        throw std::invalid_argument((*refused == AnalysisRefusal::DeltaNotValid ? "delta: " : "analysis: ") +
                                    AnalysisRefusalText(*refused));
}

namespace {

std::string ReportText(const ReportLines& lines) {
    std::string text;
    // The two separator lines consist of a line feed alone.
    for (const std::string& line : lines) text += line == "\n" ? line : line + "\n";
    return text;
}

}  // namespace

ComputeControl GridDataControl(int threads, const std::atomic<bool>& cancel, AnalysisAsked asked) {
    ComputeControl control;
    control.analysis = asked.analysis;
    control.attractorDelta = asked.delta;
    control.threads = threads;
    control.cancel = &cancel;
    control.kindGrid = control.attractorEnds = control.startPointEnds = true;
    return control;
}

std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads,
                                        const std::atomic<bool>& cancel, AnalysisAsked asked) {
    std::optional<SpaceLists> lists = ComputeSpaces(p, originX, originY, GridDataControl(threads, cancel, asked));
    if (!lists) return std::nullopt;

    GridData g;
    g.listsOriginX = originX;
    g.listsOriginY = originY;
    const ListCounts c = CountsOf(p, *lists);
    g.countsJson = CountsJson(c);
    g.ends = std::move(lists->startPointEnds);
    g.model.SetParams(p);
    g.model.originX = originX;
    g.model.originY = originY;
    g.model.Install(std::move(*lists));
    if (cancel.load()) return std::nullopt;
    g.model.MakeReport();
    g.reportText = ReportText(g.model.report);
    g.analysed = asked.analysis;
    g.attractorDelta = asked.delta;
    if (asked.analysis) g.analysisJson = AnalysisJson(g.model.analysis);
    g.labels.resize(g.model.kinds.size());
    LabelCodes(g.model.kinds, g.labels.data());
    g.columnsX = AxisCoordinates(p.x1, p.x2, p.step);
    g.rowsY = AxisCoordinates(p.y1, p.y2, p.step);
    g.columns = g.columnsX.size();
    g.rows = g.rowsY.size();
    return g;
}

}  // namespace orbitograph::python

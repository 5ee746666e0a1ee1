#include "python/grid_data.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "data/counts_text.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "model/number_text.h"
#include "request/param_table.h"
#include "request/refusal_text.h"
#include "request/request.h"

namespace orbitograph::python {

void CheckComputation(const ModelParams& p, int threads) {
    if (const auto e = CheckParameters(p))
        throw std::invalid_argument(std::string(ParamRowOf(e->field).keyword) + ": " + RefusalText(*e));
    if (threads < 0 || threads > kMaxThreads)
        throw std::invalid_argument("threads: must be None (every core) or from 1 to " + FormatInt(kMaxThreads));
}

namespace {

std::string ReportText(const ReportLines& lines) {
    std::string text;
    // The two separator lines consist of a line feed alone.
    for (const std::string& line : lines) text += line == "\n" ? line : line + "\n";
    return text;
}

}  // namespace

ComputeControl GridDataControl(int threads, const std::atomic<bool>& cancel) {
    ComputeControl control;
    control.threads = threads;
    control.cancel = &cancel;
    control.kindGrid = control.attractorEnds = control.startPointEnds = true;
    return control;
}

std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads,
                                        const std::atomic<bool>& cancel) {
    std::optional<SpaceLists> lists = ComputeSpaces(p, originX, originY, GridDataControl(threads, cancel));
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
    g.model.MakeReport();
    g.reportText = ReportText(g.model.report);
    // The model's label of each kind, looked up per start point.
    std::array<std::uint8_t, static_cast<std::size_t>(EndKind::None) + 1> labelOfKind{};
    for (std::size_t k = 0; k < labelOfKind.size(); ++k) labelOfKind[k] = LabelOf(static_cast<EndKind>(k));
    const std::vector<EndKind>& kinds = g.model.kinds;
    g.labels.resize(kinds.size());
    std::transform(kinds.begin(), kinds.end(), g.labels.begin(),
                   [&labelOfKind](EndKind kind) { return labelOfKind[static_cast<std::size_t>(kind)]; });
    g.columnsX = AxisCoordinates(p.x1, p.x2, p.step);
    g.rowsY = AxisCoordinates(p.y1, p.y2, p.step);
    g.columns = g.columnsX.size();
    g.rows = g.rowsY.size();
    return g;
}

}  // namespace orbitograph::python

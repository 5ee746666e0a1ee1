#include "python/grid_data.h"

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "cli/render_options.h"
#include "model/grid.h"
#include "model/number_text.h"

namespace orbitograph::python {

const char* KeywordOf(ParamField f) {
    switch (f) {
        case ParamField::A: return "a";
        case ParamField::DcOutward: return "dc_outward";
        case ParamField::KcOutward: return "kc_outward";
        case ParamField::Dc: return "dc";
        case ParamField::Kc: return "kc";
        case ParamField::Iterations: return "iterations";
        case ParamField::Step: return "step";
        case ParamField::X1: return "x1";
        case ParamField::X2: return "x2";
        case ParamField::Y1: return "y1";
        case ParamField::Y2: return "y2";
    }
    return "?";
}

void CheckComputation(const ModelParams& p, int threads) {
    if (const auto e = CheckParameters(p)) throw std::invalid_argument(std::string(KeywordOf(e->field)) + ": " + RefusalText(*e));
    if (threads < 0 || threads > kMaxThreads)
        throw std::invalid_argument("threads: must be None (every core) or from 1 to " + FormatInt(kMaxThreads));
}

namespace {

// Indexed by EndKind.
constexpr std::array<std::uint8_t, 7> kLabelOfKind = {0, 1, 3, 5, 2, 4, 255};
static_assert(static_cast<int>(EndKind::None) == 6 && static_cast<int>(EndKind::O) == 2);

std::vector<double> SideCoordinates(double lo, double hi, double step) {
    const GridSide side(lo, hi, step);
    std::vector<double> out(side.Count());
    side.Fill(0, out.size(), out.data());
    return out;
}

std::string ReportText(const ReportLines& lines) {
    std::string text;
    // The two separator lines consist of a line feed alone.
    for (const std::string& line : lines) text += line == "\n" ? line : line + "\n";
    return text;
}

}  // namespace

std::uint8_t LabelOf(EndKind kind) { return kLabelOfKind[static_cast<std::size_t>(kind)]; }

void FillEndPoints(const GridData& grid, double* endX, double* endY) {
    // The attractors are exactly the start points whose orbits end inside
    // the square, in grid order: every kind but infinity takes the next one.
    const std::vector<EndKind>& kinds = grid.model.kinds;
    const AttractorEnds& ends = grid.model.attractorEnds;
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    std::size_t next = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] == EndKind::Infinity || next >= ends.size()) {
            endX[i] = kNaN;
            endY[i] = kNaN;
        } else {
            endX[i] = ends.x[next];
            endY[i] = ends.y[next];
            ++next;
        }
    }
}

std::string CountsJsonOf(const ModelParams& p, const SpaceLists& lists) {
    const ListCounts c = ListCounts::Of(lists);
    return CountsJson(CountStartPoints(p), c.attractors, c.infinity, c.zero, c.t, c.o, c.m, c.h);
}

std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        int threads, const std::atomic<bool>& cancel) {
    ComputeControl control;
    control.threads = threads;
    control.cancel = &cancel;
    control.kindGrid = true;
    control.attractorEnds = true;
    std::optional<SpaceLists> lists = ComputeSpaces(p, originX, originY, control);
    if (!lists) return std::nullopt;

    GridData g;
    g.listsOriginX = originX;
    g.listsOriginY = originY;
    g.model.SetParams(p);
    g.model.originX = originX;
    g.model.originY = originY;
    g.countsJson = CountsJsonOf(p, *lists);
    g.model.Install(std::move(*lists));
    g.model.MakeReport();
    g.reportText = ReportText(g.model.report);

    const std::vector<EndKind>& kinds = g.model.kinds;
    g.labels.resize(kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) g.labels[i] = LabelOf(kinds[i]);
    g.columnsX = SideCoordinates(p.x1, p.x2, p.step);
    g.rowsY = SideCoordinates(p.y1, p.y2, p.step);
    g.columns = g.columnsX.size();
    g.rows = g.rowsY.size();
    return g;
}

}  // namespace orbitograph::python

#include "view/readout.h"

#include <algorithm>

#include "model/classify.h"
#include "model/grid.h"
#include "model/number_text.h"
#include "model/orbit.h"
#include "view/basin_colouring.h"
#include "view/fitted_frame.h"
#include "view/panel_geometry.h"

namespace orbitograph {

namespace {

bool Inside(const PixelRect& r, std::int64_t x, std::int64_t y) {
    return x >= r.left && x < std::int64_t{r.left} + r.width && y >= r.top && y < std::int64_t{r.top} + r.height;
}

PixelPlace FittedPlace(const ViewState& v, std::int64_t x, std::int64_t y, bool clamp) {
    const FittedLayout f = FittedLayoutOf(v);
    PixelPlace place;
    if (f.attractors && Inside(f.attractorSquare, x, y)) {
        const std::int32_t side = f.attractorSquare.width;
        place.panel = PanelKind::Attractors;
        place.x = SquareX(static_cast<std::int32_t>(x - f.attractorSquare.left), side);
        place.y = SquareY(static_cast<std::int32_t>(y - f.attractorSquare.top), side);
        return place;
    }
    const PixelRect& a = f.basinArea;
    if (!f.basins || a.Empty() || !(clamp || Inside(a, x, y))) return place;
    const ListGrid grid = ListGridOfView(v);
    const std::int64_t column = std::clamp<std::int64_t>(x - a.left, 0, a.width - 1);
    const std::int64_t up = std::clamp<std::int64_t>(std::int64_t{a.top} + a.height - 1 - y, 0, a.height - 1);
    place.panel = PanelKind::Basins;
    place.columns = AxisFit{grid.columns, a.width}.GridRun(column);
    place.rows = AxisFit{grid.rows, a.height}.GridRun(up);
    const ModelParams p = v.Params();
    place.x = p.x1 + (static_cast<double>(column) + 0.5) * static_cast<double>(grid.columns) * p.step / a.width;
    place.y = p.y1 + (static_cast<double>(up) + 0.5) * static_cast<double>(grid.rows) * p.step / a.height;
    return place;
}

PixelPlace ClassicPlace(const ViewState& v, std::int64_t x, std::int64_t y, bool clamp) {
    const bool two = v.m_switches.m_twoModes;
    const bool basins = two ? x >= v.m_clientRect.Width() / 2 : v.BasinsAlone();
    const ModelParams p = v.Params();
    PixelPlace place;
    if (!basins) {
        const std::int64_t s = two ? AttractorShift(p.step) : 0;
        place.panel = PanelKind::Attractors;
        place.x = static_cast<double>(x - s - v.m_listsOriginX) * p.step;
        place.y = static_cast<double>(v.m_listsOriginY - y) * p.step;
        return place;
    }
    const ListGrid grid = ListGridOfView(v);
    if (grid.columns < 1 || grid.rows < 1) return place;
    const std::int64_t s = two ? BasinShift(p.x1, p.x2, p.step) : 0;
    std::int64_t column = x - s - grid.pxFirst;
    std::int64_t row = grid.pyFirst - y;
    const bool inside = column >= 0 && column < grid.columns && row >= 0 && row < grid.rows;
    if (!inside && !clamp) return place;
    column = std::clamp<std::int64_t>(column, 0, grid.columns - 1);
    row = std::clamp<std::int64_t>(row, 0, grid.rows - 1);
    place.panel = PanelKind::Basins;
    place.columns = {column, column + 1};
    place.rows = {row, row + 1};
    place.x = GridSide(p.x1, p.x2, p.step).At(static_cast<std::size_t>(column));
    place.y = GridSide(p.y1, p.y2, p.step).At(static_cast<std::size_t>(row));
    return place;
}

QString Number(double v) { return QString::fromStdString(FormatGeneral(v, 17)); }
QString Short(double v) { return QString::fromStdString(FormatGeneral(v, 8)); }

QString KindWords(EndKind kind) {
    switch (kind) {
        case EndKind::Infinity: return QStringLiteral("уходит в бесконечность (розовый цвет)");
        case EndKind::Zero: return QStringLiteral("стремится к нулю (серый цвет)");
        case EndKind::T: return QStringLiteral("кончается в области \u0422 (зеленый цвет)");
        case EndKind::O: return QStringLiteral("кончается в области \u041E (красный цвет)");
        case EndKind::M: return QStringLiteral("кончается в области \u041C (голубой цвет)");
        case EndKind::H: return QStringLiteral("кончается в области \u041D (оранжевый цвет)");
        case EndKind::None: break;
    }
    return QStringLiteral("кончается в углу областей, ни в одной из них (цвета нет)");
}

std::int64_t OrbitsEndingAt(const ViewState& v, const FractalModel& m, EndCounts& counts, std::int32_t x,
                            std::int32_t y) {
    if (v.m_switches.m_fitWindow) {
        const PixelRect sq = FittedLayoutOf(v).attractorSquare;
        const EndDensity& density = counts.Density(m.attractorEnds, sq.width, false);
        return density.ends[static_cast<std::size_t>(y - sq.top) * static_cast<std::size_t>(sq.width) +
                            static_cast<std::size_t>(x - sq.left)];
    }
    const std::int32_t s = v.m_switches.m_twoModes ? AttractorShift(v.m_params.m_step) : 0;
    return counts.AtPixel(m.attractors, s, v.m_clientRect.Width(), v.m_clientRect.Height(), x, y);
}

// The analysis of the pixel's first grid point, when the lists hold it.
QString AnalysisWords(const ViewState& v, const FractalModel& m, const PixelPlace& place) {
    const ListGrid grid = ListGridOfView(v);
    if (!HoldsAnalysis(m, grid)) return {};
    const auto i = static_cast<std::size_t>(place.columns.begin * grid.rows + place.rows.begin);
    const GridAnalysis& a = m.analysis;
    const std::int32_t id = a.Attractor()[i], exit = a.ExitStep()[i], period = a.Period()[i];
    QString words = id > 0 ? QStringLiteral("; аттрактор %1").arg(id) : QStringLiteral("; аттрактора нет");
    words += exit >= 0 ? QStringLiteral("; выход: шаг %1").arg(exit) : QStringLiteral("; выхода нет");
    words += period > 0 ? QStringLiteral("; период %1 с шага %2").arg(period).arg(a.CycleStart()[i])
                        : QStringLiteral("; цикла нет");
    return words;
}

}  // namespace

PixelPlace LocatePixel(const ViewState& view, std::int32_t x, std::int32_t y, bool clampToBasins) {
    return view.m_switches.m_fitWindow ? FittedPlace(view, x, y, clampToBasins)
                                       : ClassicPlace(view, x, y, clampToBasins);
}

QString ReadoutText(const ViewState& view, const FractalModel& model, EndCounts& counts, std::int32_t x,
                    std::int32_t y) {
    if (model.report.empty()) return {};  // nothing computed yet
    const PixelPlace place = LocatePixel(view, x, y);
    const QString at = QStringLiteral("x = %1, y = %2").arg(Short(place.x), Short(place.y));
    if (place.panel == PanelKind::Attractors) {
        return QStringLiteral("Аттракторы: %1; орбит, кончающихся здесь: %2")
            .arg(at)
            .arg(OrbitsEndingAt(view, model, counts, x, y));
    }
    if (place.panel != PanelKind::Basins) return {};
    const ModelParams p = view.Params();
    const double gx = GridSide(p.x1, p.x2, p.step).At(static_cast<std::size_t>(place.columns.begin));
    const double gy = GridSide(p.y1, p.y2, p.step).At(static_cast<std::size_t>(place.rows.begin));
    const State end = IterateOrbit(MapParams::From(p), State{gx, gy});
    return QStringLiteral("Бассейны: %1; точка сетки (%2, %3): орбита %4, конец (%5, %6)")
               .arg(at, Number(gx), Number(gy), KindWords(Classify(end.x, end.y)), Number(end.x), Number(end.y)) +
           AnalysisWords(view, model, place);
}

}  // namespace orbitograph

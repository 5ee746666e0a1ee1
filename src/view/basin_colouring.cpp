#include "view/basin_colouring.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orbitograph {

namespace {

// The smallest value on the scale of a column: below it a start point has
// no value.
std::int32_t Floor(AnalysisColumn column) { return column == AnalysisColumn::Period ? 1 : 0; }

bool Ready(QImage& canvas) {
    if (canvas.isNull()) return false;
    if (canvas.format() != QImage::Format_ARGB32) canvas.convertTo(QImage::Format_ARGB32);
    return canvas.format() == QImage::Format_ARGB32;
}

QRgb* Row(QImage& canvas, std::int64_t y) { return reinterpret_cast<QRgb*>(canvas.bits() + y * canvas.bytesPerLine()); }

// The code most of codes[0 .. n) hold, the smallest on a tie; sorts them.
std::int32_t MostFrequent(std::vector<std::int32_t>& codes) {
    const std::int32_t first = codes.front();
    if (std::all_of(codes.begin(), codes.end(), [first](std::int32_t c) { return c == first; })) return first;
    std::sort(codes.begin(), codes.end());
    std::int32_t best = codes.front();
    std::size_t most = 0;
    for (std::size_t i = 0; i < codes.size();) {
        std::size_t j = i;
        while (j < codes.size() && codes[j] == codes[i]) ++j;
        if (j - i > most) most = j - i, best = codes[i];
        i = j;
    }
    return best;
}

}  // namespace

QRgb ScaleColour(double t) {
    // Dark blue through teal and green to yellow: lightness rises throughout.
    constexpr QRgb anchors[] = {0xFF440154, 0xFF3B528B, 0xFF21918C, 0xFF5EC962, 0xFFFDE725};
    const double s = std::clamp(t, 0.0, 1.0) * 4.0;
    const int i = std::min(static_cast<int>(s), 3);
    const double f = s - i;
    const auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
    const QRgb a = anchors[i], b = anchors[i + 1];
    return qRgba(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)), 255);
}

QRgb BasinColours::Of(std::int32_t code) const {
    if (column == AnalysisColumn::Attractor) {
        if (code > 0) return AttractorColour(code);
        return code == 0 ? kEscapedColour : kUnsettledColour;
    }
    if (code < Floor(column)) return kNoValueColour;
    if (largest <= smallest) return ScaleColour(0.0);
    const double span = static_cast<double>(std::int64_t{largest} - smallest);
    return ScaleColour(std::log1p(static_cast<double>(std::int64_t{code} - smallest)) / std::log1p(span));
}

BasinColours BasinColoursOf(const GridAnalysis& a, AnalysisColumn column) {
    if (column == AnalysisColumn::Attractor) return {column, 1, static_cast<std::int32_t>(a.attractors.size())};
    const std::int32_t floor = Floor(column);
    std::int32_t smallest = INT32_MAX, largest = floor;
    for (const std::int32_t v : a.Column(column)) {
        if (v < floor) continue;
        smallest = std::min(smallest, v);
        largest = std::max(largest, v);
    }
    return {column, smallest == INT32_MAX ? floor : smallest, largest};
}

std::int32_t BasinCode(const GridAnalysis& a, AnalysisColumn column, std::size_t i) {
    if (column != AnalysisColumn::Attractor) return a.Column(column)[i];
    const std::int32_t id = a.Attractor()[i];
    return id > 0 ? id : a.ExitStep()[i] >= 0 ? 0 : -1;
}

bool HoldsAnalysis(const SpaceLists& lists, const ListGrid& grid) {
    return grid.columns > 0 && grid.rows > 0 &&
           lists.analysis.size() == static_cast<std::size_t>(grid.columns * grid.rows);
}

void DrawColouredBasins(QImage& canvas, const SpaceLists& lists, const ListGrid& grid, std::int32_t shift,
                        AnalysisColumn column) {
    if (!HoldsAnalysis(lists, grid) || !Ready(canvas)) return;
    const BasinColours colours = BasinColoursOf(lists.analysis, column);
    const auto width = static_cast<std::uint64_t>(canvas.width());
    const auto height = static_cast<std::uint64_t>(canvas.height());
    for (const PointList* list :
         {&lists.basinInfinity, &lists.basinZero, &lists.basinO, &lists.basinT, &lists.basinM, &lists.basinH}) {
        for (const Point& p : *list) {
            const std::int64_t x = std::int64_t{p.x} + shift;
            const std::int64_t c = p.x - grid.pxFirst, r = grid.pyFirst - p.y;
            if (static_cast<std::uint64_t>(x) >= width || static_cast<std::uint64_t>(p.y) >= height) continue;
            if (c < 0 || c >= grid.columns || r < 0 || r >= grid.rows) continue;
            const auto i = static_cast<std::size_t>(c * grid.rows + r);
            Row(canvas, p.y)[x] = colours.Of(BasinCode(lists.analysis, column, i));
        }
    }
}

void DrawFittedColouredBasins(QImage& canvas, const PixelRect& area, const SpaceLists& lists, const ListGrid& grid,
                              AnalysisColumn column) {
    if (area.Empty() || !HoldsAnalysis(lists, grid) || !Ready(canvas)) return;
    const BasinColours colours = BasinColoursOf(lists.analysis, column);
    const AxisFit across{grid.columns, area.width};
    const AxisFit up{grid.rows, area.height};
    const auto rows = static_cast<std::size_t>(grid.rows);
    const bool haveKinds = lists.kinds.size() == lists.analysis.size();
    std::vector<std::int32_t> codes;
    for (std::int64_t q = 0; q < area.width; ++q) {
        const std::int64_t x = std::int64_t{area.left} + q;
        if (x < 0 || x >= canvas.width()) continue;
        const AxisFit::Run cols = across.GridRun(q);
        for (std::int64_t u = 0; u < area.height; ++u) {
            const std::int64_t y = std::int64_t{area.top} + area.height - 1 - u;
            if (y < 0 || y >= canvas.height()) continue;
            const AxisFit::Run run = up.GridRun(u);
            codes.clear();
            for (std::int64_t c = cols.begin; c < cols.end; ++c) {
                for (std::int64_t r = run.begin; r < run.end; ++r) {
                    const std::size_t i = static_cast<std::size_t>(c) * rows + static_cast<std::size_t>(r);
                    if (haveKinds && lists.kinds[i] == EndKind::None) continue;
                    codes.push_back(BasinCode(lists.analysis, column, i));
                }
            }
            if (!codes.empty()) Row(canvas, y)[x] = colours.Of(MostFrequent(codes));
        }
    }
}

}  // namespace orbitograph

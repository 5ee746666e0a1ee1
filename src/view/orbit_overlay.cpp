#include "view/orbit_overlay.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <utility>

#include "model/classify.h"
#include "view/fitted_frame.h"
#include "view/panel_geometry.h"

namespace orbitograph {

namespace {

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// Cuts the segment a-b to the rectangle (Liang-Barsky); false when nothing
// of it is inside. Keeps the coordinates a painter gets within the panel.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const std::pair<double, double> edges[] = {
        {-dx, a.x() - r.left()}, {dx, r.right() - a.x()}, {-dy, a.y() - r.top()}, {dy, r.bottom() - a.y()}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0) return false;
            continue;
        }
        const double t = q / p;
        if (p < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const QPointF from = a;
    a = from + QPointF(dx * t0, dy * t0);
    b = from + QPointF(dx * t1, dy * t1);
    return true;
}

}  // namespace

QPointF AttractorPanelMap::Place(double x, double y) const {
    if (fitted) {
        const double k = panel.width / 4.0;
        return {panel.left + (x + 2.0) * k, panel.top + (2.0 - y) * k};
    }
    return {x / step + originX + shift, originY - y / step};
}

QPoint AttractorPanelMap::Pixel(double x, double y) const {
    if (fitted) return {panel.left + SquareColumn(x, panel.width), panel.top + SquareRow(y, panel.width)};
    return {TruncToInt32(x / step + originX) + shift, TruncToInt32(originY - y / step)};
}

std::optional<AttractorPanelMap> AttractorPanelOf(const ViewState& view) {
    AttractorPanelMap m;
    if (view.m_switches.m_fitWindow) {
        const FittedLayout f = FittedLayoutOf(view);
        if (!f.attractors || f.attractorSquare.Empty()) return std::nullopt;
        m.fitted = true;
        m.panel = f.attractorSquare;
        return m;
    }
    const bool two = view.m_switches.m_twoModes;
    if (!two && view.BasinsAlone()) return std::nullopt;
    m.step = view.m_params.m_step;
    m.shift = two ? AttractorShift(m.step) : 0;
    m.originX = static_cast<double>(view.m_listsOriginX);
    m.originY = static_cast<double>(view.m_listsOriginY);
    const QPoint topLeft = m.Pixel(-2.0, 2.0);
    const QPoint bottomRight = m.Pixel(2.0, -2.0);
    m.panel = {topLeft.x(), topLeft.y(), bottomRight.x() - topLeft.x() + 1, bottomRight.y() - topLeft.y() + 1};
    return m;
}

OrbitInk OrbitInkFor(std::size_t states, std::int64_t panelPixels) {
    constexpr std::size_t kFullLines = 200;
    OrbitInk ink;
    if (states > kFullLines)
        ink.lineAlpha = static_cast<int>(std::max<std::size_t>(kFaintestLine, 255 * kFullLines / states));
    ink.marks = static_cast<std::int64_t>(states) * 9 * 32 <= panelPixels;
    return ink;
}

void DrawOrbitOverlay(QImage& canvas, const ViewState& view, const ProbeResult& orbit) {
    const std::optional<AttractorPanelMap> map = AttractorPanelOf(view);
    if (!map || map->panel.Empty() || orbit.rows.empty()) return;
    const QRect panel(map->panel.left, map->panel.top, map->panel.width, map->panel.height);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(panel);
    const std::vector<ProbeRow>& rows = orbit.rows;
    const OrbitInk ink = OrbitInkFor(rows.size(), std::int64_t{panel.width()} * panel.height());
    QColor faint = QColor::fromRgba(kOrbitColour);
    faint.setAlpha(ink.lineAlpha);
    painter.setPen(QPen(faint, 0));
    // Line ends at pixel centres, kept a little inside the panel's edges.
    const QRectF bounds = QRectF(panel).adjusted(0.0, 0.0, -0.01, -0.01);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const ProbeRow& a = rows[i - 1];
        const ProbeRow& b = rows[i];
        if (b.step != a.step + 1 || !Finite(a.x, a.y) || !Finite(b.x, b.y)) continue;
        QPointF from = map->Place(a.x, a.y), to = map->Place(b.x, b.y);
        if (ClipSegment(from, to, bounds)) painter.drawLine(from, to);
    }
    const QColor colour = QColor::fromRgba(kOrbitColour);
    painter.setPen(QPen(colour, 0));
    const auto inside = [](const ProbeRow& r) { return InsideSquare(r.x, r.y); };
    for (const ProbeRow& r : rows) {
        if (!ink.marks || !inside(r)) continue;
        const QPoint p = map->Pixel(r.x, r.y);
        painter.fillRect(QRect(p.x() - 1, p.y() - 1, 3, 3), colour);
    }
    if (inside(rows.front())) {
        const QPoint p = map->Pixel(rows.front().x, rows.front().y);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(p.x() - 3, p.y() - 3, 6, 6));
    }
    const ProbeSummary& s = orbit.summary;
    if (s.reach != ProbeReach::Escape && InsideSquare(s.end.x, s.end.y)) {
        const QPoint p = map->Pixel(s.end.x, s.end.y);
        painter.drawLine(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
        painter.drawLine(p.x() - 3, p.y() + 3, p.x() + 3, p.y() - 3);
    }
}

}  // namespace orbitograph

#include "view/sweep_chart.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "draw/pixel_font.h"
#include "model/number_text.h"
#include "view/basin_colouring.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

constexpr QRgb kChartBackground = 0xFFFFFFFF;
constexpr QRgb kAxisColour = 0xFF000000;
constexpr int kFontPixels = 13;
constexpr int kTickLength = 5;

// At most about `most` round tick values (1, 2 or 5 times a power of ten)
// within [lo, hi]; lo < hi.
std::vector<double> Ticks(double lo, double hi, int most) {
    const double raw = (hi - lo) / most;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw) break;
    }
    std::vector<double> ticks;
    for (double k = std::ceil(lo / step); k * step <= hi * (1 + 1e-12) + 1e-300; k += 1.0) {
        const double t = k * step;
        ticks.push_back(std::abs(t) < step * 1e-9 ? 0.0 : t);
        if (ticks.size() > 100) break;
    }
    return ticks;
}

QString TickText(double v) { return QString::fromStdString(FormatGeneral(v, 6)); }

// The range of the x axis: the values' extent, widened when it is one point.
std::pair<double, double> XRange(const std::vector<double>& values) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    if (*lo < *hi) return {*lo, *hi};
    return {*lo - 0.5, *lo + 0.5};
}

double XOf(QRect plot, double lo, double hi, double v) { return plot.left() + (v - lo) / (hi - lo) * plot.width(); }

void DrawLegendEntry(QPainter& p, int x, int y, QRgb colour, const QString& name, bool line) {
    if (line) {
        p.fillRect(x, y + 6, 24, 3, QColor::fromRgba(colour));
    } else {
        p.fillRect(x, y, 14, 14, QColor::fromRgba(colour));
        p.setPen(QColor::fromRgba(kAxisColour));
        p.drawRect(x, y, 14, 14);
    }
    p.setPen(QColor::fromRgba(kAxisColour));
    DrawTextAt(p, x + 30, y, name);
}

QImage WhiteCanvas(QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    if (!image.isNull()) image.fill(kChartBackground);
    return image;
}

void DrawVerticalTitle(QPainter& p, int x, int centreY, const QString& text) {
    p.save();
    p.translate(x, centreY + p.fontMetrics().horizontalAdvance(text) / 2);
    p.rotate(-90);
    DrawTextAt(p, 0, 0, text);
    p.restore();
}

}  // namespace

QRgb ChartCurveColour(int curve) {
    // The basins' pale pink of infinity, deepened to be read on white.
    constexpr QRgb kChartInfinityColour = 0xFFD23CB4;
    constexpr QRgb colours[kChartCurves] = {kChartInfinityColour, kBasinZeroColour, kBasinTColour,   kBasinOColour,
                                            kBasinMColour,        kBasinHColour,    kAttractorColour};
    return colours[curve];
}

QString ChartCurveName(int curve) {
    static const char* const names[kChartCurves] = {"бесконечность", "ноль",      "область Т", "область О",
                                                    "область М",     "область Н", "аттракторы"};
    return QString::fromUtf8(names[curve]);
}

double ChartFraction(const ListCounts& c, int curve) {
    if (c.startPoints <= 0) return 0.0;
    const std::int64_t counts[kChartCurves] = {c.infinity, c.zero, c.t, c.o, c.m, c.h, c.attractors};
    return static_cast<double>(counts[curve]) / static_cast<double>(c.startPoints);
}

QString SweepAxisTitle(SweepParam p) {
    switch (p) {
        case SweepParam::A: return QString::fromUtf8("Параметр A");
        case SweepParam::Dc: return QString::fromUtf8("Воздействие Dc");
        case SweepParam::Kc: return QString::fromUtf8("Воздействие Kc");
        case SweepParam::Iterations: return QString::fromUtf8("Число итераций (N)");
    }
    return {};
}

QRect ChartPlotRect(QSize size) { return QRect(QPoint(70, 20), QPoint(size.width() - 190, size.height() - 60)); }

namespace {

// One polyline of a chart: the fraction at some of the values (by index).
struct ChartCurve {
    QRgb colour;
    QString name;
    std::vector<std::pair<std::size_t, double>> points;
};

// The chart of the curves in order; beyond kChartCurves curves the legend
// holds as many entries as fit below the plot's top, the last one "…" when
// some are left out.
QImage DrawCurveChart(SweepParam param, const std::vector<double>& values, const std::vector<ChartCurve>& curves,
                      QSize size) {
    QImage image = WhiteCanvas(size);
    if (image.isNull()) return image;
    const QRect plot = ChartPlotRect(size);
    const auto [lo, hi] = XRange(values);
    QPainter p(&image);
    p.setFont(ArialPixelFont(kFontPixels));
    const int line = static_cast<int>(LineSpacing(p));
    for (const ChartCurve& curve : curves) {
        // The points in increasing order of value, so that each polyline runs left to right.
        std::vector<std::pair<std::size_t, double>> points = curve.points;
        std::stable_sort(points.begin(), points.end(),
                         [&](const auto& a, const auto& b) { return values[a.first] < values[b.first]; });
        QPolygonF polyline;
        for (const auto& [i, fraction] : points)
            polyline << QPointF(XOf(plot, lo, hi, values[i]), plot.bottom() - fraction * plot.height());
        const QColor colour = QColor::fromRgba(curve.colour);
        p.setPen(QPen(colour, 2));
        p.drawPolyline(polyline);
        if (values.size() <= 60) {
            for (const QPointF& q : polyline) p.fillRect(QRectF(q.x() - 2, q.y() - 2, 5, 5), colour);
        }
    }
    // The axes over the curves' ends.
    p.setPen(QColor::fromRgba(kAxisColour));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    for (const double t : Ticks(0.0, 1.0, 5)) {
        const int y = static_cast<int>(std::lround(plot.bottom() - t * plot.height()));
        p.drawLine(plot.left() - kTickLength, y, plot.left(), y);
        const QString text = TickText(t);
        DrawTextAt(p, plot.left() - kTickLength - 3 - p.fontMetrics().horizontalAdvance(text), y - line / 2, text);
    }
    for (const double t : Ticks(lo, hi, 8)) {
        const int x = static_cast<int>(std::lround(XOf(plot, lo, hi, t)));
        p.drawLine(x, plot.bottom(), x, plot.bottom() + kTickLength);
        const QString text = TickText(t);
        DrawTextAt(p, x - p.fontMetrics().horizontalAdvance(text) / 2, plot.bottom() + kTickLength + 2, text);
    }
    const QString xTitle = SweepAxisTitle(param);
    DrawTextAt(p, plot.center().x() - p.fontMetrics().horizontalAdvance(xTitle) / 2, plot.bottom() + 14 + line * 2,
               xTitle);
    DrawVerticalTitle(p, 8, plot.center().y(), QString::fromUtf8("Доля точек старта"));

    const int fit =
        curves.size() <= kChartCurves ? kChartCurves : std::max(1, (size.height() - plot.top() - line) / (line + 6));
    for (int k = 0; k < static_cast<int>(curves.size()); ++k) {
        const int y = plot.top() + k * (line + 6);
        if (k == fit - 1 && static_cast<int>(curves.size()) > fit) {
            DrawTextAt(p, plot.right() + 50, y, QString::fromUtf8("…"));
            break;
        }
        DrawLegendEntry(p, plot.right() + 20, y, curves[static_cast<std::size_t>(k)].colour,
                        curves[static_cast<std::size_t>(k)].name, true);
    }
    return image;
}

}  // namespace

QImage DrawSweepChart(SweepParam param, const std::vector<double>& values, const std::vector<ListCounts>& counts,
                      QSize size) {
    if (values.empty() || values.size() != counts.size()) return WhiteCanvas(size);
    std::vector<ChartCurve> curves;
    for (int curve = 0; curve < kChartCurves; ++curve) {
        ChartCurve& c = curves.emplace_back(ChartCurve{ChartCurveColour(curve), ChartCurveName(curve), {}});
        for (std::size_t i = 0; i < values.size(); ++i) c.points.emplace_back(i, ChartFraction(counts[i], curve));
    }
    return DrawCurveChart(param, values, curves, size);
}

QRgb TrackColour(std::int32_t track) { return AttractorColour(std::max(track, 1)); }

QImage DrawShareChart(SweepParam param, const std::vector<double>& values, const std::vector<TrackPoint>& points,
                      QSize size) {
    if (values.empty()) return WhiteCanvas(size);
    std::vector<ChartCurve> curves;
    for (const TrackPoint& t : points) {
        if (t.value < 0 || static_cast<std::size_t>(t.value) >= values.size() || t.track < 1) continue;
        const auto k = static_cast<std::size_t>(t.track - 1);
        while (curves.size() <= k) {
            const auto track = static_cast<std::int32_t>(curves.size() + 1);
            curves.push_back({TrackColour(track), QString::fromUtf8("ветвь %1").arg(track), {}});
        }
        curves[k].points.emplace_back(static_cast<std::size_t>(t.value), t.share);
    }
    QImage image = DrawCurveChart(param, values, curves, size);
    if (curves.empty() && !image.isNull()) {
        QPainter p(&image);
        p.setFont(ArialPixelFont(kFontPixels));
        p.setPen(QColor::fromRgba(kAxisColour));
        const QString note = QString::fromUtf8("Аттракторы не найдены");
        const QRect plot = ChartPlotRect(size);
        DrawTextAt(p, plot.center().x() - p.fontMetrics().horizontalAdvance(note) / 2, plot.center().y(), note);
    }
    return image;
}

std::optional<std::size_t> ChartValueAt(QSize size, const std::vector<double>& values, QPoint point) {
    const QRect plot = ChartPlotRect(size).adjusted(-4, -4, 4, 4);
    if (values.empty() || !plot.contains(point)) return std::nullopt;
    const auto [lo, hi] = XRange(values);
    std::size_t best = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double d = std::abs(XOf(ChartPlotRect(size), lo, hi, values[i]) - point.x());
        if (d < std::abs(XOf(ChartPlotRect(size), lo, hi, values[best]) - point.x())) best = i;
    }
    return best;
}

QRgb DominantColour(DominantKind k) {
    constexpr QRgb colours[] = {kBasinInfinityColour, kBasinZeroColour, kBasinOColour,
                                kBasinTColour,        kBasinMColour,    kBasinHColour};
    return colours[static_cast<int>(k)];
}

PlaneLayout PlaneLayoutFor(std::size_t n1, std::size_t n2, int scale) {
    const int w = static_cast<int>(n1) * scale;
    const int h = static_cast<int>(n2) * scale;
    PlaneLayout l;
    l.cells = QRect(80, 20, w, h);
    l.size = QSize(80 + w + 170, std::max(20 + h + 60, 20 + 6 * 20 + 20));
    return l;
}

QImage DrawParamPlane(SweepParam param1, const std::vector<double>& values1, SweepParam param2,
                      const std::vector<double>& values2, const std::vector<ListCounts>& counts, int scale) {
    const std::size_t n1 = values1.size();
    const std::size_t n2 = values2.size();
    const PlaneLayout l = PlaneLayoutFor(n1, n2, scale);
    QImage image = WhiteCanvas(l.size);
    if (image.isNull() || n1 == 0 || n2 == 0 || counts.size() != n1 * n2) return image;
    for (std::size_t j = 0; j < n2; ++j) {
        for (std::size_t i = 0; i < n1; ++i) {
            const QRgb colour = DominantColour(Dominant(counts[j * n1 + i]));
            const int x0 = l.cells.left() + static_cast<int>(i) * scale;
            const int y0 = l.cells.top() + static_cast<int>(n2 - 1 - j) * scale;
            for (int y = y0; y < y0 + scale; ++y) {
                QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
                std::fill(row + x0, row + x0 + scale, colour);
            }
        }
    }
    QPainter p(&image);
    p.setFont(ArialPixelFont(kFontPixels));
    const int line = static_cast<int>(LineSpacing(p));
    p.setPen(QColor::fromRgba(kAxisColour));
    // The frame: one pixel outside the cells on every side.
    const QRect frame = l.cells.adjusted(-1, -1, 1, 1);
    p.drawLine(frame.topLeft(), frame.topRight());
    p.drawLine(frame.bottomLeft(), frame.bottomRight());
    p.drawLine(frame.topLeft(), frame.bottomLeft());
    p.drawLine(frame.topRight(), frame.bottomRight());
    // A tick at the centre of the cell of each round value's nearest value.
    const auto ticks = [](const std::vector<double>& v, const auto& place) {
        const auto [lo, hi] = XRange(v);
        for (const double t : Ticks(lo, hi, 6)) {
            // The position of t along the run of cell centres, linear in the value.
            const double at = v.front() == v.back() ? 0.0 : (t - v.front()) / (v.back() - v.front()) * (v.size() - 1);
            place(at, t);
        }
    };
    ticks(values1, [&](double at, double t) {
        const int x = static_cast<int>(std::lround(l.cells.left() + (at + 0.5) * scale - 0.5));
        if (x < l.cells.left() || x > l.cells.right()) return;
        p.drawLine(x, frame.bottom(), x, frame.bottom() + kTickLength);
        const QString text = TickText(t);
        DrawTextAt(p, x - p.fontMetrics().horizontalAdvance(text) / 2, frame.bottom() + kTickLength + 2, text);
    });
    ticks(values2, [&](double at, double t) {
        const int y = static_cast<int>(std::lround(l.cells.bottom() - (at + 0.5) * scale + 0.5));
        if (y < l.cells.top() || y > l.cells.bottom()) return;
        p.drawLine(frame.left() - kTickLength, y, frame.left(), y);
        const QString text = TickText(t);
        DrawTextAt(p, frame.left() - kTickLength - 3 - p.fontMetrics().horizontalAdvance(text), y - line / 2, text);
    });
    const QString xTitle = SweepAxisTitle(param1);
    DrawTextAt(p, l.cells.center().x() - p.fontMetrics().horizontalAdvance(xTitle) / 2, frame.bottom() + 12 + line * 2,
               xTitle);
    DrawVerticalTitle(p, 4, l.cells.center().y(), SweepAxisTitle(param2));
    constexpr DominantKind kinds[] = {DominantKind::Infinity, DominantKind::Zero, DominantKind::T,
                                      DominantKind::O,        DominantKind::M,    DominantKind::H};
    for (int k = 0; k < 6; ++k) {
        DrawLegendEntry(p, l.cells.right() + 20, l.cells.top() + k * 20, DominantColour(kinds[k]), ChartCurveName(k),
                        false);
    }
    return image;
}

std::optional<std::pair<std::size_t, std::size_t>> PlaneCellAt(std::size_t n1, std::size_t n2, int scale,
                                                               QPoint point) {
    const PlaneLayout l = PlaneLayoutFor(n1, n2, scale);
    if (!l.cells.contains(point)) return std::nullopt;
    const auto i = static_cast<std::size_t>((point.x() - l.cells.left()) / scale);
    const auto j = n2 - 1 - static_cast<std::size_t>((point.y() - l.cells.top()) / scale);
    return std::pair{i, j};
}

}  // namespace orbitograph

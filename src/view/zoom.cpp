#include "view/zoom.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "model/number_text.h"

namespace orbitograph {

namespace {

std::int64_t Side(double lo, double hi, double step) {
    std::int64_t n = 0;
    for (double v = lo; v <= hi; v += step) ++n;
    return n;
}

// The step that puts `points` grid points on [lo, hi]: the length over
// points - 1, made smaller by a few units in the last place when the
// accumulated sum would overshoot hi and lose the last point.
double StepFor(double lo, double hi, std::int64_t points) {
    if (points < 2 || !(hi > lo)) return hi - lo;
    double step = (hi - lo) / static_cast<double>(points - 1);
    for (int i = 0; i < 64 && Side(lo, hi, step) < points; ++i) step = std::nextafter(step, 0.0);
    return step;
}

}  // namespace

ZoomResult ZoomTo(const ModelParams& p, const ZoomBox& box, bool keepDetail) {
    ModelParams z = p;
    z.x1 = std::clamp(std::min(box.xa, box.xb), -2.0, 2.0);
    z.x2 = std::clamp(std::max(box.xa, box.xb), -2.0, 2.0);
    z.y1 = std::clamp(std::min(box.ya, box.yb), -2.0, 2.0);
    z.y2 = std::clamp(std::max(box.ya, box.yb), -2.0, 2.0);
    if (!(z.x2 > z.x1 && z.y2 > z.y1)) return {};
    if (std::tie(z.x1, z.x2, z.y1, z.y2) == std::tie(p.x1, p.x2, p.y1, p.y2)) {
        // The same rectangle: nothing to compute; asked for more than the
        // whole square it shows, say why.
        const bool beyond = std::min(box.xa, box.xb) < -2.0 || std::max(box.xa, box.xb) > 2.0 ||
                            std::min(box.ya, box.yb) < -2.0 || std::max(box.ya, box.yb) > 2.0;
        if (beyond) return {std::nullopt, "Уменьшение отклонено: показан весь квадрат [-2, 2] x [-2, 2]."};
        return {};
    }
    if (keepDetail) {
        const std::int64_t points = std::max(CountColumns(p), CountRows(p));
        z.step = z.x2 - z.x1 >= z.y2 - z.y1 ? StepFor(z.x1, z.x2, points) : StepFor(z.y1, z.y2, points);
    }
    if (!(z.step >= kMinStep))
        return {std::nullopt,
                "Увеличение отклонено: шаг стал бы меньше наименьшего, " + FormatGeneral(kMinStep, 15) + "."};
    if (const auto error = CheckParameters(z)) {
        if (error->reason == ParamReason::TooManyPoints)
            return {std::nullopt,
                    "Увеличение отклонено: сетка превысила бы " + FormatInt(kMaxStartPoints) + " начальных точек."};
        // The other parameters are those of a computed picture, the edges
        // clamped and the step checked above: nothing else can fail.
        return {std::nullopt, "Увеличение отклонено: параметры не подходят для вычисления."};
    }
    if (z == p) return {};
    return {z, {}};
}

ZoomBox ScaledBox(const ModelParams& p, double x, double y, double factor) {
    return {x - (x - p.x1) / factor, x + (p.x2 - x) / factor, y - (y - p.y1) / factor, y + (p.y2 - y) / factor};
}

void ParamHistory::Push(const ModelParams& p, bool fromZoom) {
    if (!m_sets.empty()) m_sets.resize(m_shown + 1);
    m_sets.push_back({p, fromZoom});
    m_shown = m_sets.size() - 1;
}

std::optional<ModelParams> ParamHistory::Back() const {
    if (m_sets.empty() || m_shown == 0) return std::nullopt;
    return m_sets[m_shown - 1].params;
}

std::optional<ModelParams> ParamHistory::Forward() const {
    if (m_shown + 1 >= m_sets.size()) return std::nullopt;
    return m_sets[m_shown + 1].params;
}

std::size_t ParamHistory::HomeIndex() const {
    std::size_t i = m_shown;
    while (i > 0 && m_sets[i].fromZoom) --i;
    return i;
}

std::optional<ModelParams> ParamHistory::Home() const {
    if (m_sets.empty() || HomeIndex() == m_shown) return std::nullopt;
    return m_sets[HomeIndex()].params;
}

}  // namespace orbitograph

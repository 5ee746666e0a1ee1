#include "model/model_params.h"

#include <cmath>

#include "model/grid.h"
#include "model/number_text.h"

namespace orbitograph {

namespace {

std::int64_t CountAccumulated(double lo, double hi, double step) {
    std::int64_t n = 0;
    for (double v = lo; v <= hi; v += step) ++n;
    return n;
}

// A quick upper estimate of one side of the grid, never below the exact
// count by more than rounding of the accumulation can make up.
double EstimateSide(double lo, double hi, double step) {
    if (lo > hi) return 0.0;
    return std::floor((hi - lo) / step) + 2.0;
}

bool IsEdge(double v) { return v >= -2.0 && v <= 2.0; }  // NaN fails

}  // namespace

std::int64_t CountColumns(const ModelParams& p) { return CountAccumulated(p.x1, p.x2, p.step); }
std::int64_t CountRows(const ModelParams& p) { return CountAccumulated(p.y1, p.y2, p.step); }

std::int64_t CountStartPoints(const ModelParams& p) {
    if (!(p.x1 <= p.x2 && p.y1 <= p.y2)) return 0;
    return CountColumns(p) * CountRows(p);
}

std::vector<double> GridCoordinates(double lo, double hi, double step) {
    std::vector<double> v;
    if (lo <= hi) v.reserve(static_cast<std::size_t>(std::floor((hi - lo) / step)) + 2);
    for (double c = lo; c <= hi; c += step) v.push_back(c);
    return v;
}

BasinPlacement ComputeBasinPlacement(const ModelParams& p) {
    BasinPlacement b;
    b.centreColumn = static_cast<std::int32_t>((p.x1 + (p.x2 - p.x1) * 0.5) / p.step);
    b.centreRow = static_cast<std::int32_t>((p.y1 + (p.y2 - p.y1) * 0.5) / p.step);
    b.firstColumn = static_cast<std::int32_t>(p.x1 / p.step);
    b.firstRow = static_cast<std::int32_t>(p.y1 / p.step);
    return b;
}

std::optional<ParamError> CheckParameters(const ModelParams& p) {
    if (!std::isfinite(p.a))
        return ParamError{ParamField::A, "Параметр A должен быть конечным числом."};
    if (p.dcOutward != 0 && p.dcOutward != 1)
        return ParamError{ParamField::DcOutward, "Выберите направление воздействия Dc."};
    if (p.kcOutward != 0 && p.kcOutward != 1)
        return ParamError{ParamField::KcOutward, "Выберите направление воздействия Kc."};
    if (!std::isfinite(p.dc))
        return ParamError{ParamField::Dc, "Значение Dc должно быть конечным числом."};
    if (!std::isfinite(p.kc))
        return ParamError{ParamField::Kc, "Значение Kc должно быть конечным числом."};
    if (!(p.step >= kMinStep) || !std::isfinite(p.step))
        return ParamError{ParamField::Step,
                          "Шаг должен быть конечным числом не меньше " + FormatGeneral(kMinStep, 15) + "."};
    const ParamField edges[] = {ParamField::X1, ParamField::X2, ParamField::Y1, ParamField::Y2};
    const double values[] = {p.x1, p.x2, p.y1, p.y2};
    const char* names[] = {"X1", "X2", "Y1", "Y2"};
    for (int i = 0; i < 4; ++i) {
        if (!IsEdge(values[i]))
            return ParamError{edges[i], std::string("Значение ") + names[i] + " должно быть числом от -2 до 2."};
    }
    const std::string limit = FormatInt(kMaxStartPoints);
    const double columns = EstimateSide(p.x1, p.x2, p.step);
    const double rows = EstimateSide(p.y1, p.y2, p.step);
    // The estimate rules out huge grids before any walk; an empty side
    // estimates 0 and passes.
    const bool tooMany = columns * rows > 2.0 * static_cast<double>(kMaxStartPoints) ||
                         CountStartPoints(p) > kMaxStartPoints;
    if (tooMany) {
        return ParamError{ParamField::Step,
                          "Слишком мелкий шаг: сетка содержит больше " + limit +
                              " начальных точек (каждая точка занимает до 16 байт памяти). "
                              "Увеличьте шаг или уменьшите область."};
    }
    return std::nullopt;
}

bool OriginAcceptable(std::int32_t x, std::int32_t y) {
    return x >= -kMaxOriginMagnitude && x <= kMaxOriginMagnitude && y >= -kMaxOriginMagnitude &&
           y <= kMaxOriginMagnitude;
}

}  // namespace orbitograph

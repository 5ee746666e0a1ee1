#include "model/model_params.h"

#include <cmath>
#include <limits>

#include "model/grid.h"

namespace orbitograph {

namespace {

bool IsEdge(double v) { return v >= -kEdgeLimit && v <= kEdgeLimit; }  // NaN fails

constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max() - 1;

// True when the grid has more than kMaxStartPoints start points. The lower
// bounds rule out huge grids without a walk; otherwise each side is walked
// at most as far as the limit can still hold.
bool TooManyStartPoints(const ModelParams& p) {
    if (!(p.x1 <= p.x2 && p.y1 <= p.y2)) return false;
    const double atLeast = static_cast<double>(SideCountAtLeast(p.x1, p.x2, p.step)) *
                           static_cast<double>(SideCountAtLeast(p.y1, p.y2, p.step));
    if (atLeast > static_cast<double>(kMaxStartPoints)) return true;
    const std::int64_t columns = CountSide(p.x1, p.x2, p.step, kMaxStartPoints);
    if (columns > kMaxStartPoints) return true;
    const std::int64_t rowsAllowed = kMaxStartPoints / columns;
    return CountSide(p.y1, p.y2, p.step, rowsAllowed) > rowsAllowed;
}

}  // namespace

std::int64_t CountColumns(const ModelParams& p) { return CountSide(p.x1, p.x2, p.step, kNoLimit); }
std::int64_t CountRows(const ModelParams& p) { return CountSide(p.y1, p.y2, p.step, kNoLimit); }

std::int64_t CountStartPoints(const ModelParams& p) {
    if (!(p.x1 <= p.x2 && p.y1 <= p.y2)) return 0;
    return CountColumns(p) * CountRows(p);
}

std::optional<ParamError> CheckParameters(const ModelParams& p) {
    if (!std::isfinite(p.a)) return ParamError{ParamField::A, ParamReason::NotFinite};
    if (p.dcOutward != 0 && p.dcOutward != 1) return ParamError{ParamField::DcOutward, ParamReason::NoDirection};
    if (p.kcOutward != 0 && p.kcOutward != 1) return ParamError{ParamField::KcOutward, ParamReason::NoDirection};
    if (!std::isfinite(p.dc)) return ParamError{ParamField::Dc, ParamReason::NotFinite};
    if (!std::isfinite(p.kc)) return ParamError{ParamField::Kc, ParamReason::NotFinite};
    if (!(p.step >= kMinStep) || !std::isfinite(p.step)) return ParamError{ParamField::Step, ParamReason::StepTooSmall};
    const ParamField edges[] = {ParamField::X1, ParamField::X2, ParamField::Y1, ParamField::Y2};
    const double values[] = {p.x1, p.x2, p.y1, p.y2};
    for (int i = 0; i < 4; ++i) {
        if (!IsEdge(values[i])) return ParamError{edges[i], ParamReason::EdgeOutOfRange};
    }
    if (TooManyStartPoints(p)) return ParamError{ParamField::Step, ParamReason::TooManyPoints};
    return std::nullopt;
}

bool OriginAcceptable(std::int32_t x, std::int32_t y) {
    return x >= -kMaxOriginMagnitude && x <= kMaxOriginMagnitude && y >= -kMaxOriginMagnitude &&
           y <= kMaxOriginMagnitude;
}

}  // namespace orbitograph

#pragma once

#include <cstdint>
#include <optional>

namespace orbitograph {

// The eleven parameters of one computation, with the program's defaults.
struct ModelParams {
    double x1 = -2.0;
    double x2 = 2.0;
    double y1 = -2.0;
    double y2 = 2.0;
    double a = 0.8;
    double step = 0.01;
    std::int32_t dcOutward = 1;  // 0 inward, 1 outward
    std::int32_t kcOutward = 0;
    double dc = 0.5;
    double kc = 0.8;
    std::int32_t iterations = 10;
    friend bool operator==(const ModelParams&, const ModelParams&) = default;
};

// The parameters of an object that holds them as members named like the
// fields above with the m_ prefix (the view state, the parameters dialog).
template <class Holder>
ModelParams ParamsOfMembers(const Holder& h) {
    ModelParams p;
    p.x1 = h.m_x1;
    p.x2 = h.m_x2;
    p.y1 = h.m_y1;
    p.y2 = h.m_y2;
    p.a = h.m_a;
    p.step = h.m_step;
    p.dcOutward = h.m_dcOutward;
    p.kcOutward = h.m_kcOutward;
    p.dc = h.m_dc;
    p.kc = h.m_kc;
    p.iterations = h.m_iterations;
    return p;
}

template <class Holder>
void SetParamMembers(Holder& h, const ModelParams& p) {
    h.m_x1 = p.x1;
    h.m_x2 = p.x2;
    h.m_y1 = p.y1;
    h.m_y2 = p.y2;
    h.m_a = p.a;
    h.m_step = p.step;
    h.m_dcOutward = p.dcOutward;
    h.m_kcOutward = p.kcOutward;
    h.m_dc = p.dc;
    h.m_kc = p.kc;
    h.m_iterations = p.iterations;
}

// The fields a refusal can name, in the order the parameters dialog reads them.
enum class ParamField { A, DcOutward, KcOutward, Dc, Kc, Iterations, Step, X1, X2, Y1, Y2 };

// Why a field is refused; each caller words it in its own language.
enum class ParamReason {
    NotFinite,       // A, Dc or Kc is infinite or not a number
    NoDirection,     // a direction other than 0 (inward) or 1 (outward)
    StepTooSmall,    // the step is not finite or below kMinStep
    EdgeOutOfRange,  // an edge outside [-2, 2] or not a number
    TooManyPoints,   // the grid has more than kMaxStartPoints start points
};

struct ParamError {
    ParamField field;
    ParamReason reason;
    friend bool operator==(const ParamError&, const ParamError&) = default;
};

// Largest grid the model accepts: each start point costs up to 8 bytes in
// `attractors` and 8 bytes in one basin list, so this keeps the lists within
// about 1.6 GB, whatever the shape of the grid (the computation adds at most
// about a third of that while it runs). h = 0.001 over the whole square
// (16,008,001 points) fits.
inline constexpr std::int64_t kMaxStartPoints = 100'000'000;

// Smallest step: with |edge| <= 2 and |origin| <= kMaxOriginMagnitude every
// quotient by the step, and every pixel built from it, fits a 32-bit integer
// (2 / 1e-9 + 1e6 < 2^31), and adding the step always advances a coordinate
// of magnitude <= 2 (ulp(2) is 4.4e-16).
inline constexpr double kMinStep = 1e-9;

// Largest |edge| of the start rectangle: every edge lies in
// [-kEdgeLimit, kEdgeLimit].
inline constexpr double kEdgeLimit = 2.0;

// Largest |origin| coordinate a computation accepts, in pixels.
inline constexpr std::int32_t kMaxOriginMagnitude = 1'000'000;

// Number of start points of the grid walk: exact, as the walk accumulates its
// coordinates (a single column is one). Call only for parameters whose step
// passed CheckParameters.
std::int64_t CountColumns(const ModelParams& p);
std::int64_t CountRows(const ModelParams& p);
// Columns times rows; an empty side gives 0 without walking the other one,
// which with a fine step would take billions of additions.
std::int64_t CountStartPoints(const ModelParams& p);

// Checks everything a computation needs, in the dialog's field order; the
// first failing field is returned with its reason. Unset means the
// parameters are sound. The grid's size is counted exactly, by the walk,
// unless a lower bound already exceeds the limit.
std::optional<ParamError> CheckParameters(const ModelParams& p);

// Checks a model origin against kMaxOriginMagnitude.
bool OriginAcceptable(std::int32_t x, std::int32_t y);

}  // namespace orbitograph

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "model/model_params.h"

using namespace orbitograph;

TEST(Params, Refusals) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    using F = ParamField;
    using R = ParamReason;
    const std::tuple<const char*, ModelParams, std::optional<ParamError>> rows[] = {
        {"defaults", {}, std::nullopt},
        {"edges on the bounds", {.x1 = -2, .x2 = 2, .y1 = -2, .y2 = 2}, std::nullopt},
        {"A = 0, negative Dc", {.a = 0, .dc = -5, .kc = -1e300}, std::nullopt},
        {"step 0", {.step = 0.0}, ParamError{F::Step, R::StepTooSmall}},
        {"vanishing step", {.x1 = 1.5, .x2 = 1.5, .step = 1e-300}, ParamError{F::Step, R::StepTooSmall}},
        {"NaN step", {.step = nan}, ParamError{F::Step, R::StepTooSmall}},
        {"infinite step", {.step = inf}, ParamError{F::Step, R::StepTooSmall}},
        {"too many points", {.step = 0.0002}, ParamError{F::Step, R::TooManyPoints}},
        {"X1 over 2", {.x1 = 2.0000001}, ParamError{F::X1, R::EdgeOutOfRange}},
        {"X2 NaN", {.x2 = nan}, ParamError{F::X2, R::EdgeOutOfRange}},
        {"Y1 -inf", {.y1 = -inf}, ParamError{F::Y1, R::EdgeOutOfRange}},
        {"Y2 -2.5", {.y2 = -2.5}, ParamError{F::Y2, R::EdgeOutOfRange}},
        {"A NaN before X1", {.x1 = 3, .a = nan}, ParamError{F::A, R::NotFinite}},
        {"Dc NaN", {.dc = nan}, ParamError{F::Dc, R::NotFinite}},
        {"Kc infinite", {.kc = -inf}, ParamError{F::Kc, R::NotFinite}},
        {"direction 2", {.dcOutward = 2}, ParamError{F::DcOutward, R::NoDirection}},
        {"direction -1", {.kcOutward = -1}, ParamError{F::KcOutward, R::NoDirection}},
    };
    for (const auto& [name, p, error] : rows) EXPECT_EQ(CheckParameters(p), error) << name;
    EXPECT_TRUE(OriginAcceptable(1000000, -1000000));
    EXPECT_FALSE(OriginAcceptable(1000001, 0) || OriginAcceptable(0, -1000001));
}

// The cap on start points is exact for every shape: a single column or row
// counts once, an empty side is known at once (the other side at the finest
// step would be four thousand million additions), and a grid is refused
// exactly when its walk has more than kMaxStartPoints points.
TEST(Params, StartPointCapIsExact) {
    const std::pair<ModelParams, std::int64_t> rows[] = {
        {{}, 400 * 400},
        {{.step = 0.001}, 16'008'001},
        {{.x1 = 0.5, .x2 = 0.5}, 400},
        {{.x1 = 0.6, .x2 = 0.5}, 0},
        {{.x1 = 1, .x2 = -1, .step = 1e-9}, 0},
        {{.y1 = 1, .y2 = -1, .step = 1e-9}, 0},
        {{.x1 = 0, .x2 = 0, .step = 4.00000004e-8}, 99'999'999},
        {{.y1 = 0, .y2 = 0, .step = 4.00000004e-8}, 99'999'999},
        {{.x1 = 0, .x2 = 0, .step = 3.9999999e-8}, 100'000'003},
        {{.x1 = 0, .x2 = 4.00000004e-8, .y1 = -1, .y2 = 1, .step = 4.00000004e-8}, 2 * 50'000'000},
        {{.x1 = 0, .x2 = 4.00000004e-8, .y1 = -1, .y2 = 1.00000004, .step = 4.00000004e-8}, 2 * 50'000'001},
    };
    for (const auto& [p, points] : rows) {
        ASSERT_EQ(CountStartPoints(p), points) << p.x1 << " " << p.x2 << " " << p.step;
        EXPECT_EQ(CheckParameters(p).has_value(), points > kMaxStartPoints) << points;
    }
}

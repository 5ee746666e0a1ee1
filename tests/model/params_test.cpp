#include <gtest/gtest.h>

#include <limits>

#include "model/model_params.h"

using namespace orbitograph;

TEST(Params, Refusals) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        const char* name;
        ModelParams p;
        std::optional<ParamField> field;
    } rows[] = {
        {"defaults", {}, std::nullopt},
        {"edges on the bounds", {.x1 = -2, .x2 = 2, .y1 = -2, .y2 = 2}, std::nullopt},
        {"h = 0.001 over the square", {.step = 0.001}, std::nullopt},
        {"empty rectangle", {.x1 = 1, .x2 = -1, .step = 1e-9}, std::nullopt},
        {"step 0", {.step = 0.0}, ParamField::Step},
        {"negative step", {.step = -0.01}, ParamField::Step},
        {"vanishing step", {.x1 = 1.5, .x2 = 1.5, .step = 1e-300}, ParamField::Step},
        {"NaN step", {.step = nan}, ParamField::Step},
        {"infinite step", {.step = inf}, ParamField::Step},
        {"too many points", {.step = 0.0002}, ParamField::Step},
        {"X1 over 2", {.x1 = 2.0000001}, ParamField::X1},
        {"X2 NaN", {.x2 = nan}, ParamField::X2},
        {"Y1 -inf", {.y1 = -inf}, ParamField::Y1},
        {"Y2 -2.5", {.y2 = -2.5}, ParamField::Y2},
        {"A infinite", {.a = inf}, ParamField::A},
        {"A NaN before X1", {.x1 = 3, .a = nan}, ParamField::A},
        {"Dc NaN", {.dc = nan}, ParamField::Dc},
        {"Kc infinite", {.kc = -inf}, ParamField::Kc},
        {"direction 2", {.dcOutward = 2}, ParamField::DcOutward},
        {"A = 0, negative Dc", {.a = 0, .dc = -5, .kc = -1e300}, std::nullopt},
    };
    for (const Row& r : rows) {
        const auto e = CheckParameters(r.p);
        ASSERT_EQ(e.has_value(), r.field.has_value()) << r.name;
        if (e) {
            EXPECT_EQ(e->field, *r.field) << r.name;
            EXPECT_FALSE(e->message.empty()) << r.name;
        }
    }
}

TEST(Params, GridSizeMessageStatesTheBound) {
    const auto e = CheckParameters({.step = 0.0001});
    ASSERT_TRUE(e);
    EXPECT_NE(e->message.find("100000000"), std::string::npos) << e->message;
}

TEST(Params, ExactCounts) {
    EXPECT_EQ(CountColumns({}), 400);
    EXPECT_EQ(CountRows({}), 400);
    EXPECT_EQ(CountColumns({.step = 0.001}) * CountRows({.step = 0.001}), 16008001);
    EXPECT_EQ(CountColumns({.x1 = 0.5, .x2 = 0.5}), 1);
    EXPECT_EQ(CountColumns({.x1 = 0.6, .x2 = 0.5}), 0);
    EXPECT_EQ(CountStartPoints({.step = 0.001}), 16008001);
    // An empty side is known at once; the other side at this step would be
    // four thousand million additions.
    EXPECT_EQ(CountStartPoints({.x1 = 1, .x2 = -1, .step = 1e-9}), 0);
    EXPECT_EQ(CountStartPoints({.y1 = 1, .y2 = -1, .step = 1e-9}), 0);
}

TEST(Params, Origin) {
    EXPECT_TRUE(OriginAcceptable(1000000, -1000000));
    EXPECT_FALSE(OriginAcceptable(1000001, 0));
    EXPECT_FALSE(OriginAcceptable(0, -1000001));
}

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "request/frame_options.h"
#include "request/param_table.h"

using namespace orbitograph;

// Each field's range is the model's: its bounds are accepted and the next
// values beyond them (an infinity past the largest double) refused for that
// field, on a grid of one point, where no step makes too many points.
TEST(ParamTable, RangesAreTheModels) {
    const ModelParams onePoint{.x1 = 0.5, .x2 = 0.5, .y1 = 0.5, .y2 = 0.5};
    for (const ParamRow& row : kParamTable) {
        SCOPED_TRACE(std::string(row.name));
        const auto with = [&](double v) {
            ModelParams p = onePoint;
            if (row.real != nullptr)
                p.*row.real = v;
            else
                p.*row.integer = static_cast<std::int32_t>(v);
            return CheckParameters(p);
        };
        EXPECT_EQ(with(row.lowest), std::nullopt);
        EXPECT_EQ(with(row.highest), std::nullopt);
        if (row.kind == ParamKind::Count) continue;  // the whole 32-bit range
        const double below = row.real != nullptr ? std::nextafter(row.lowest, -INFINITY) : row.lowest - 1;
        const double above = row.real != nullptr ? std::nextafter(row.highest, INFINITY) : row.highest + 1;
        ASSERT_TRUE(with(below).has_value());
        EXPECT_EQ(with(below)->field, row.field);
        ASSERT_TRUE(with(above).has_value());
        EXPECT_EQ(with(above)->field, row.field);
    }
    for (const ParamRow& row : kParamTable) {
        if (row.kind != ParamKind::Real) continue;
        ModelParams p = onePoint;
        p.*row.real = NAN;
        EXPECT_TRUE(CheckParameters(p).has_value()) << row.name;
    }
}

// Every name a front end uses is its own, and every parameter's option
// reads its value text back exactly.
TEST(ParamTable, NamesAreDistinctAndValuesReadBack) {
    std::set<std::string_view> names, keywords, labels;
    const ModelParams p{.x1 = -1.25,
                        .x2 = 0.1,
                        .y1 = -0.3,
                        .y2 = 1e-5,
                        .a = -0.7,
                        .step = 3e-3,
                        .dcOutward = 0,
                        .kcOutward = 1,
                        .dc = 1.0 / 3,
                        .kc = -0.0,
                        .iterations = -7};
    Request r;
    for (const ParamRow& row : kParamTable) {
        EXPECT_TRUE(names.insert(row.name).second && keywords.insert(row.keyword).second &&
                    labels.insert(row.label).second)
            << row.name;
        const FrameOption* option = FindFrameOption(row.option);
        ASSERT_NE(option, nullptr) << row.option;
        EXPECT_EQ(option->param, row.field);
        std::string error;
        EXPECT_TRUE(option->read(r, ParamValueText(p, row.field), error)) << error;
    }
    EXPECT_EQ(r.params, p);
    EXPECT_TRUE(std::signbit(r.params.kc));
}

#include <gtest/gtest.h>

#include "cli/render_options.h"

using namespace orbitograph;

TEST(RenderOptions, ReadsEveryParameter) {
    const OptionsResult r = ParseRenderOptions({"--a", "-1.5", "--dc=0.25", "--kc", "0,7", "--dc-direction", "inward",
                                                "--kc-direction", "outward", "--iterations", "12abc", "--step",
                                                " 1e-2", "--x1", "-1", "--x2", "1.5", "--y1", "-0.5", "--y2", "2",
                                                "--origin", "-3,40", "--counts", "--report"});
    ASSERT_TRUE(r.options) << r.error;
    const ModelParams& p = r.options->params;
    EXPECT_EQ(p.a, -1.5);
    EXPECT_EQ(p.dc, 0.25);
    EXPECT_EQ(p.kc, 0.0);
    EXPECT_EQ(p.dcOutward, 0);
    EXPECT_EQ(p.kcOutward, 1);
    EXPECT_EQ(p.iterations, 12);
    EXPECT_EQ(p.step, 0.01);
    EXPECT_EQ(p.x1, -1.0);
    EXPECT_EQ(p.x2, 1.5);
    EXPECT_EQ(p.y1, -0.5);
    EXPECT_EQ(p.y2, 2.0);
    EXPECT_EQ(r.options->originX, -3);
    EXPECT_EQ(r.options->originY, 40);
    EXPECT_TRUE(r.options->counts);
    EXPECT_TRUE(r.options->report);
}

TEST(RenderOptions, Refusals) {
    struct Row {
        std::vector<std::string> args;
        const char* mentions;
    } rows[] = {
        {{"--step", "0"}, "--step"},
        {{"--x1", "2.5"}, "--x1"},
        {{"--y2", "nan"}, "--y2"},
        {{"--a", "abc"}, "--a"},
        {{"--a", "inf"}, "--a"},
        {{"--iterations", "3000000000"}, "--iterations"},
        {{"--dc-direction", "up"}, "--dc-direction"},
        {{"--origin", "1000001,0"}, "--origin"},
        {{"--origin", "5"}, "--origin"},
        {{"--bogus"}, "--bogus"},
        {{"--step"}, "--step"},
    };
    for (const Row& r : rows) {
        const OptionsResult o = ParseRenderOptions(r.args);
        EXPECT_FALSE(o.options) << r.mentions;
        EXPECT_NE(o.error.find(r.mentions), std::string::npos) << o.error;
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << o.error;
    }
}

TEST(RenderOptions, CountsLineShape) {
    EXPECT_EQ(CountsJson(160000, 14640, 145360, 0, 10088, 4412, 140, 0),
              "{\"start_points\": 160000, \"attractors\": 14640, \"infinity\": 145360, \"zero\": 0, "
              "\"T\": 10088, \"O\": 4412, \"M\": 140, \"H\": 0}");
}

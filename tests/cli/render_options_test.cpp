#include <gtest/gtest.h>

#include <tuple>

#include "cli/render_options.h"

using namespace orbitograph;

TEST(RenderOptions, ReadsEveryOption) {
    const OptionsResult r = ParseRenderOptions({"--a",
                                                "-1.5",
                                                "--dc=0.25",
                                                "--kc",
                                                "0,7",
                                                "--dc-direction",
                                                "inward",
                                                "--kc-direction",
                                                "outward",
                                                "--iterations",
                                                "12abc",
                                                "--step",
                                                " 1e-2",
                                                "--x1",
                                                "-1",
                                                "--x2",
                                                "1.5",
                                                "--y1",
                                                "-0.5",
                                                "--y2",
                                                "2",
                                                "--counts",
                                                "--report",
                                                "--size",
                                                "640x480",
                                                "--single",
                                                "attractors",
                                                "--no-params",
                                                "--grid",
                                                "--legend",
                                                "--a-symmetry",
                                                "--font-size",
                                                "50",
                                                "--legend-hx",
                                                "доход",
                                                "--legend-hy",
                                                "",
                                                "--legend-max-hx",
                                                "1e3",
                                                "--legend-min-hx",
                                                "-0.5x",
                                                "--legend-max-hy",
                                                "2",
                                                "--legend-min-hy=-2",
                                                "--legend-t",
                                                "тыл",
                                                "--legend-o",
                                                "обход",
                                                "--legend-m",
                                                "мост",
                                                "--legend-h",
                                                "холм",
                                                "--legend-picture",
                                                "pic.png",
                                                "-o",
                                                "out.png"});
    ASSERT_TRUE(r.options) << r.error;
    const RenderOptions& o = *r.options;
    EXPECT_EQ(o.params, (ModelParams{.x1 = -1,
                                     .x2 = 1.5,
                                     .y1 = -0.5,
                                     .y2 = 2,
                                     .a = -1.5,
                                     .step = 0.01,
                                     .dcOutward = 0,
                                     .kcOutward = 1,
                                     .dc = 0.25,
                                     .kc = 0,
                                     .iterations = 12}));
    EXPECT_EQ(std::tie(o.width, o.height, o.originX, o.originY, o.panels, o.fontSize),
              std::make_tuple(640, 480, 320, 240, PanelChoice::Attractors, 50));
    EXPECT_TRUE(o.counts && o.report && o.noParams && o.grid && o.legend && o.aSymmetry);
    const LegendOptions& l = o.legendFields;
    EXPECT_EQ(std::tie(l.nameHx, l.nameHy, l.regionT, l.regionO, l.regionM, l.regionH, o.legendPicture, o.output),
              std::make_tuple("доход", "", "тыл", "обход", "мост", "холм", "pic.png", "out.png"));
    EXPECT_EQ(std::tie(l.maxHx, l.minHx, l.maxHy, l.minHy), std::make_tuple(1000.0, -0.5, 2.0, -2.0));
}

// The origin is the centre of the client area unless given, in either order.
TEST(RenderOptions, OriginFromTheSizeOrGiven) {
    const std::pair<std::vector<std::string>, std::pair<int, int>> rows[] = {
        {{"--origin", "7,9", "--size", "301x201"}, {7, 9}},
        {{"--size", "301x201", "--origin", "7,9"}, {7, 9}},
        {{"--size", "301x201"}, {150, 100}},
        {{"--origin", "-3,40"}, {-3, 40}},
        {{"--output=x.png"}, {500, 350}},
    };
    for (const auto& [args, origin] : rows) {
        const OptionsResult r = ParseRenderOptions(args);
        ASSERT_TRUE(r.options) << args[0];
        EXPECT_EQ(std::pair(r.options->originX, r.options->originY), origin) << args[0];
    }
}

TEST(RenderOptions, RefusalsNameTheOptionOnOneLine) {
    const std::pair<std::vector<std::string>, const char*> rows[] = {
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
        {{"--size", "0x700"}, "--size"},
        {{"--size", "1000"}, "--size"},
        {{"--size", "16385x10"}, "--size"},
        {{"--size", "-5x10"}, "--size"},
        {{"--size", "10x10x"}, "--size"},
        {{"--size", "x10"}, "--size"},
        {{"--size", "99999999999x1"}, "--size"},
        {{"--single", "both"}, "--single"},
        {{"--font-size", "0"}, "--font-size"},
        {{"--font-size", "51"}, "--font-size"},
        {{"--font-size", "big"}, "--font-size"},
        {{"--legend-max-hx", "many"}, "--legend-max-hx"},
        {{"-o", ""}, "-o"},
        {{"--output"}, "--output"},
        {{"--legend-picture", ""}, "--legend-picture"},
        {{"--grid=1"}, "--grid"},
    };
    for (const auto& [args, mentions] : rows) {
        const OptionsResult o = ParseRenderOptions(args);
        EXPECT_FALSE(o.options) << mentions;
        EXPECT_NE(o.error.find(mentions), std::string::npos) << o.error;
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << o.error;
    }
}

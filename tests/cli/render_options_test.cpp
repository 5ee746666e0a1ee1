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

TEST(RenderOptions, PictureOptions) {
    const OptionsResult r = ParseRenderOptions(
        {"--size", "640x480", "--single", "attractors", "--no-params", "--grid", "--legend", "--a-symmetry",
         "--font-size", "50", "--legend-hx", "доход", "--legend-hy", "", "--legend-max-hx", "1e3", "--legend-min-hx",
         "-0.5x", "--legend-max-hy", "2", "--legend-min-hy=-2", "--legend-t", "тыл", "--legend-o", "обход",
         "--legend-m", "мост", "--legend-h", "холм", "--legend-picture", "pic.png", "-o", "out.png"});
    ASSERT_TRUE(r.options) << r.error;
    const RenderOptions& o = *r.options;
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.originX, 320);  // the centre of the client area
    EXPECT_EQ(o.originY, 240);
    EXPECT_EQ(o.panels, PanelChoice::Attractors);
    EXPECT_TRUE(o.noParams && o.grid && o.legend && o.aSymmetry);
    EXPECT_EQ(o.fontSize, 50);
    EXPECT_EQ(o.legendFields.nameHx, "доход");
    EXPECT_EQ(o.legendFields.nameHy, "");
    EXPECT_EQ(o.legendFields.maxHx, 1000.0);
    EXPECT_EQ(o.legendFields.minHx, -0.5);
    EXPECT_EQ(o.legendFields.maxHy, 2.0);
    EXPECT_EQ(o.legendFields.minHy, -2.0);
    EXPECT_EQ(o.legendFields.regionT, "тыл");
    EXPECT_EQ(o.legendFields.regionO, "обход");
    EXPECT_EQ(o.legendFields.regionM, "мост");
    EXPECT_EQ(o.legendFields.regionH, "холм");
    EXPECT_EQ(o.legendPicture, "pic.png");
    EXPECT_EQ(o.output, "out.png");

    const OptionsResult d = ParseRenderOptions({"--output=x.png"});
    ASSERT_TRUE(d.options);
    EXPECT_EQ(d.options->width, 1000);
    EXPECT_EQ(d.options->height, 700);
    EXPECT_EQ(d.options->originX, 500);
    EXPECT_EQ(d.options->originY, 350);
    EXPECT_EQ(d.options->panels, PanelChoice::Both);
    EXPECT_EQ(d.options->fontSize, 13);
    EXPECT_FALSE(d.options->noParams || d.options->grid || d.options->legend || d.options->aSymmetry);

    // An explicit origin wins over the centre, in either order.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--origin", "7,9", "--size", "301x201"},
                                                 std::vector<std::string>{"--size", "301x201", "--origin", "7,9"}}) {
        const OptionsResult g = ParseRenderOptions(args);
        ASSERT_TRUE(g.options);
        EXPECT_EQ(g.options->originX, 7);
        EXPECT_EQ(g.options->originY, 9);
    }
    const OptionsResult odd = ParseRenderOptions({"--size", "301x201"});
    ASSERT_TRUE(odd.options);
    EXPECT_EQ(odd.options->originX, 150);
    EXPECT_EQ(odd.options->originY, 100);
}

TEST(RenderOptions, PictureRefusals) {
    struct Row {
        std::vector<std::string> args;
        const char* mentions;
    } rows[] = {
        {{"--size", "0x700"}, "--size"},       {{"--size", "1000"}, "--size"},
        {{"--size", "16385x10"}, "--size"},    {{"--size", "-5x10"}, "--size"},
        {{"--size", "10x10x"}, "--size"},      {{"--size", "x10"}, "--size"},
        {{"--size", "99999999999x1"}, "--size"},
        {{"--single", "both"}, "--single"},    {{"--font-size", "0"}, "--font-size"},
        {{"--font-size", "51"}, "--font-size"}, {{"--font-size", "big"}, "--font-size"},
        {{"--legend-max-hx", "many"}, "--legend-max-hx"},
        {{"-o", ""}, "-o"},                    {{"--output"}, "--output"},
        {{"--legend-picture", ""}, "--legend-picture"},
        {{"--grid=1"}, "--grid"},
    };
    for (const Row& r : rows) {
        const OptionsResult o = ParseRenderOptions(r.args);
        EXPECT_FALSE(o.options) << r.mentions;
        EXPECT_NE(o.error.find(r.mentions), std::string::npos) << o.error;
    }
}

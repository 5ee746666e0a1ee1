#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/option_table.h"
#include "cli/render_options.h"
#include "request/param_table.h"

using namespace orbitograph;

namespace {

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = s.find('|', from)) != std::string::npos; from = at + 1)
        parts.push_back(s.substr(from, at - from));
    parts.push_back(s.substr(from));
    return parts;
}

}  // namespace

TEST(RenderOptions, ReadsEveryOption) {
    // Arguments split at '|': an empty value and a leading space included.
    const OptionsResult r = ParseRenderOptions(
        Split("--a|-1.5|--dc=0.25|--kc|0,7|--dc-direction|inward|--kc-direction|outward|--iterations|12abc|"
              "--step| 1e-2|--x1|-1|--x2|1.5|--y1|-0.5|--y2|2|--counts|--report|--size|640x480|--single|attractors|"
              "--no-params|--grid|--legend|--a-symmetry|--font-size|50|--legend-hx|доход|--legend-hy||"
              "--legend-max-hx|1e3|--legend-min-hx|-0.5x|--legend-max-hy|2|--legend-min-hy=-2|--legend-t|тыл|"
              "--legend-o|обход|--legend-m|мост|--legend-h|холм|--legend-picture|pic.png|-o|out.png"));
    ASSERT_TRUE(r.options) << r.error;
    const RenderOptions& o = *r.options;
    const Request& q = o.request;
    EXPECT_EQ(q.params, (ModelParams{.x1 = -1,
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
    EXPECT_EQ(std::make_tuple(q.width, q.height, q.Origin().x, q.Origin().y, q.display.panels, q.display.fontSize),
              std::make_tuple(640, 480, 320, 240, PanelChoice::Attractors, 50));
    const DisplayRequest& d = q.display;
    EXPECT_TRUE(o.counts && o.report && !d.parameterText && d.grid && d.legend && d.aSymmetry);
    const LegendTexts& l = d.legendTexts;
    EXPECT_EQ(std::tie(l.nameHx, l.nameHy, l.regionT, l.regionO, l.regionM, l.regionH, d.legendPicture, o.output),
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
        const PixelPoint o = r.options->request.Origin();
        EXPECT_EQ(std::pair(o.x, o.y), origin) << args[0];
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
        {{"--metrics", "--metrics-k", "2,2"}, "--metrics-k"},
        {{"--metrics", "--metrics-k", "1,"}, "--metrics-k"},
        {{"--metrics", "--metrics-box", "0"}, "--metrics-box"},
        {{"--metrics", "--metrics-of", "basins"}, "--metrics-of"},
        {{"--metrics-box", "3"}, "need --metrics"},
        {{"--metrics", "--sweep", "a=0:1:3", "--continue"}, "--continue prints"},
        {{"--plane", "a=0:1:2,dc=0:1:2", "--continue", "--continue-tolerance", "-0.1"}, "--continue-tolerance"},
        {{"--metrics", "--orbit", "0,0"}, "--orbit"},
        {{"--metrics", "--metrics-of=attractor", "--iterations", "2147483647"}, "--metrics-of"},
    };
    for (const auto& [args, mentions] : rows) {
        const OptionsResult o = ParseRenderOptions(args);
        EXPECT_FALSE(o.options) << mentions;
        EXPECT_NE(o.error.find(mentions), std::string::npos) << o.error;
        EXPECT_EQ(o.error.find('\n'), std::string::npos) << o.error;
    }
}

// The usage text lists every option once and gives each parameter's
// default as the model has it: the bracketed defaults, given as options,
// are ModelParams{}.
TEST(RenderOptions, UsageGivesTheModelsDefaults) {
    const std::string usage = RenderUsage();
    for (const CommandOption& option : OptionTable()) {
        const std::string start = "\n  " + std::string(option.name) + " ";
        const std::size_t at = usage.find(start);
        ASSERT_NE(at, std::string::npos) << option.name;
        EXPECT_EQ(usage.find(start, at + 1), std::string::npos) << option.name;
    }
    std::vector<std::string> args;
    for (const ParamRow& row : kParamTable) {
        const std::size_t at = usage.find("\n  " + std::string(row.option) + " " + std::string(row.argument) + " ");
        ASSERT_NE(at, std::string::npos) << row.option;
        const std::string line = usage.substr(at + 1, usage.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find(row.help), std::string::npos) << line;
        const std::size_t open = line.rfind('['), close = line.rfind(']');
        ASSERT_TRUE(open != std::string::npos && close == line.size() - 1) << line;
        args.insert(args.end(), {std::string(row.option), line.substr(open + 1, close - open - 1)});
    }
    const OptionsResult r = ParseRenderOptions(args);
    ASSERT_TRUE(r.options) << r.error;
    EXPECT_EQ(r.options->request.params, ModelParams{});
}

#include <gtest/gtest.h>

#include <cmath>

#include "request/description.h"
#include "request/frame_options.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

// Every display option away from its default: texts with spaces, quotes,
// backslashes and a control character, a bound of -0.
Request FullRequest() {
    Request r;
    r.params = {.x1 = -1.9999999999999998, .a = 0.1, .step = 0.003, .dcOutward = 0, .kcOutward = 1, .kc = -0.0};
    r.width = 520;
    r.height = 410;
    r.origin = PixelPoint{-3, 40};
    DisplayRequest& d = r.display;
    d.panels = PanelChoice::Basins;
    d.parameterText = false;
    d.grid = d.legend = d.aSymmetry = d.fit = true;
    d.fontSize = 17;
    d.colourBy = BasinColouring::Attractor;
    r.attractorDelta = 0.25;
    d.legendTexts = {"Доход \"x\" \\ y", " ", 2.5, -0.0, 0.0, -1e-300, "тыл\x01", "O", "", "холм"};
    return r;
}

}  // namespace

// The computation comes first, in the order older pictures have it; then the
// display's options in the order of the usage text, the legend's bounds last.
TEST(Description, WritesEveryOptionOnOneLine) {
    const ModelParams p{.x1 = -1.9999999999999998,
                        .a = 0.1,
                        .step = 0.003,
                        .dcOutward = 0,
                        .kcOutward = 1,
                        .dc = 1e-7,
                        .kc = -0.0,
                        .iterations = -1};
    EXPECT_EQ(DescribeComputation(p, -3, 40),
              "--a 0.1 --dc 1e-07 --dc-direction inward --kc -0 --kc-direction outward --iterations -1 --step 0.003 "
              "--x1 -1.9999999999999998 --x2 2 --y1 -2 --y2 2 --origin -3,40");
    EXPECT_EQ(
        DescribeRequest(FullRequest()),
        "--a 0.1 --dc 0.5 --dc-direction inward --kc -0 --kc-direction outward --iterations 10 --step 0.003 "
        "--x1 -1.9999999999999998 --x2 2 --y1 -2 --y2 2 --origin -3,40 --size 520x410 --single basins "
        "--no-params --grid --legend --a-symmetry --fit --font-size 17 --colour-by attractor --analysis-delta 0.25 "
        "--legend-hx \"Доход \\\"x\\\" \\\\ y\" "
        "--legend-hy \" \" --legend-t \"тыл\\u{1}\" --legend-o O --legend-h холм --legend-max-hx 2.5 "
        "--legend-min-hx -0 "
        "--legend-min-hy -1e-300");
    EXPECT_EQ(DescribeRequest(Request{}),
              "--a 0.8 --dc 0.5 --dc-direction outward --kc 0.8 --kc-direction inward --iterations 10 --step 0.01 "
              "--x1 -2 --x2 2 --y1 -2 --y2 2 --origin 500,350 --size 1000x700 --font-size 13");
}

// What a description writes reads back as the same request; a description of the computation alone, as
// older pictures have, leaves the rest at the defaults.
TEST(Description, ReadsBackWhatItWrites) {
    Request full = FullRequest();
    const DescriptionRead read = ReadDescription(DescribeRequest(full));
    ASSERT_TRUE(read.request) << read.error;
    EXPECT_EQ(*read.request, full);
    EXPECT_TRUE(read.sizeGiven);
    EXPECT_TRUE(std::signbit(read.request->display.legendTexts.minHx));

    const DescriptionRead old = ReadDescription(DescribeComputation(ModelParams{.a = 0.6}, 120, 100));
    ASSERT_TRUE(old.request) << old.error;
    EXPECT_FALSE(old.sizeGiven);
    Request expected;
    expected.params.a = 0.6;
    expected.origin = PixelPoint{120, 100};
    EXPECT_EQ(*old.request, expected);
}

// A description is taken only as the options that draw a frame, each read
// strictly; anything else is refused, naming what is wrong.
TEST(Description, RefusesMalformedDescriptions) {
    const std::string base = DescribeComputation(ModelParams{}, 500, 350);
    const std::pair<std::string, std::string> rows[] = {
        {base + " --legend-hx \"open", "not closed"},
        {base + " --legend-hx \"a\"b", "no space after the quote"},
        {base + " --legend-hx \"a\\nb\"", "escapes neither"},
        {base + " --legend-hx \"a\\u{D800}\"", "escapes neither"},
        {base + " --legend-hx \"a\\u{110000}\"", "escapes neither"},
        {base + " --legend-hx \"a\\u{}\"", "escapes neither"},
        {base + " --legend-hx \"a\\u{0000041}\"", "escapes neither"},
        {base + " --legend-hx a\\u{41}", "backslash inside a word"},
        {base + " --legend-max-hx 1e999", "--legend-max-hx: expected a finite number"},
        {base + " --legend-hx a\"b", "quote inside a word"},
        {base + "  --grid", "empty word"},
        {base + " ", "space at the end"},
        {base + " --legend-hx \"a\tb\"", "control character"},
        {base + " --legend-hx \xff", "UTF-8"},
        {base + " --output x.png", "'--output' is not an option that draws the frame"},
        {base + " --from x.png", "'--from' is not an option"},
        {base + " --legend-picture x.bmp", "'--legend-picture' is not an option"},
        {base + " --grid=1", "'--grid=1' is not an option"},
        {base + " ; rm -rf x", "';' is not an option"},
        {base + " --grid --grid", "'--grid' is given twice"},
        {base + " --a 0.5", "'--a' is given twice"},
        {base + " --font-size", "--font-size has no value"},
        {base + " --colour-by attractor --analysis-delta -1", "--analysis-delta: expected a number from 0 to inf"},
        {"--step 0 " + base.substr(base.find(" --x1") + 1) +
             " --a 1 --dc 1 --kc 1 --dc-direction inward "
             "--kc-direction inward --iterations 3",
         "--step: must be a finite number not below 1e-09"},
        {base.substr(0, base.find(" --origin")), "does not give --origin"},
        {base.substr(base.find(" --dc ") + 1), "does not give --a"},
        {"", "empty"},
    };
    for (const auto& [text, reason] : rows) {
        const DescriptionRead read = ReadDescription(text);
        EXPECT_FALSE(read.request) << text;
        EXPECT_EQ(read.error.rfind("malformed description: ", 0), 0u) << read.error;
        EXPECT_NE(read.error.find(reason), std::string::npos) << text << "\n -> " << read.error;
    }
}

// Every text comes back whole, whatever it holds (spaces of every kind,
// controls, quotes, backslashes, words that look like options), and the line
// written stays one line of visible characters and plain spaces.
TEST(Description, AnyTextRoundTrips) {
    const char32_t pool[] = {'a',    'Z',    '0',    ' ',    ' ',    '"',    '\\',   '-',  '-',     'u',    '{',
                             '}',    0x01,   '\t',   '\n',   '\r',   0x1B,   0x7F,   0x85, 0xA0,    0xAD,   0x2009,
                             0x200B, 0x2028, 0x2029, 0x3000, 0xFEFF, 0x0416, 0x044F, 0xE9, 0x1F600, 0xFFFD, 0x10FFFF};
    const char* const words[] = {"--grid", "--legend-hx", "--a", "\\u{41}", "\"\"", "--"};
    const auto utf8 = [](char32_t c) {
        std::string s;
        if (c < 0x80) return s += static_cast<char>(c), s;
        const int n = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
        s += static_cast<char>(lead[n] | (c >> (6 * (n - 1))));
        for (int k = n - 1; k > 0; --k) s += static_cast<char>(0x80 | ((c >> (6 * (k - 1))) & 0x3F));
        return s;
    };
    test::Draw draw{2026};
    for (int i = 0; i < 400; ++i) {
        Request r;
        for (std::string* text :
             {&r.display.legendTexts.nameHx, &r.display.legendTexts.regionT, &r.display.legendTexts.regionH}) {
            const int length = draw.Int(0, 12);
            for (int k = 0; k < length; ++k)
                *text += draw.Chance(0.1) ? std::string(words[draw.Int(0, 5)]) : utf8(pool[draw.Int(0, 32)]);
        }
        const std::string line = DescribeRequest(r);
        const DescriptionRead read = ReadDescription(line);
        ASSERT_TRUE(read.request) << line << "\n -> " << read.error;
        ASSERT_EQ(read.request->display.legendTexts, r.display.legendTexts) << line;
        for (const char c : line) ASSERT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F) << line;
        for (const char* invisible : {"\u00a0", "\u2028", "\u3000", "\ufeff", "\u0085"})
            ASSERT_EQ(line.find(invisible), std::string::npos) << line;
    }
}

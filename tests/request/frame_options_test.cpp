#include <gtest/gtest.h>

#include <cmath>

#include "request/description.h"
#include "request/frame_options.h"

using namespace orbitograph;

namespace {

const FrameOption& Row(std::string_view name) {
    const FrameOption* row = FindFrameOption(name);
    if (row == nullptr) throw std::invalid_argument(std::string(name));
    return *row;
}

}  // namespace

// A value given typed (as the Python module gives it) sets what the same
// value given as text sets, and is refused in the same words.
TEST(FrameOptions, TypedValuesActAsTheirText) {
    struct Case {
        const char* name;
        OptionValue value;
        const char* text;     // the same value as the command line gives it
        const char* refusal;  // empty: accepted
    };
    const Case cases[] = {
        {"--size", std::array<std::int64_t, 2>{640, 480}, "640x480", ""},
        {"--size", std::array<std::int64_t, 2>{0, 5}, "0x5",
         "--size: expected WxH with each from 1 to 16384, got '0x5'"},
        {"--origin", std::array<std::int64_t, 2>{-3, 40}, "-3,40", ""},
        {"--origin", std::array<std::int64_t, 2>{2000000, 1}, "2000000,1",
         "--origin: expected X,Y with integer magnitudes up to 1000000, got '2000000,1'"},
        {"--single", std::string("basins"), "basins", ""},
        {"--single", std::string("both"), "both", "--single: expected attractors or basins, got 'both'"},
        {"--colour-by", std::string("exit"), "exit", ""},
        {"--colour-by", std::string("Period"), "Period",
         "--colour-by: expected kinds, attractor, exit or period, got 'Period'"},
        {"--font-size", std::int64_t{50}, "50", ""},
        {"--font-size", std::int64_t{0}, "0", "--font-size: expected an integer from 1 to 50, got '0'"},
        {"--legend-max-hy", -0.0, "-0", ""},
        {"--legend-hx", std::string("Доход \"x\""), "Доход \"x\"", ""},
        {"--legend-picture", std::string("-"), "-", "--legend-picture: standard input and output are not supported"},
        {"--no-params", true, "", ""},
        {"--fit", true, "", ""},
        {"--probe", std::array<double, 2>{0.1, -0.25}, "0.1,-0.25", ""},
        {"--probe", std::array<double, 2>{INFINITY, 0.0}, "inf,0",
         "--probe: expected X0,Y0 with two finite numbers, got 'inf,0'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + std::string(" ") + c.text);
        Request typed, read;
        std::string typedError, readError;
        const bool set = Row(c.name).set(typed, c.value, typedError);
        EXPECT_EQ(set, Row(c.name).read(read, c.text, readError));
        EXPECT_EQ(set, *c.refusal == '\0');
        EXPECT_EQ(typed, read);
        EXPECT_EQ(typedError, readError);
        EXPECT_EQ(typedError.rfind(c.refusal, 0), 0u) << typedError;
    }
    // -0 keeps its sign; only a finite number is a number; off turns a
    // switch off again.
    Request r;
    std::string error;
    ASSERT_TRUE(Row("--legend-max-hy").set(r, -0.0, error));
    EXPECT_TRUE(std::signbit(r.display.legendTexts.maxHy));
    r.display.legendTexts.maxHy = 0.0;
    EXPECT_FALSE(Row("--legend-min-hx").set(r, INFINITY, error));
    EXPECT_EQ(error, "--legend-min-hx: expected a number, got 'inf'");
    ASSERT_TRUE(Row("--no-params").set(r, true, error) && Row("--grid").set(r, true, error));
    ASSERT_TRUE(Row("--no-params").set(r, false, error) && Row("--grid").set(r, false, error));
    EXPECT_EQ(r.display, DisplayRequest{});
}

// A probed orbit's start point is read whole or refused, and a description
// gives it back bit for bit.
TEST(FrameOptions, ProbeStartPointReadsWholeAndComesBackExactly) {
    for (const char* text : {"0.5", "0.5,", ",0.5", "0.5,0.5x", "1e999,0", "0.5;0.5", "0x1,0"}) {
        Request r;
        std::string error;
        EXPECT_FALSE(Row("--probe").read(r, text, error)) << text;
        EXPECT_FALSE(r.display.probe.has_value()) << text;
    }
    Request r;
    r.display.probe = std::array<double, 2>{1.0 / 3.0, -0.1 - 0.2};
    const std::string described = DescribeRequest(r);
    EXPECT_NE(described.find("--probe 0.3333333333333333,-0.30000000000000004"), std::string::npos) << described;
    const DescriptionRead back = ReadDescription(described);
    ASSERT_TRUE(back.request.has_value()) << described;
    EXPECT_EQ(back.request->display.probe, r.display.probe);
}

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "model/number_text.h"

using namespace orbitograph;

TEST(NumberText, ReadsTheLeadingDecimalNumber) {
    struct Row {
        std::string text;
        std::optional<double> value;
    } rows[] = {
        {"0.8", 0.8},   {"0,8", 0.0},       {" 1e-2", 0.01}, {"12abc", 12.0}, {"", std::nullopt},
        {"abc", std::nullopt}, {",", std::nullopt}, {"   ", std::nullopt}, {"-2", -2.0}, {"+.5", 0.5},
        {"2.5xyz", 2.5}, {"1,5", 1.0},     {"1e3", 1000.0}, {"\t-0.25 ", -0.25}, {"1e", 1.0},
        {"0x10", 0.0},  {"inf", std::nullopt}, {"-nan", std::nullopt}, {"1e+", 1.0}, {".e5", std::nullopt},
        {"5.", 5.0},    {"1e999", HUGE_VAL}, {std::string(500, ' ') + "0.25", 0.25},
    };
    for (const Row& r : rows) EXPECT_EQ(ParseLeadingDouble(r.text), r.value) << '"' << r.text << '"';
}

TEST(NumberText, IgnoresTheProcessLocale) {
    const char* had = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = had ? had : "C";
    // Any locale with a comma separator will do.
    const bool comma = [] {
        for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.utf8", "de_DE.utf8"}) {
            if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') return true;
        }
        return false;
    }();
    if (!comma) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        GTEST_SKIP() << "no locale with a comma as the decimal separator is installed";
    }
    EXPECT_EQ(ParseLeadingDouble("0.75"), 0.75);
    EXPECT_EQ(FormatFixed(0.5, 6), "0.500000");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, ReadsIntegersLikeScanfWithoutWrapping) {
    struct Row {
        const char* text;
        IntParse status;
        int value;
    } rows[] = {
        {"10", IntParse::Ok, 10},          {"12abc", IntParse::Ok, 12},
        {" -5", IntParse::Ok, -5},         {"+7", IntParse::Ok, 7},
        {"2147483647", IntParse::Ok, 2147483647}, {"-2147483648", IntParse::Ok, -2147483647 - 1},
        {"2147483648", IntParse::OutOfRange, 0},  {"99999999999999999999", IntParse::OutOfRange, 0},
        {"", IntParse::NoNumber, 0},       {"abc", IntParse::NoNumber, 0},
        {"-", IntParse::NoNumber, 0},      {"1.9", IntParse::Ok, 1},
    };
    for (const Row& r : rows) {
        const IntResult got = ParseLeadingInt(r.text);
        EXPECT_EQ(got.status, r.status) << r.text;
        if (r.status == IntParse::Ok) {
            EXPECT_EQ(got.value, r.value) << r.text;
        }
    }
}

TEST(NumberText, Formats) {
    EXPECT_EQ(FormatGeneral(0.8, 15), "0.8");
    EXPECT_EQ(FormatGeneral(0.01, 15), "0.01");
    EXPECT_EQ(FormatGeneral(-2.0, 15), "-2");
    EXPECT_EQ(FormatGeneral(0.1234567890123456, 15), "0.123456789012346");
    EXPECT_EQ(FormatGeneral(1e20, 15), "1e+20");
    EXPECT_EQ(FormatGeneral(1e-5, 15), "1e-05");
    EXPECT_EQ(FormatFixed(1234.567, 2), "1234.57");
    EXPECT_EQ(FormatFixed(-0.5, 2), "-0.50");
    EXPECT_EQ(FormatFixed(0.0, 2), "0.00");
    for (double v : {0.1, 1.0 / 3.0, 2.0000001, -1.995, 123456.789012345}) {
        EXPECT_EQ(ParseLeadingDouble(FormatGeneral(v, 15)), std::stod(FormatGeneral(v, 15)));
    }
}

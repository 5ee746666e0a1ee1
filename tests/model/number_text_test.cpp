#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <string>

#include "model/number_text.h"

using namespace orbitograph;

TEST(NumberText, ReadsTheLeadingDecimalNumber) {
    const std::pair<std::string, std::optional<double>> rows[] = {
        {"0.8", 0.8},
        {"0,8", 0.0},
        {" 1e-2", 0.01},
        {"12abc", 12.0},
        {"", std::nullopt},
        {"abc", {}},
        {",", {}},
        {"   ", {}},
        {"+.5", 0.5},
        {"\t-0.25 ", -0.25},
        {"1e", 1.0},
        {"0x10", 0.0},
        {"inf", std::nullopt},
        {"-nan", std::nullopt},
        {"1e+", 1.0},
        {".e5", std::nullopt},
        {"5.", 5.0},
        {"1e999", HUGE_VAL},
        {std::string(500, ' ') + "0.25", 0.25},
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(ParseLeadingDouble(text), value) << '"' << text << '"';
}

TEST(NumberText, IgnoresTheProcessLocale) {
    const char* had = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = had ? had : "C";
    // Any locale with a comma separator will do.
    bool comma = false;
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.utf8", "de_DE.utf8"})
        comma = comma || (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',');
    if (!comma) {
        std::setlocale(LC_NUMERIC, saved.c_str());
        GTEST_SKIP() << "no locale with a comma as the decimal separator is installed";
    }
    EXPECT_EQ(ParseLeadingDouble("0.75"), 0.75);
    EXPECT_EQ(FormatFixed(0.5, 6), "0.500000");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, ReadsIntegersLikeScanfWithoutWrapping) {
    const std::tuple<const char*, IntParse, int> rows[] = {
        {"12abc", IntParse::Ok, 12},
        {" -5", IntParse::Ok, -5},
        {"+7", IntParse::Ok, 7},
        {"1.9", IntParse::Ok, 1},
        {"2147483647", IntParse::Ok, 2147483647},
        {"-2147483648", IntParse::Ok, INT_MIN},
        {"", IntParse::NoNumber, 0},
        {"-", IntParse::NoNumber, 0},
        {"2147483648", IntParse::OutOfRange, 0},
        {"99999999999999999999", IntParse::OutOfRange, 0},
    };
    for (const auto& [text, status, value] : rows) {
        const IntResult got = ParseLeadingInt(text);
        EXPECT_EQ(std::pair(got.status, got.status == IntParse::Ok ? got.value : 0), std::pair(status, value)) << text;
    }
}

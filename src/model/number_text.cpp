#include "model/number_text.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace orbitograph {

namespace {

std::string ToChars(double v, std::chars_format fmt, int precision) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, fmt, precision);
    return std::string(buf, r.ptr);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The "C" locale, made once and kept for the life of the process, so that
// reading numbers never depends on the locale the application set.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

}  // namespace

std::string FormatFixed(double v, int decimals) { return ToChars(v, std::chars_format::fixed, decimals); }

std::string FormatGeneral(double v, int digits) { return ToChars(v, std::chars_format::general, digits); }

std::string FormatShortest(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string FormatInt(std::int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::size_t DecimalPrefixLength(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    auto digitsFrom = [&](std::size_t at) {
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at;
    };
    const std::size_t intEnd = digitsFrom(i);
    std::size_t end = intEnd;
    bool anyDigit = intEnd > i;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fracEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!anyDigit) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const std::size_t expEnd = digitsFrom(e);
        if (expEnd > e) end = expEnd;
    }
    return end;
}

std::optional<double> ParseLeadingDouble(std::string_view text) {
    const std::size_t length = DecimalPrefixLength(text);
    if (length == 0) return std::nullopt;
    const std::string prefix(text.substr(0, length));
    return strtod_l(prefix.c_str(), nullptr, CLocale());
}

IntResult ParseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    std::int64_t v = 0;
    bool tooLarge = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (!tooLarge) {
            v = v * 10 + (text[i] - '0');
            if (v > 2147483648LL) tooLarge = true;
        }
        ++i;
    }
    if (i == digits) return {IntParse::NoNumber, 0};
    if (negative) v = -v;
    if (tooLarge || v > 2147483647LL || v < -2147483648LL) return {IntParse::OutOfRange, 0};
    return {IntParse::Ok, static_cast<std::int32_t>(v)};
}

}  // namespace orbitograph

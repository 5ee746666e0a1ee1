#include "model/number_text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace orbitograph {

namespace {

std::string ToChars(double v, std::chars_format fmt, int precision) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, fmt, precision);
    return std::string(buf, r.ptr);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The "C" locale, made once and kept for the life of the process, so that
// reading numbers never depends on the locale the application set.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

}  // namespace

std::string FormatFixed(double v, int decimals) { return ToChars(v, std::chars_format::fixed, decimals); }

std::string FormatGeneral(double v, int digits) { return ToChars(v, std::chars_format::general, digits); }

std::string FormatInt(std::int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::optional<double> ParseLeadingDouble(std::string_view text) {
    const std::string s(text.substr(0, 399));
    const char* begin = s.c_str();
    char* end = nullptr;
    const double v = strtod_l(begin, &end, CLocale());
    if (end == begin) return std::nullopt;
    return v;
}

IntResult ParseLeadingInt(std::string_view text) {
    text = text.substr(0, 63);
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

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbitograph {

// Locale-independent formatting: a point as the decimal separator, no
// grouping, whatever the process locale is.
std::string FormatFixed(double v, int decimals);  // printf "%.*f"
std::string FormatGeneral(double v, int digits);  // printf "%.*g"
std::string FormatInt(std::int64_t v);            // printf "%d"
// The shortest text that reads back as exactly v.
std::string FormatShortest(double v);

// Reading a real: leading white space skipped, then the longest leading
// decimal number (optional sign, digits with an optional point, at least one
// digit, an optional exponent of 'e' or 'E', optional sign and digits) is
// taken and the rest ignored. Hexadecimal forms, "inf" and "nan" are not
// numbers here: "0x10" reads 0 and "inf" gives no value. The value is the
// correctly rounded double of that prefix; a prefix beyond the double range
// reads as an infinity, which the callers' finiteness checks refuse.
std::size_t DecimalPrefixLength(std::string_view text);
std::optional<double> ParseLeadingDouble(std::string_view text);
std::optional<double> ParseLeadingDouble(std::string_view text);

// Reading an integer: white space,
// optional sign, decimal digits, the rest ignored. A number outside the
// 32-bit range gives no value rather than a wrapped one.
enum class IntParse { Ok, NoNumber, OutOfRange };
struct IntResult {
    IntParse status;
    std::int32_t value;
};
IntResult ParseLeadingInt(std::string_view text);

}  // namespace orbitograph

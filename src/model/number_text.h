#pragma once

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

// Reading as scanf "%lf" does: leading white space skipped, the longest
// leading decimal number taken, the rest ignored. Only the first 399
// characters are looked at. No leading number gives no value.
std::optional<double> ParseLeadingDouble(std::string_view text);

// Reading as scanf "%d" does, from the first 63 characters: white space,
// optional sign, decimal digits, the rest ignored. A number outside the
// 32-bit range gives no value rather than a wrapped one.
enum class IntParse { Ok, NoNumber, OutOfRange };
struct IntResult {
    IntParse status;
    std::int32_t value;
};
IntResult ParseLeadingInt(std::string_view text);

}  // namespace orbitograph

#pragma once

#include <cstdint>

namespace orbitograph {

// Conversions of the pixel arithmetic of the point lists.

// Truncation towards zero of a value the caller knows to lie within the
// 32-bit range (CheckParameters bounds the step and the origin so that every
// pixel quotient does); there is no saturation and no check.
inline std::int32_t TruncInRange32(double v) { return static_cast<std::int32_t>(v); }

// The 32-bit two's-complement result of an integer pixel sum: the sum is
// formed in 64 bits, where it cannot overflow, and narrowed modulo 2^32.
inline std::int32_t WrapToInt32(std::int64_t v) { return static_cast<std::int32_t>(v); }

}  // namespace orbitograph

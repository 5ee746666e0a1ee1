#pragma once

#include <cstdint>

namespace orbitograph {

// Where an orbit ends; the kinds of the basin space. None is the four
// corner points |x| = |y| = 1, which belong to no region.
enum class EndKind : std::uint8_t { Infinity, Zero, O, H, T, M, None };

// True for end points inside [-2, 2] x [-2, 2], bounds included; NaN is outside.
inline bool InsideSquare(double xe, double ye) { return xe >= -2.0 && xe <= 2.0 && ye >= -2.0 && ye <= 2.0; }

// Classification in the order infinity, zero, then the four region tests.
// The region tests are mutually exclusive, so the first that holds is the one.
inline EndKind Classify(double xe, double ye) {
    if (!InsideSquare(xe, ye)) return EndKind::Infinity;
    if (xe >= -0.1 && xe <= 0.1 && ye >= -0.1 && ye <= 0.1) return EndKind::Zero;
    if ((xe < -1.0 || xe > 1.0) && ye >= -1.0 && ye <= 1.0) return EndKind::O;
    if ((ye <= -1.0 || ye >= 1.0) && xe > -1.0 && xe < 1.0) return EndKind::H;
    if (xe >= -1.0 && xe <= 1.0 && ye > -1.0 && ye < 1.0) return EndKind::T;
    if ((xe <= -1.0 || xe >= 1.0) && (ye < -1.0 || ye > 1.0)) return EndKind::M;
    return EndKind::None;
}

}  // namespace orbitograph

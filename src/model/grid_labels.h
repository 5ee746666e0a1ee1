#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/classify.h"

namespace orbitograph {

// The label of a start point in exported grids: one byte per start point,
// naming where its orbit ends. These values are part of the data format;
// they never change.
inline constexpr std::uint8_t kLabelInfinity = 0;  // outside the square [-2, 2]^2
inline constexpr std::uint8_t kLabelZero = 1;      // in the zero square [-0.1, 0.1]^2
inline constexpr std::uint8_t kLabelT = 2;         // region T: |x| <= 1, |y| < 1
inline constexpr std::uint8_t kLabelO = 3;         // region O: |x| > 1, |y| <= 1
inline constexpr std::uint8_t kLabelM = 4;         // region M: |x| >= 1, |y| > 1
inline constexpr std::uint8_t kLabelH = 5;         // region H: |x| < 1, |y| >= 1
inline constexpr std::uint8_t kLabelNoList = 255;  // the corners |x| = |y| = 1: no basin list

std::uint8_t LabelOf(EndKind kind);

// labels[i] = LabelOf(kinds[i]) for every kind, in grid order; labels holds
// kinds.size() bytes. Vectorised: about 20 bytes a nanosecond.
void LabelCodes(std::span<const EndKind> kinds, std::uint8_t* labels);

// A grid in grid order (column by column from x1, within a column from y1;
// element c * rows + r) laid out row by row instead: element r * columns + c,
// row 0 the lowest row (y1), column 0 the leftmost (x1). Requires
// values.size() == columns * rows.
std::vector<std::uint8_t> LabelRows(std::span<const EndKind> kinds, std::size_t columns, std::size_t rows);
std::vector<double> GridRows(std::span<const double> values, std::size_t columns, std::size_t rows);
std::vector<std::int32_t> GridRows(std::span<const std::int32_t> values, std::size_t columns, std::size_t rows);

}  // namespace orbitograph

#pragma once

// The vector kernels of the label metrics (label_metrics.cpp), compiled once
// per instruction set and chosen at run time. Integer comparisons only: the
// counts are those of the scalar definitions, exactly.

#include <cstddef>
#include <cstdint>

namespace orbitograph::metrics_kernels {

// The points (i, j) with k <= i < rows - k and k <= j < cols - k whose label
// differs from one of L[i +- k, j], L[i, j +- k]; L[i, j] is l[i * cols + j].
// Requires rows > 2k and cols > 2k.
std::int64_t DifferingPoints(const std::uint8_t* l, std::size_t rows, std::size_t cols, std::size_t k);
std::int64_t DifferingPoints(const std::int32_t* l, std::size_t rows, std::size_t cols, std::size_t k);
std::int64_t DifferingPoints(const std::int64_t* l, std::size_t rows, std::size_t cols, std::size_t k);

}  // namespace orbitograph::metrics_kernels

#pragma once

// How intertwined the regions of a grid of integer labels are: the basin
// entropy, the boundary basin entropy and the uncertainty exponent.
//
// Definitions. L is a grid of rows x cols labels laid out row by row
// (L[i, j] is element i * cols + j), h > 0 its step, b >= 1 a box side and
// K a strictly increasing list of distances k >= 1.
//  - boxes: the b x b blocks of points tiled from row 0, column 0; the rows
//    and columns left over at the ends belong to no box, so there are
//    (rows / b) * (cols / b) boxes. In a box, p_j is the share of its points
//    whose label is j (every value counts alike) and the box's entropy is
//    -sum_j p_j ln p_j, the terms taken in increasing order of j.
//  - Sb: the mean of the boxes' entropies, summed box row by box row, each
//    from column 0; NaN when there is no box.
//  - boundary boxes: the boxes of entropy > 0, those holding two labels or
//    more; Sbb: the sum of the entropies divided by their number, 0 when
//    there is none.
//  - f[k], for each k in K with rows > 2k and cols > 2k only: the share of
//    the points (i, j) with k <= i < rows - k and k <= j < cols - k whose
//    label differs from at least one of L[i - k, j], L[i + k, j],
//    L[i, j - k], L[i, j + k].
//  - alpha: the least-squares slope of ln f[k] against ln(k h) over the k
//    with f[k] > 0, from the centred sums; NaN when there are fewer than two.
// References: basin entropy after Daza, Wagemakers, Georgeot, Guery-Odelin
// and Sanjuan, Sci. Rep. 6, 31416 (2016); the uncertainty exponent after
// McDonald, Grebogi, Ott and Yorke, Physica D 17, 125 (1985).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orbitograph {

inline constexpr std::int32_t kDefaultMetricsBox = 5;
inline constexpr std::int32_t kDefaultMetricsDistances[] = {1, 2, 4, 8};

struct DistanceShare {
    std::int32_t k = 0;
    double f = 0.0;
    friend bool operator==(const DistanceShare&, const DistanceShare&) = default;
};

struct LabelMetrics {
    double sb = 0.0;
    double sbb = 0.0;
    std::int64_t boundaryBoxes = 0;
    std::int64_t boxes = 0;
    std::vector<DistanceShare> f;  // the k of K that fit the grid, increasing
    double alpha = 0.0;
};

// Why a grid's metrics are refused; each front end words it in its own way.
enum class MetricsRefusal {
    ShapeNotValid,      // rows * cols is not the number of labels
    StepNotValid,       // h is not a finite positive number
    BoxNotValid,        // b < 1
    DistancesNotValid,  // K is not strictly increasing, or holds a k < 1
};

std::optional<MetricsRefusal> CheckMetrics(std::size_t labels, std::size_t rows, std::size_t cols, double step,
                                           std::int32_t box, std::span<const std::int32_t> ks);

// The metrics above, for labels CheckMetrics accepts; std::invalid_argument
// otherwise. One pass over the grid for the boxes and one for each k (vector
// comparisons of whole rows), with the labels of one box as the only scratch
// (b * b labels, sorted only for boxes holding two labels or more). Labels
// equal as integers give the same result whatever their type. Throws
// std::bad_alloc when the scratch does not fit.
template <class Label>
LabelMetrics ComputeLabelMetrics(std::span<const Label> labels, std::size_t rows, std::size_t cols, double step,
                                 std::int32_t box, std::span<const std::int32_t> ks);

extern template LabelMetrics ComputeLabelMetrics(std::span<const std::uint8_t>, std::size_t, std::size_t, double,
                                                 std::int32_t, std::span<const std::int32_t>);
extern template LabelMetrics ComputeLabelMetrics(std::span<const std::int32_t>, std::size_t, std::size_t, double,
                                                 std::int32_t, std::span<const std::int32_t>);
extern template LabelMetrics ComputeLabelMetrics(std::span<const std::int64_t>, std::size_t, std::size_t, double,
                                                 std::int32_t, std::span<const std::int32_t>);

}  // namespace orbitograph

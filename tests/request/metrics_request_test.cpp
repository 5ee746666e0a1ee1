#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "model/compute_spaces.h"
#include "model/grid_labels.h"
#include "reference_metrics.h"
#include "request/metrics_request.h"

using namespace orbitograph;

// The kinds and the attractor numbers are measured with row 0 the lowest
// grid row: on a grid of 19 rows (not a multiple of the box) the boxes
// start at (x1, y1).
TEST(MetricsRequest, MeasuresTheGridFromItsLowestRow) {
    const ModelParams p{.y1 = -1.1, .y2 = 0.7, .step = 0.1, .dcOutward = 0, .kc = 0.2, .iterations = 100};
    ComputeControl control;
    control.kindGrid = control.analysis = true;
    const SpaceLists lists = *ComputeSpaces(p, 500, 350, control);
    const auto cols = static_cast<std::size_t>(CountColumns(p)), rows = static_cast<std::size_t>(CountRows(p));
    ASSERT_NE(rows % 4, 0u);
    for (const MetricsOf of : {MetricsOf::Kinds, MetricsOf::Attractor}) {
        std::vector<std::int64_t> labels(rows * cols);
        for (std::size_t c = 0; c < cols; ++c) {
            for (std::size_t r = 0; r < rows; ++r) {
                const std::size_t at = c * rows + r;
                labels[r * cols + c] =
                    of == MetricsOf::Kinds ? LabelOf(lists.kinds[at]) : lists.analysis.Attractor()[at];
            }
        }
        const MetricsRequest m{true, 4, {1, 3, 5}, of};
        const LabelMetrics got = MetricsOfGrid(p, lists, m);
        const LabelMetrics want = reference::Metrics(labels, rows, cols, p.step, m.box, m.ks);
        EXPECT_GT(want.boundaryBoxes, 0);
        EXPECT_EQ(std::tie(got.boxes, got.boundaryBoxes, got.f), std::tie(want.boxes, want.boundaryBoxes, want.f));
        EXPECT_NEAR(got.sb, want.sb, 1e-12 * want.sb);
        EXPECT_NEAR(got.alpha, want.alpha, 1e-12 * std::fabs(want.alpha));
    }
}

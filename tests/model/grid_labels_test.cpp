#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/compute_spaces.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "reference_model.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

ModelParams Drawn(test::Draw& d) {
    for (;;) {
        ModelParams p;
        p.a = d.Int(0, 4) == 0 ? 0.0 : d.Between(-2.5, 2.5);
        p.dc = d.Between(-1.2, 1.2);
        p.kc = d.Int(0, 5) == 0 ? 1e200 : d.Between(-1.2, 1.2);
        p.dcOutward = d.Int(0, 1);
        p.kcOutward = d.Int(0, 1);
        p.iterations = d.Int(-1, 400);
        p.x1 = d.Between(-2.0, 2.0);
        p.x2 = d.Between(p.x1, 2.0);
        p.y1 = d.Between(-2.0, 2.0);
        p.y2 = d.Between(p.y1, 2.0);
        p.step = std::fmax(std::fmax(p.x2 - p.x1, p.y2 - p.y1), 0.01) / d.Between(1.0, 15.0);
        if (!CheckParameters(p)) return p;
    }
}

}  // namespace

// On drawn small grids: the labels, laid out row by row from the lowest row, name the basin list the
// reference put each start point in; every end point the engine keeps is the
// reference's bit for bit, and every NaN stands for an orbit the reference
// ends outside the square.
TEST(GridLabels, MatchTheReferenceOnDrawnGrids) {
    test::Draw d{1306};
    int nanSeen = 0;
    for (int set = 0; set < 300; ++set) {
        const ModelParams p = Drawn(d);
        const std::vector<double> xs = AxisCoordinates(p.x1, p.x2, p.step);
        const std::vector<double> ys = AxisCoordinates(p.y1, p.y2, p.step);
        ComputeControl control;
        control.threads = 1 + set % 3;
        control.kindGrid = control.startPointEnds = true;
        const auto got = ComputeSpaces(p, 300, 200, control);
        ASSERT_TRUE(got.has_value());
        const std::size_t cols = xs.size(), rows = ys.size();
        ASSERT_EQ(got->startPointEnds.size(), cols * rows);
        const std::vector<std::uint8_t> labels = LabelRows(got->kinds, cols, rows);
        const std::vector<double> endX = GridRows(got->startPointEnds.x, cols, rows);
        const std::vector<double> endY = GridRows(got->startPointEnds.y, cols, rows);

        std::vector<std::uint8_t> expected(cols * rows, kLabelNoList);
        const SpaceLists ref = reference::ComputeBasins(p, {300, 200});
        const BasinPlacement place = ComputeBasinPlacement(p);
        const int px0 = 300 - place.centreColumn + place.firstColumn, py0 = 200 - place.firstRow + place.centreRow;
        const std::pair<const PointList*, std::uint8_t> lists[] = {{&ref.basinInfinity, kLabelInfinity},
                                                                   {&ref.basinZero, kLabelZero},
                                                                   {&ref.basinT, kLabelT},
                                                                   {&ref.basinO, kLabelO},
                                                                   {&ref.basinM, kLabelM},
                                                                   {&ref.basinH, kLabelH}};
        for (const auto& [list, label] : lists) {
            for (const Point q : *list) expected[static_cast<std::size_t>(py0 - q.y) * cols + (q.x - px0)] = label;
        }
        ASSERT_EQ(labels, expected) << "set " << set;

        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < cols; ++c) {
                double ex, ey;
                reference::IterateOrbit(p, xs[c], ys[r], ex, ey);
                const std::size_t k = r * cols + c;
                if (std::isnan(endX[k]) && std::isnan(endY[k]) && !(ex >= -2 && ex <= 2 && ey >= -2 && ey <= 2)) {
                    ++nanSeen;
                    continue;
                }
                ASSERT_TRUE(SameBits(endX[k], ex) && SameBits(endY[k], ey)) << "set " << set << " at " << c << "," << r;
            }
        }
    }
    EXPECT_GT(nanSeen, 100);  // the draw reaches the escape shortcut
}

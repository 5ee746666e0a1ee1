#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "support/gui_test_support.h"
#include "view/grid_layer.h"

using namespace orbitograph;
using namespace orbitograph::test;

// Client 1000 x 700; both end points of every line are painted, in black.
TEST(GridLayer, TheFiveWorkedRows) {
    struct Row {
        std::int32_t shift;
        bool basinPanel;
        double h, x1, x2, y1, y2;
        std::array<int, 5> xs;
        int top, bottom;
        std::array<int, 5> ys;
        int left, right;
    } rows[] = {
        {0, false, 0.01, -2, 2, -2, 2, {300, 400, 500, 600, 700}, 150, 550, {150, 250, 350, 450, 550}, 300, 700},
        {-220, false, 0.01, -2, 2, -2, 2, {80, 180, 280, 380, 480}, 150, 550, {150, 250, 350, 450, 550}, 80, 480},
        {220, true, 0.01, -2, 2, -2, 2, {520, 620, 720, 820, 920}, 150, 550, {150, 250, 350, 450, 550}, 520, 920},
        {0, true, 0.01, -1, 2, -2, 0, {250, 350, 450, 550, 650}, 50, 450, {50, 150, 250, 350, 450}, 250, 650},
        {0, false, 0.03, -2, 2, -2, 2, {433, 466, 500, 533, 566}, 283, 416, {283, 316, 350, 383, 416}, 433, 566},
        // The attractor panel ignores the start rectangle.
        {0, false, 0.01, -1, 2, -2, 0, {300, 400, 500, 600, 700}, 150, 550, {150, 250, 350, 450, 550}, 300, 700},
    };
    for (const Row& r : rows) {
        QImage canvas = Blank(1000, 700);
        DrawGrid(canvas, LayOutGrid(ClientRect{0, 0, 1000, 700}, r.shift, r.basinPanel, r.h, r.x1, r.x2, r.y1, r.y2));
        std::set<std::pair<int, int>> painted, lines;
        for (const QPoint& p : Changed(canvas)) {
            painted.insert({p.x(), p.y()});
            ASSERT_EQ(canvas.pixel(p), 0xFF000000u);
        }
        for (int i = 0; i < 5; ++i) {
            for (int y = r.top; y <= r.bottom; ++y) lines.insert({r.xs[i], y});
            for (int x = r.left; x <= r.right; ++x) lines.insert({x, r.ys[i]});
        }
        EXPECT_EQ(painted, lines) << "shift " << r.shift << " basins " << r.basinPanel << " h " << r.h;
    }
}

TEST(GridLayer, RightEndTakesTheShiftBeforeTruncationAndLinesOffTheCanvasAreClipped) {
    // 2/h = 66.67: cx + 2/h + s = 500 + 66.67 - 600 = -33.33 truncates to
    // -33 (the shift added after truncation would give -600 + 566 = -34),
    // while the left end is s + trunc(cx - 2/h) = -600 + 433.
    const GridLines shifted = LayOutGrid(ClientRect{0, 0, 1000, 700}, -600, false, 0.03, -2, 2, -2, 2);
    EXPECT_EQ(std::tuple(shifted.left, shifted.right, shifted.verticalX[0]), std::tuple(-167, -33, -167));

    // A small client with a fine step: every line reaches far past the edges.
    const GridLines g = LayOutGrid(ClientRect{0, 0, 30, 20}, -5, true, 0.001, -2, 2, -2, 2);
    QImage canvas = Blank(30, 20);
    DrawGrid(canvas, g);
    EXPECT_FALSE(Changed(canvas).empty());  // the lines through the centre
    QImage tiny = Blank(1, 1);
    DrawGrid(tiny,
             LayOutGrid(ClientRect{0, 0, 1, 1}, std::numeric_limits<std::int32_t>::min(), false, 1e-9, -2, 2, -2, 2));
    QImage none;
    DrawGrid(none, g);
    EXPECT_TRUE(none.isNull());
}

#include <gtest/gtest.h>

#include "support/gui_test_support.h"
#include "view/parameter_text.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(ParameterText, LinesAdvanceFifteenPixelsAtSizeThirteen) {
    QImage canvas = Blank(200, 320);
    DrawParameterText(canvas, ReportLines(19, "HHH"), 13);
    // The top row of ink at the same place in each band of 15 rows; the first
    // line at the top-left corner.
    const int top = InkBox(canvas.copy(0, 0, 200, 15)).top();
    for (int i = 1; i < 19; ++i) EXPECT_EQ(InkBox(canvas.copy(0, i * 15, 200, 15)).top(), top) << "line " << i;
    EXPECT_LE(InkBox(canvas).top(), 4);
    EXPECT_LE(InkBox(canvas).left(), 2);
}

TEST(ParameterText, SizesAndEmptyTexts) {
    // The inked box's least and greatest height; 0, 0: nothing drawn.
    const std::tuple<ReportLines, std::int32_t, int, int> rows[] = {
        {{}, 13, 0, 0},
        {{"\n", "\n"}, 13, 0, 0},
        {{"", ""}, 13, 0, 0},
        {{"Параметр"}, 0, 0, 0},
        {{"Параметр"}, -4, 0, 0},
        {ReportLines(19, "Шаг (h)=0.01"), 1, 1, 19 * 3},
        {ReportLines(19, "Шаг (h)=0.01"), 50, 300, 400},  // lines fill the canvas downwards
    };
    for (const auto& [report, size, least, most] : rows) {
        QImage canvas = Blank(300, 400);
        DrawParameterText(canvas, report, size);
        const int height = InkBox(canvas).height();
        EXPECT_TRUE(height >= least && height <= most) << report.size() << " lines, size " << size << ": " << height;
    }
    QImage none;
    DrawParameterText(none, {"x"}, 13);
    EXPECT_TRUE(none.isNull());
}

// Dark green, its anti-aliased edges blending into the grey background: red
// and blue fall together, green stays between 100 and 240.
TEST(ParameterText, DarkGreenOverTheBackground) {
    QImage canvas = Blank(200, 80);
    DrawParameterText(canvas, {"IIII"}, 50);
    bool full = false;
    for (const QPoint& p : Changed(canvas)) {
        const QRgb c = canvas.pixel(p);
        full = full || c == 0xFF006400u;
        EXPECT_TRUE(qRed(c) == qBlue(c) && qGreen(c) >= 100 && qAlpha(c) == 255) << p.x() << "," << p.y();
    }
    EXPECT_TRUE(full);
}

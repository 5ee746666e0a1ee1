#include <gtest/gtest.h>

#include "support/gui_test_support.h"
#include "view/parameter_text.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(ParameterText, LinesAdvanceFifteenPixelsAtSizeThirteen) {
    QImage canvas = Blank(200, 320);
    DrawParameterText(canvas, ReportLines(19, "HHH"), 13);
    // Top row of ink in each band of 15 rows.
    std::vector<int> tops;
    for (int i = 0; i < 19; ++i) {
        const QRect box = InkBox(canvas.copy(0, i * 15, 200, 15));
        ASSERT_FALSE(box.isNull()) << "line " << i;
        tops.push_back(i * 15 + box.top());
    }
    for (int i = 1; i < 19; ++i) EXPECT_EQ(tops[i] - tops[i - 1], 15) << "line " << i;
    // The first line starts at the top-left corner.
    EXPECT_LE(tops[0], 4);
    EXPECT_LE(InkBox(canvas).left(), 2);
}

TEST(ParameterText, SizesAndEmptyTexts) {
    struct Row {
        ReportLines report;
        std::int32_t size;
        int minHeight, maxHeight;  // of the inked box; 0, 0: nothing drawn
    } rows[] = {
        {{}, 13, 0, 0},           {{"\n", "\n"}, 13, 0, 0}, {{"", ""}, 13, 0, 0},
        {{"Параметр"}, 0, 0, 0}, {{"Параметр"}, -4, 0, 0},
        {ReportLines(19, "Шаг (h)=0.01"), 1, 1, 19 * 3},
        {ReportLines(19, "Шаг (h)=0.01"), 50, 300, 400},  // lines fill the canvas downwards
    };
    for (const Row& r : rows) {
        QImage canvas = Blank(300, 400);
        DrawParameterText(canvas, r.report, r.size);
        const QRect box = InkBox(canvas);
        EXPECT_GE(box.height(), r.minHeight) << r.report.size() << " lines, size " << r.size;
        EXPECT_LE(box.height(), r.maxHeight) << r.report.size() << " lines, size " << r.size;
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

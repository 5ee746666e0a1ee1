#include <gtest/gtest.h>

#include "support/gui_test_support.h"
#include "view/parameter_text.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// Top row of ink in each band of `pitch` rows.
std::vector<int> InkTops(const QImage& img, int lines, int pitch) {
    std::vector<int> tops;
    for (int i = 0; i < lines; ++i) {
        const QImage band = img.copy(0, i * pitch, img.width(), pitch);
        const QRect box = InkBox(band);
        tops.push_back(box.isNull() ? -1 : i * pitch + box.top());
    }
    return tops;
}

}  // namespace

TEST(ParameterText, LinesAdvanceFifteenPixelsAtSizeThirteen) {
    QImage canvas = Blank(200, 320);
    const ReportLines report(19, "HHH");
    DrawParameterText(canvas, report, 13);
    const std::vector<int> tops = InkTops(canvas, 19, 15);
    ASSERT_NE(tops[0], -1);
    for (int i = 1; i < 19; ++i) EXPECT_EQ(tops[i] - tops[i - 1], 15) << "line " << i;
    // The first line's layout box is at the top-left corner: its capitals
    // start a few rows down (ascent minus cap height), at the left edge.
    EXPECT_LE(tops[0], 4);
    EXPECT_LE(InkBox(canvas).left(), 2);
}

TEST(ParameterText, DarkGreenOverTheBackground) {
    QImage canvas = Blank(200, 80);
    DrawParameterText(canvas, {"IIII"}, 50);
    bool full = false;
    for (const QPoint& p : Changed(canvas)) {
        const QRgb c = canvas.pixel(p);
        full = full || c == 0xFF006400u;
        // Anti-aliased edges blend green into the grey background: red and
        // blue fall together, green stays between 100 and 240.
        EXPECT_EQ(qRed(c), qBlue(c)) << p.x() << "," << p.y();
        EXPECT_GE(qGreen(c), 100);
        EXPECT_EQ(qAlpha(c), 255);
    }
    EXPECT_TRUE(full);
}

TEST(ParameterText, DrawsNothingWhenThereIsNothingToDraw) {
    struct Row {
        ReportLines report;
        std::int32_t size;
    } rows[] = {
        {{}, 13},               // nothing computed yet
        {{"\n", "\n"}, 13},     // the separator lines
        {{"", ""}, 13},
        {{"Параметр"}, 0},      // no font of size 0
        {{"Параметр"}, -4},
    };
    for (const Row& r : rows) {
        QImage canvas = Blank(120, 60);
        DrawParameterText(canvas, r.report, r.size);
        EXPECT_TRUE(Changed(canvas).empty()) << r.report.size() << " lines, size " << r.size;
    }
}

TEST(ParameterText, ExtremeSizesDraw) {
    for (std::int32_t size : {1, 50}) {
        QImage canvas = Blank(300, 400);
        DrawParameterText(canvas, ReportLines(19, "Шаг (h)=0.01"), size);
        const QRect box = InkBox(canvas);
        EXPECT_FALSE(box.isNull()) << size;
        if (size == 50) {
            EXPECT_GE(box.height(), 300);  // lines fill the canvas downwards
        } else {
            EXPECT_LE(box.height(), 19 * 3);
        }
    }
    QImage none;
    DrawParameterText(none, {"x"}, 13);
    EXPECT_TRUE(none.isNull());
}

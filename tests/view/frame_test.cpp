#include <gtest/gtest.h>

#include <set>

#include "legend/legend_panel.h"
#include "view/frame.h"
#include "support/gui_test_support.h"
#include "view/point_layers.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// The model computed with the defaults at the origin of a 1000 x 700 client.
FractalModel DefaultModel() {
    FractalModel m;
    m.SetParams(ModelParams{});
    m.originX = 500;
    m.originY = 350;
    EXPECT_EQ(m.Compute(), ComputeStatus::Done);
    return m;
}

ViewState PointsOnly() {
    ViewState v;
    v.m_showParams = 0;
    return v;
}

struct Expectation {
    const PointList* list;
    int shift;
    QRgb colour;
};

// Every pixel of every list is painted in its colour, and nothing else.
void ExpectExactly(const QImage& frame, const std::vector<Expectation>& lists) {
    std::set<std::pair<int, int>> expected;
    for (const Expectation& e : lists) {
        for (const Point& p : *e.list) {
            const int x = p.x + e.shift;
            if (x < 0 || x >= frame.width() || p.y < 0 || p.y >= frame.height()) continue;
            ASSERT_EQ(frame.pixel(x, p.y), e.colour) << x << "," << p.y;
            expected.insert({x, p.y});
        }
    }
    std::set<std::pair<int, int>> painted;
    for (const QPoint& p : Changed(frame)) painted.insert({p.x(), p.y()});
    EXPECT_EQ(painted, expected);
}

// The six basin lists in their colours, shifted by shift.
std::vector<Expectation> Basins(const FractalModel& m, int shift) {
    return {{&m.basinInfinity, shift, kBasinInfinityColour}, {&m.basinZero, shift, kBasinZeroColour},
            {&m.basinO, shift, kBasinOColour},               {&m.basinT, shift, kBasinTColour},
            {&m.basinM, shift, kBasinMColour},               {&m.basinH, shift, kBasinHColour}};
}

}  // namespace

TEST(Frame, TwoPanelsOfTheDefaultComputation) {
    FractalModel m = DefaultModel();
    ViewState v = PointsOnly();
    const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
    ASSERT_EQ(frame.size(), QSize(1000, 700));
    EXPECT_EQ(frame.format(), QImage::Format_ARGB32);
    EXPECT_EQ(v.m_clientRect, (ClientRect{0, 0, 1000, 700}));
    EXPECT_EQ(v.m_offset, 220);
    EXPECT_EQ(m.originX, 500);
    EXPECT_EQ(m.originY, 350);
    ASSERT_EQ(m.attractors.size(), 14640u);
    // The panels do not overlap: attractors at x - 220, basins at x + 220.
    std::vector<Expectation> lists = Basins(m, 220);
    lists.push_back({&m.attractors, -220, kAttractorColour});
    ExpectExactly(frame, lists);
    EXPECT_EQ(frame.pixel(0, 0), 0xFFF0F0F0u);
}

TEST(Frame, SinglePanelsAndTheHalfTurnCopy) {
    FractalModel m = DefaultModel();
    {
        ViewState v = PointsOnly();
        v.m_twoModes = 0;
        v.m_offset = 77;
        const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
        ExpectExactly(frame, Basins(m, 0));
        EXPECT_EQ(v.m_offset, 77);  // left as it was
    }
    for (std::int32_t mode : {2, 0, 5}) {
        ViewState v = PointsOnly();
        v.m_twoModes = 0;
        v.m_viewMode = mode;
        const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
        ExpectExactly(frame, {{&m.attractors, 0, kAttractorColour}});
    }
    {
        ViewState v = PointsOnly();
        v.m_twoModes = 0;
        v.OnShowAttractors();
        v.m_aSymmetry = 1;
        const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
        // The copy is drawn over the attractors: (999 - px, 699 - py) purple.
        for (const Point& p : m.attractors) EXPECT_EQ(frame.pixel(999 - p.x, 699 - p.y), kAttractorCopyColour);
    }
    {
        // Two panels: the copy stays in the attractor panel (shift -220).
        ViewState v = PointsOnly();
        v.m_aSymmetry = 1;
        const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
        for (const Point& p : m.attractors) {
            const int x = 999 - p.x - 220;
            EXPECT_EQ(frame.pixel(x, 699 - p.y), kAttractorCopyColour);
            EXPECT_LT(x, 500);
        }
    }
}

TEST(Frame, OnlyExactlyOneSwitchesOn) {
    FractalModel m = DefaultModel();
    ViewState v;
    v.m_twoModes = 2;  // not 1: one panel, the basins
    v.m_showParams = 2;
    v.m_showGrid = -1;
    v.m_showLegend = 3;
    v.m_aSymmetry = 2;
    const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
    ExpectExactly(frame, Basins(m, 0));
}

TEST(Frame, LayersStackTextUnderGridUnderLegend) {
    FractalModel m = DefaultModel();
    const QImage picture(ORBITOGRAPH_LEGEND_PICTURE);
    ASSERT_FALSE(picture.isNull());
    ViewState v;
    v.m_showGrid = 1;
    v.m_showLegend = 1;
    const QImage frame = ComposeFrame(v, m, 1000, 700, &picture);
    // The legend picture covers (15, 300) to (274, 559), over the attractor
    // grid's line x = 80 and everything else there; its left part (picture
    // x below 110) carries none of the legend's texts.
    for (int y = 300; y < 560; y += 7) {
        for (int x = 15; x < 125; x += 3) ASSERT_EQ(frame.pixel(x, y), picture.pixel(x - 15, y - 300)) << x << "," << y;
    }
    // The grid's top line (y 150, x 80 to 480) runs through the report's
    // text band (lines at y 135 to 165) and stays unbroken black.
    for (int x = 80; x <= 480; ++x) ASSERT_EQ(frame.pixel(x, 150), 0xFF000000u) << x;
    // The report is drawn over the attractor points: green ink at the left.
    bool green = false;
    for (int y = 0; y < 15 && !green; ++y)
        for (int x = 0; x < 60 && !green; ++x) green = qGreen(frame.pixel(x, y)) < 200 && qRed(frame.pixel(x, y)) < 200;
    EXPECT_TRUE(green);
}

TEST(Frame, EmptyModelAndEmptyClient) {
    FractalModel m;
    ViewState v;
    v.m_showParams = 1;  // an empty report draws no text
    const QImage frame = ComposeFrame(v, m, 320, 200, nullptr);
    EXPECT_TRUE(Changed(frame).empty());
    EXPECT_EQ(m.originX, 160);
    EXPECT_EQ(m.originY, 100);

    for (QSize size : {QSize(0, 700), QSize(1000, 0), QSize(0, 0)}) {
        ViewState e;
        EXPECT_TRUE(ComposeFrame(e, m, size.width(), size.height(), nullptr).isNull());
        EXPECT_EQ(e.m_clientRect, (ClientRect{0, 0, size.width(), size.height()}));
        EXPECT_EQ(m.originX, size.width() / 2);
    }
}

TEST(Frame, ResizingMovesTheGridButNotThePoints) {
    FractalModel m = DefaultModel();  // computed for the centre (500, 350)
    ViewState v = PointsOnly();
    v.m_twoModes = 0;
    v.OnShowAttractors();
    v.m_showGrid = 1;
    const QImage frame = ComposeFrame(v, m, 1200, 900, nullptr);
    EXPECT_EQ(m.originX, 600);
    EXPECT_EQ(m.originY, 450);
    for (const Point& p : m.attractors) ASSERT_EQ(frame.pixel(p.x, p.y), kAttractorColour);
    // The grid of the attractor panel is centred on the new centre: its
    // lines x = 400 .. 800 and y = 250 .. 650, both ends included.
    for (int x : {400, 500, 600, 700, 800}) {
        EXPECT_EQ(frame.pixel(x, 250), 0xFF000000u) << x;
        EXPECT_EQ(frame.pixel(x, 650), 0xFF000000u) << x;
        EXPECT_NE(frame.pixel(x, 249), 0xFF000000u) << x;
        EXPECT_NE(frame.pixel(x, 651), 0xFF000000u) << x;
    }
}

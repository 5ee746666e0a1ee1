#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>

#include "legend/legend_panel.h"
#include "support/gui_test_support.h"
#include "view/fitted_frame.h"
#include "view/frame.h"
#include "view/orbit_overlay.h"
#include "view/point_layers.h"
#include "view_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

struct Layer {
    const PointList* list;
    int shift;
    QRgb colour;
    bool halfTurn = false;  // the copy: (width - 1 - x + shift, height - 1 - y)
};

// Each pixel a layer names has the last such layer's colour; no other is painted.
void ExpectExactly(const QImage& frame, const std::vector<Layer>& layers) {
    std::map<std::pair<int, int>, QRgb> expected;
    for (const Layer& l : layers) {
        for (const Point& p : *l.list) {
            const int x = l.halfTurn ? frame.width() - 1 - p.x + l.shift : p.x + l.shift;
            const int y = l.halfTurn ? frame.height() - 1 - p.y : p.y;
            if (x >= 0 && x < frame.width() && y >= 0 && y < frame.height()) expected[{x, y}] = l.colour;
        }
    }
    for (const auto& [at, colour] : expected)
        ASSERT_EQ(frame.pixel(at.first, at.second), colour) << at.first << "," << at.second;
    EXPECT_EQ(Changed(frame).size(), expected.size());
}

}  // namespace

// The panels of the default computation: in two panels the attractors at
// x - 220 and the basins at x + 220 do not overlap, the half-turn copy stays
// in the attractor panel; a switch is on only when it is exactly 1.
TEST(Frame, PanelsOfTheDefaultComputation) {
    FractalModel m = ComputedAtCentre();
    const std::optional<int> no;
    const DisplaySwitches one{.m_twoModes = false, .m_showParams = false},
        oneCopy{.m_twoModes = false, .m_showParams = false, .m_aSymmetry = true};
    struct Row {
        const char* name;
        DisplaySwitches switches;
        ViewMode viewMode;
        std::optional<int> basins, attractors, copy;  // the shift of each layer drawn
    } rows[] = {
        {"two panels", {.m_showParams = false}, ViewMode::Basins, 220, -220, no},
        {"two panels, copy", {.m_showParams = false, .m_aSymmetry = true}, ViewMode::Basins, 220, -220, -220},
        {"two panels, attractors chosen", {.m_showParams = false}, ViewMode::Attractors, 220, -220, no},
        {"basins", one, ViewMode::Basins, 0, no, no},
        {"attractors", one, ViewMode::Attractors, no, 0, no},
        {"attractors, copy", oneCopy, ViewMode::Attractors, no, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ViewState v;
        v.m_switches = r.switches;
        v.m_viewMode = r.viewMode;
        v.m_offset = 77;
        const QImage frame = ComposeFrame(v, m, 1000, 700, nullptr);
        ASSERT_EQ(frame.size(), QSize(1000, 700));
        EXPECT_EQ(v.m_offset, r.switches.m_twoModes ? 220 : 77);  // a single panel leaves it
        EXPECT_EQ(std::pair(m.originX, m.originY), std::pair(500, 350));
        std::vector<Layer> layers;
        if (const int s = r.basins.value_or(0); r.basins)
            layers = {{&m.basinInfinity, s, kBasinInfinityColour},
                      {&m.basinZero, s, kBasinZeroColour},
                      {&m.basinO, s, kBasinOColour},
                      {&m.basinT, s, kBasinTColour},
                      {&m.basinM, s, kBasinMColour},
                      {&m.basinH, s, kBasinHColour}};
        if (r.attractors) layers.push_back({&m.attractors, *r.attractors, kAttractorColour});
        if (r.copy) layers.push_back({&m.attractors, *r.copy, kAttractorCopyColour, true});
        ExpectExactly(frame, layers);
    }
}

TEST(Frame, LayersStackTextUnderGridUnderLegend) {
    FractalModel m = ComputedAtCentre();
    const QImage picture(ORBITOGRAPH_LEGEND_PICTURE);
    ASSERT_FALSE(picture.isNull());
    ViewState v;
    v.m_switches.m_showGrid = true;
    v.m_switches.m_showLegend = true;
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
    const QImage corner = frame.copy(0, 0, 60, 15);
    const std::vector<QPoint> inked = Changed(corner);
    EXPECT_TRUE(std::any_of(inked.begin(), inked.end(),
                            [&](QPoint p) { return qGreen(corner.pixel(p)) < 200 && qRed(corner.pixel(p)) < 200; }));
}

// An empty model draws nothing, an empty client gives no canvas; a resize
// moves the grid but not the points.
TEST(Frame, EmptyModelEmptyClientAndResizing) {
    FractalModel empty;
    ViewState e;
    EXPECT_TRUE(Changed(ComposeFrame(e, empty, 320, 200, nullptr)).empty());
    for (QSize size : {QSize(0, 700), QSize(1000, 0), QSize(0, 0)})
        EXPECT_TRUE(ComposeFrame(e, empty, size.width(), size.height(), nullptr).isNull()) << size.width();

    FractalModel m = ComputedAtCentre();  // computed for the centre (500, 350)
    ViewState v;
    v.m_switches = {.m_twoModes = false, .m_showParams = false, .m_showGrid = true};
    v.OnShowAttractors();
    const QImage frame = ComposeFrame(v, m, 1200, 900, nullptr);
    EXPECT_EQ(std::pair(m.originX, m.originY), std::pair(600, 450));
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

// A cancel seen gives no canvas, in either display; one never set changes
// nothing.
TEST(Frame, CancelSeenGivesNoCanvas) {
    FractalModel m = ComputedAtCentre();
    const std::atomic<bool> set{true}, unset{false};
    for (const bool fit : {false, true}) {
        ViewState a, b, c;
        a.m_switches.m_fitWindow = b.m_switches.m_fitWindow = c.m_switches.m_fitWindow = fit;
        EXPECT_TRUE(ComposeFrame(a, m, 640, 480, nullptr, nullptr, &set).isNull()) << fit;
        EXPECT_EQ(ComposeFrame(b, m, 640, 480, nullptr, nullptr, &unset), ComposeFrame(c, m, 640, 480, nullptr)) << fit;
    }
}

// In the fitted display the parameter text and the legend stand where the
// panels leave the background: drawn over the same frame without them they
// change only pixels of their own rectangles, which hold nothing else.
TEST(Frame, FittedOverlaysCoverNoPanel) {
    FractalModel m = ComputedAtCentre();
    const QImage picture(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ASSERT_FALSE(picture.isNull());
    struct Row {
        int w, h;
        DisplaySwitches s;
        bool attractorsAlone;
    };
    const Row rows[] = {
        {1000, 700, {.m_showLegend = true, .m_fitWindow = true}, false},
        {700, 1000, {.m_twoModes = false, .m_fontSize = 20, .m_fitWindow = true}, false},
        {1200, 500, {.m_twoModes = false, .m_showParams = false, .m_showLegend = true, .m_fitWindow = true}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.w);
        ViewState v;
        v.m_switches = r.s;
        if (r.attractorsAlone) v.OnShowAttractors();
        v.m_listsOriginX = 500;  // where the lists were computed
        v.m_listsOriginY = 350;
        const QImage frame = ComposeFrame(v, m, r.w, r.h, &picture);
        QImage bare = Blank(r.w, r.h);
        ASSERT_TRUE(DrawFittedFrame(bare, v, m, {}, 0xFFF0F0F0));
        const FittedLayout f = FittedLayoutOf(v);
        const auto in = [](const PixelRect& o, int x, int y) {
            return x >= o.left && x < o.left + o.width && y >= o.top && y < o.top + o.height;
        };
        int report = 0, legend = 0;
        for (int y = 0; y < r.h; ++y) {
            for (int x = 0; x < r.w; ++x) {
                const bool mine = in(f.report, x, y) || in(f.legend, x, y);
                if (mine) {
                    ASSERT_EQ(bare.pixel(x, y), 0xFFF0F0F0u) << x << "," << y;
                }
                if (frame.pixel(x, y) == bare.pixel(x, y)) continue;
                ASSERT_TRUE(mine) << x << "," << y;
                (in(f.report, x, y) ? report : legend) += 1;
            }
        }
        EXPECT_EQ(report > 0, r.s.m_showParams);
        EXPECT_EQ(legend > 0, r.s.m_showLegend);
    }
}

// A long orbit is drawn thin: its lines fade beyond 200 states down to a
// floor, and its marks go once they would merge into a band.
TEST(Frame, LongOrbitsAreInkedThin) {
    const struct {
        std::size_t states;
        std::int64_t panel;
        int alpha;
        bool marks;
    } rows[] = {{11, 470 * 470, 255, true},   {200, 288 * 200, 255, true},   {201, 288 * 201 - 1, 253, false},
                {1001, 470 * 470, 50, false}, {1001, 4000 * 4000, 50, true}, {20001, 470 * 470, kFaintestLine, false}};
    for (const auto& r : rows) {
        const OrbitInk ink = OrbitInkFor(r.states, r.panel);
        EXPECT_EQ(std::pair(ink.lineAlpha, ink.marks), std::pair(r.alpha, r.marks)) << r.states;
    }
}

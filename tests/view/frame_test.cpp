#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>

#include <QPainter>

#include "legend/legend_panel.h"
#include "support/gui_test_support.h"
#include "view/fitted_frame.h"
#include "view/frame.h"
#include "view/grid_layer.h"
#include "view/orbit_overlay.h"
#include "view/point_layers.h"
#include "view_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The panels of the default computation: in two panels the attractors at
// x - 220 and the basins at x + 220 do not overlap, the half-turn copy stays
// in the attractor panel; each layer as the point layers draw it alone.
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
        QImage expected = Blank(1000, 700);
        if (r.basins) DrawBasins(expected, m, *r.basins);
        if (r.attractors) DrawAttractors(expected, m.attractors, *r.attractors, false, {0, 0, 1000, 700});
        if (r.copy) DrawAttractors(expected, m.attractors, *r.copy, true, {0, 0, 1000, 700});
        EXPECT_TRUE(frame == expected);
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
    // The grid of the attractor panel is centred on the new centre.
    QImage expected = Blank(1200, 900);
    DrawAttractors(expected, m.attractors, 0, false, {0, 0, 1200, 900});
    const GridLines grid = LayOutGrid({0, 0, 1200, 900}, 0, false, 0.01, -2, 2, -2, 2);
    EXPECT_EQ(std::tuple(grid.left, grid.right, grid.top, grid.bottom), std::tuple(400, 800, 250, 650));
    DrawGrid(expected, grid);
    EXPECT_TRUE(frame == expected);
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
        const auto inked = [](const QImage& image, const PixelRect& o) {
            return !o.Empty() && !Changed(image.copy(o.left, o.top, o.width, o.height)).empty();
        };
        EXPECT_FALSE(inked(bare, f.report) || inked(bare, f.legend));
        EXPECT_EQ(inked(frame, f.report), r.s.m_showParams);
        EXPECT_EQ(inked(frame, f.legend), r.s.m_showLegend);
        QImage outside = frame;
        QPainter painter(&outside);
        for (const PixelRect& o : {f.report, f.legend})
            painter.fillRect(o.left, o.top, o.width, o.height, bare.pixel(0, 0));
        painter.end();
        EXPECT_TRUE(outside == bare);
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

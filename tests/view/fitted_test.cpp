#include <gtest/gtest.h>

#include "model/classify.h"
#include "support/gui_test_support.h"
#include "view/fitted_layers.h"
#include "view/point_layers.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The panels fill the client area; the parameter text and the legend take
// room of their own, in a column at the left or a band at the bottom,
// whichever leaves the larger panels.
TEST(Fitted, PanelsAndOverlaysFitTheClientArea) {
    struct Row {
        struct {
            int w, h;
            bool two, basinsAlone;
            std::int64_t columns, rows;
            FittedOverlays overlays;
        } in;
        PixelRect out[5];  // attractor square, basin square, basin area, parameter text, legend
    };
    const Row rows[] = {
        // S = min((1000 - 60) / 2, 700 - 40) = 470, face to face about x = 500.
        {{1000, 700, true, false, 400, 400, {}}, {{10, 115, 470, 470}, {520, 115, 470, 470}, {520, 115, 470, 470}}},
        // One panel of side 660; a 300 x 400 grid keeps its proportions.
        {{1000, 700, false, true, 300, 400, {}}, {{}, {170, 20, 660, 660}, {252, 20, 495, 660}}},
        {{1000, 700, false, true, 400, 1, {}}, {{}, {170, 20, 660, 660}, {170, 349, 660, 2}}},
        {{500, 900, false, false, 400, 400, {}}, {{20, 220, 460, 460}}},
        {{100, 30, true, false, 400, 400, {}}, {}},
        // A band of 300 leaves squares of 350; a column of 400, 265.
        {{1000, 700, true, true, 400, 400, {{400, 300}, {}}},
         {{130, 20, 350, 350}, {520, 20, 350, 350}, {520, 20, 350, 350}, {10, 390, 400, 300}}},
        // One panel: both in the column leave 590 x 700, a square of 550.
        {{1000, 700, false, true, 400, 400, {{400, 300}, {290, 330}}},
         {{}, {430, 75, 550, 550}, {430, 75, 550, 550}, {10, 10, 400, 300}, {10, 320, 290, 330}}},
        // Tall and narrow: both in the band, side by side.
        {{600, 1000, false, true, 400, 400, {{200, 150}, {250, 200}}},
         {{}, {20, 115, 560, 560}, {20, 115, 560, 560}, {10, 790, 200, 150}, {220, 790, 250, 200}}},
        // The band as wide as both would be wider than the client: text below, legend beside.
        {{700, 1000, false, true, 400, 400, {{550, 360}, {260, 320}}},
         {{}, {290, 120, 390, 390}, {290, 120, 390, 390}, {10, 630, 550, 360}, {10, 10, 260, 320}}},
        // Taller than the client: the column that overflows, tiny panels.
        {{600, 400, true, true, 400, 400, {{500, 450}, {}}},
         {{520, 192, 15, 15}, {575, 192, 15, 15}, {575, 192, 15, 15}, {10, 10, 500, 450}}},
    };
    for (const Row& r : rows) {
        const FittedLayout f =
            LayOutFitted(r.in.w, r.in.h, r.in.two, r.in.basinsAlone, r.in.columns, r.in.rows, r.in.overlays);
        EXPECT_EQ(std::tie(f.attractorSquare, f.basinSquare, f.basinArea, f.report, f.legend),
                  std::tie(r.out[0], r.out[1], r.out[2], r.out[3], r.out[4]))
            << r.in.w << "x" << r.in.h;
    }
}

TEST(Fitted, EveryGridPointIsInThePixelsThatHoldIt) {
    const std::pair<std::int64_t, std::int64_t> fits[] = {{7, 3}, {3, 7}, {5, 5}, {400, 470}, {4001, 930}, {1, 9}};
    for (const auto& [grid, pixels] : fits) {
        const AxisFit fit{grid, pixels};
        std::int64_t next = 0;  // grid runs tile the grid when it is finer, else one point per pixel
        for (std::int64_t p = 0; p < pixels; ++p) {
            const AxisFit::Run run = fit.GridRun(p);
            ASSERT_LT(run.begin, run.end) << grid << "/" << pixels << " pixel " << p;
            EXPECT_TRUE(grid < pixels || run.begin == next) << grid << "/" << pixels << " pixel " << p;
            next = run.end;
            for (std::int64_t g = run.begin; g < run.end; ++g) {
                const AxisFit::Run back = fit.PixelRun(g);
                EXPECT_TRUE(back.begin <= p && p < back.end) << grid << "/" << pixels << " pixel " << p;
            }
        }
        EXPECT_EQ(next, grid);
    }
}

namespace {

// Lists of a grid whose point (c, r) has the pixel (10 + c, 20 - r), from a
// kind per grid point (column by column, rows upwards; None for no list);
// with withKinds, the kind grid as well.
FractalModel ModelOf(const std::vector<std::vector<EndKind>>& columns, bool withKinds) {
    FractalModel m;
    for (const auto& column : columns)
        if (withKinds) m.kinds.insert(m.kinds.end(), column.begin(), column.end());
    PointList* lists[] = {&m.basinInfinity, &m.basinZero, &m.basinO, &m.basinH, &m.basinT, &m.basinM};
    for (std::size_t c = 0; c < columns.size(); ++c)
        for (std::size_t r = 0; r < columns[c].size(); ++r)
            if (columns[c][r] != EndKind::None)
                lists[static_cast<int>(columns[c][r])]->push_back({10 + static_cast<int>(c), 20 - static_cast<int>(r)});
    return m;
}

}  // namespace

TEST(Fitted, BasinPixelsTakeTheMajorityKindOrShowBlocks) {
    using K = EndKind;
    constexpr QRgb bg = 0xFFF0F0F0;
    struct Row {
        const char* what;
        std::vector<std::vector<K>> columns;
        PixelRect area;
        std::vector<std::vector<QRgb>> expected;  // rows from the top
    };
    const Row rows[] = {
        {"two by two grid points per pixel",
         {{K::T, K::T},
          {K::O, K::Infinity},
          {K::M, K::None},
          {K::H, K::None},
          {K::O, K::Zero},
          {K::None, K::None},
          {K::None, K::None},
          {K::None, K::None}},
         {0, 0, 4, 1},
         // 2 T beat 1 O and 1 infinity; M ties H and zero ties O, the earlier
         // kind winning; the corner points alone leave the background.
         {{kBasinTColour, kBasinMColour, kBasinZeroColour, bg}}},
        {"a coarse grid in blocks",
         {{K::T, K::H}, {K::O, K::None}},
         {0, 0, 4, 4},
         {{kBasinHColour, kBasinHColour, bg, bg},
          {kBasinHColour, kBasinHColour, bg, bg},
          {kBasinTColour, kBasinTColour, kBasinOColour, kBasinOColour},
          {kBasinTColour, kBasinTColour, kBasinOColour, kBasinOColour}}},
    };
    for (const Row& r : rows) {
        const ListGrid grid{static_cast<std::int64_t>(r.columns.size()), static_cast<std::int64_t>(r.columns[0].size()),
                            10, 20};
        for (int threads : {1, 3}) {
            for (bool withKinds : {false, true}) {
                const FractalModel m = ModelOf(r.columns, withKinds);
                QImage canvas = Blank(r.area.width, r.area.height);
                DrawFittedBasins(canvas, r.area, m, grid, threads);
                for (int y = 0; y < canvas.height(); ++y)
                    for (int x = 0; x < canvas.width(); ++x)
                        EXPECT_EQ(canvas.pixel(x, y), r.expected[y][x])
                            << r.what << (withKinds ? " from kinds" : " from lists") << " at " << x << "," << y;
            }
        }
    }
}

TEST(Fitted, DensityGoesFromTheBackgroundToFullColourOnALogScale) {
    const AttractorEnds ends{{0.0, 0.0, 1.5, 2.0}, {0.0, 0.0, -1.5, 2.0}};
    const auto [density, copy] = EndPointDensity(ends, 4, true);
    EXPECT_EQ(EndPointDensity(ends, 4, false).ends, density);
    EXPECT_EQ(density, (std::vector<std::uint32_t>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}));
    EXPECT_EQ(copy, (std::vector<std::uint32_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 0, 0}));
    QImage canvas = Blank(6, 6);
    DrawDensity(canvas, {1, 1, 4, 4}, density, 0xFFF0F0F0, kAttractorColour);
    EXPECT_EQ(canvas.pixel(3, 3), kAttractorColour);  // the most
    EXPECT_EQ(canvas.pixel(4, 4), qRgb(89, 89, 89));  // 240 * (1 - log 2 / log 3)
    EXPECT_EQ(canvas.pixel(4, 1), qRgb(89, 89, 89));  // the corner (2, 2) in the last pixel
    EXPECT_EQ(Changed(canvas).size(), 3u);
}

#include <gtest/gtest.h>

#include <cstdlib>

#include "reference_analysis.h"
#include "view/basin_colouring.h"
#include "view/colouring_legend.h"
#include "view/fitted_frame.h"
#include "view/frame.h"
#include "view/panel_geometry.h"
#include "view/point_layers.h"
#include "view_test_support.h"

using namespace orbitograph;

// Inward actions with several attractors of periods 1 and 2 and orbits that
// leave the square, on a grid coarse enough that every grid point of the
// fitted display shows in pixels of its own.
constexpr ModelParams kSet{.a = 0.6, .step = 0.1, .dcOutward = 0, .dc = 0.9, .kc = 0.3, .iterations = 300};

// Every start point of a basin list shows its own value's colour, as the
// literal transcription gives the value, in both displays and in every
// colouring; the classic display one pixel per grid point right of the
// attractors, the fitted one in the pixels that hold the grid point. The
// legend stands where the legend panel does and keys what the panel shows: a
// square of each attractor's colour, then the escaped and the unsettled; on
// a scale, the bar from the largest value down.
TEST(BasinColouring, EveryStartPointInItsValuesColour) {
    const FractalModel model = test::ComputedAtCentre(kSet, false, true);
    const GridAnalysis reference = reference::Analyse(kSet, kDefaultAttractorDelta);
    ASSERT_GE(reference.attractors.size(), 2u);
    const ListGrid grid = ListGridOf(kSet, 500, 350);
    const AnalysisColumn columns[] = {AnalysisColumn::Attractor, AnalysisColumn::ExitStep, AnalysisColumn::Period};
    for (int n = 0; n < 6; ++n) {
        const AnalysisColumn column = columns[n % 3];
        const bool fit = n >= 3;
        SCOPED_TRACE(n);
        ViewState view;
        view.SetParams(kSet);
        view.m_listsOriginX = 500;
        view.m_listsOriginY = 350;
        view.m_colourBy = column;
        view.m_switches.m_fitWindow = fit;
        view.m_switches.m_showLegend = !fit;
        FractalModel drawn = model;
        const QImage frame = ComposeFrame(view, drawn, 1000, 700, nullptr);
        const BasinColours colours = BasinColoursOf(reference, column);
        const FittedLayout f = FittedLayoutOf(view);
        const AxisFit across{grid.columns, f.basinArea.width}, up{grid.rows, f.basinArea.height};
        for (std::int64_t c = 0; c < grid.columns; ++c) {
            for (std::int64_t r = 0; r < grid.rows; ++r) {
                const auto i = static_cast<std::size_t>(c * grid.rows + r);
                if (model.kinds[i] == EndKind::None) continue;
                const std::int64_t x = fit ? f.basinArea.left + across.PixelRun(c).begin
                                           : grid.pxFirst + c + BasinShift(kSet.x1, kSet.x2, kSet.step);
                const std::int64_t y =
                    fit ? f.basinArea.top + f.basinArea.height - 1 - up.PixelRun(r).begin : grid.pyFirst - r;
                ASSERT_EQ(frame.pixel(int(x), int(y)), colours.Of(BasinCode(reference, column, i))) << c << "," << r;
            }
        }
        if (fit) continue;
        const int top = 700 - 400, k = static_cast<int>(reference.attractors.size());
        if (column != AnalysisColumn::Attractor) {
            EXPECT_EQ(frame.pixel(20, top + 20), ScaleColour(1.0));
            EXPECT_EQ(frame.pixel(20, top + 20 + 255), ScaleColour(0.0));
            continue;
        }
        ASSERT_LE(k, kLegendAttractors);
        for (int id = 1; id <= k + 2; ++id)
            EXPECT_EQ(frame.pixel(21, top + 16 * id + 8), colours.Of(id <= k ? id : id == k + 1 ? 0 : -1)) << id;
    }
}

// The palette's colours differ clearly from each other and from the kinds'.
TEST(BasinColouring, PaletteColoursStandApart) {
    std::vector<QRgb> all(kAttractorPalette.begin(), kAttractorPalette.end());
    const QRgb kinds[] = {kBasinInfinityColour, kBasinZeroColour, kBasinOColour,
                          kBasinTColour,        kBasinMColour,    kBasinHColour};
    all.insert(all.end(), std::begin(kinds), std::end(kinds));
    for (std::size_t i = 0; i < kAttractorPalette.size(); ++i) {
        for (std::size_t j = i + 1; j < all.size(); ++j) {
            const int d = std::abs(qRed(all[i]) - qRed(all[j])) + std::abs(qGreen(all[i]) - qGreen(all[j])) +
                          std::abs(qBlue(all[i]) - qBlue(all[j]));
            EXPECT_GE(d, 60) << std::hex << all[i] << " " << all[j];
        }
    }
    const BasinColours byAttractor{AnalysisColumn::Attractor, 1, 40};
    EXPECT_EQ(byAttractor.Of(1 + static_cast<std::int32_t>(kAttractorPalette.size())), byAttractor.Of(1));
}

// The analysis in the window: the colourings of the basins, the dock
// "Аттракторы" and the readout, through the real main window.
#include <QTableView>
#include <QTableWidget>

#include "app/attractor_controller.h"
#include "app/attractor_dock.h"
#include "main_wnd_fixture.h"
#include "model/number_text.h"
#include "request/description.h"
#include "request/metrics_request.h"
#include "view/attractor_highlight.h"
#include "view/basin_colouring.h"
#include "view/fitted_frame.h"
#include "view/orbit_overlay.h"
#include "view/panel_geometry.h"
#include "view/readout.h"

using namespace orbitograph;

namespace {

constexpr QRgb kBackground = 0xFFF0F0F0;

// The classic display's pixel of the grid point of index i (column-major), two panels.
QPoint GridPixel(const ViewState& v, std::size_t i) {
    const ListGrid g = ListGridOfView(v);
    const ModelParams p = v.Params();
    const auto c = static_cast<std::int64_t>(i) / g.rows, r = static_cast<std::int64_t>(i) % g.rows;
    return {static_cast<int>(g.pxFirst + c + BasinShift(p.x1, p.x2, p.step)), static_cast<int>(g.pyFirst - r)};
}

}  // namespace

class AttractorWindowTest : public test::MainWindowTest {
protected:
    // Inward actions with several attractors of periods 1 and longer.
    void ComputeInward() {
        Compute({{"a", "0.6"}, {"dc", "0.9"}, {"kc", "0.3"}, {"iterations", "300"}, {"step", "0.05"}}, {"dcInward"});
    }
    BasinColouring SavedColouring(const QString& name) {
        SaveAs(name);
        const DescriptionRead read =
            ReadDescription(QImage(dir.filePath(name + ".png")).text(kPngTextKey).toStdString());
        return read.request ? read.request->display.colourBy : BasinColouring::Kinds;
    }
};

// Each colouring of the menu computes the analysis once and shows its
// model coloured so, in both displays, every attractor's first grid point
// named by the readout; the saved picture records the colouring. Back to the kinds, the analysis is dropped and the
// picture is today's again, pixel for pixel.
TEST_F(AttractorWindowTest, EachColouringShowsItsModelAndTheKindsGiveTodaysPictureBack) {
    ComputeInward();
    const QImage today = CanvasArgb();
    ASSERT_EQ(wnd->Model().analysis.size(), 0u);
    struct Row {
        int command;
        AnalysisColumn column;
        bool fit;
    } const rows[] = {{kCmdColourByAttractor, AnalysisColumn::Attractor, false},
                      {kCmdColourByExit, AnalysisColumn::ExitStep, false},
                      {kCmdColourByPeriod, AnalysisColumn::Period, true},
                      {kCmdColourByAttractor, AnalysisColumn::Attractor, true}};
    int runs = engineRuns;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        if (wnd->View().m_switches.m_fitWindow != row.fit) Trigger(kCmdFitWindow);
        runs = engineRuns;
        Trigger(row.command);
        const FractalModel& m = wnd->Model();
        ASSERT_EQ(m.analysis.size(), static_cast<std::size_t>(CountColumns(m) * CountRows(m)));
        EXPECT_EQ(wnd->View().m_colourBy, row.column);
        EXPECT_TRUE(wnd->Action(row.command)->isChecked());
        EXPECT_FALSE(wnd->Action(kCmdColourByKind)->isChecked());
        EXPECT_TRUE(ShowsItsModel());
        EXPECT_FALSE(test::Same(CanvasArgb(), today));
        if (row.fit) continue;
        // The pixels of each colouring are the view library's (its own tests).
        std::vector<bool> seen(m.analysis.attractors.size() + 1);
        for (std::size_t i = 0; i < m.analysis.size(); ++i) {
            const std::int32_t id = m.analysis.Attractor()[i];
            if (id == 0 || seen[static_cast<std::size_t>(id)]) continue;
            seen[static_cast<std::size_t>(id)] = true;
            const QPoint at = GridPixel(wnd->View(), i);
            EndCounts counts;
            EXPECT_TRUE(ReadoutText(wnd->View(), m, counts, at.x(), at.y())
                            .contains(QStringLiteral("; аттрактор %1; ").arg(id)))
                << id;
        }
    }
    // A colouring whose analysis is in place costs no computation.
    EXPECT_EQ(engineRuns, runs);

    EXPECT_EQ(SavedColouring("attractor"), BasinColouring::Attractor);
    Trigger(kCmdFitWindow);
    const int before = engineRuns;
    wnd->Action(kCmdColourByKind)->trigger();
    ASSERT_TRUE(WaitForRequestedRepaint());
    EXPECT_EQ(engineRuns, before);
    EXPECT_EQ(wnd->Model().analysis.size(), 0u);
    EXPECT_TRUE(test::Same(CanvasArgb(), today));
    EXPECT_EQ(SavedColouring("kinds"), BasinColouring::Kinds);
    EndCounts counts;
    const QPoint basin = GridPixel(wnd->View(), 3 * static_cast<std::size_t>(ListGridOfView(wnd->View()).rows) + 3);
    EXPECT_FALSE(ReadoutText(wnd->View(), wnd->Model(), counts, basin.x(), basin.y()).contains("аттрактор"));

    // An analysis the parameters do not allow is refused with a message; the
    // picture is computed without it, the colouring back to the kinds and the
    // dock closed.
    Trigger(kCmdColourByPeriod);
    Trigger(kCmdAttractorDock);
    blockEngine = true;
    wnd->SetProgressDelay(10);
    Enter({{"iterations", "2147483647"}});
    ASSERT_TRUE(wnd->Computing());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(
        errors.front().startsWith(QStringLiteral("Анализ орбит для этих параметров не выполняется: номера шагов")));
    EXPECT_TRUE(wnd->Action(kCmdColourByKind)->isChecked());
    EXPECT_FALSE(wnd->View().m_colourBy.has_value());
    EXPECT_FALSE(wnd->Action(kCmdAttractorDock)->isChecked());
    EXPECT_FALSE(wnd->Attractors().Dock()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->Progress() != nullptr; }));
    wnd->Progress()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }));
    EXPECT_EQ(errors.size(), 1);
}

// The dock lists the catalogue and the grid's metrics as computed apart;
// a selected row dims exactly the other basins and marks its cycle, a
// cleared selection gives the plain picture back, a double click probes the
// cycle's first state, and closing the dock drops the analysis.
TEST_F(AttractorWindowTest, TheDockListsTheCatalogueSelectsAnAttractorAndProbesItsCycle) {
    ComputeInward();
    const QImage today = CanvasArgb();
    Trigger(kCmdAttractorDock);
    AttractorDock* dock = wnd->Attractors().Dock();
    ASSERT_TRUE(dock->isVisible());
    EXPECT_TRUE(test::Same(CanvasArgb(), today));
    const FractalModel& m = wnd->Model();
    const GridAnalysis& a = m.analysis;
    ASSERT_GE(a.attractors.size(), 2u);

    QAbstractItemModel* table = dock->Table()->model();
    ASSERT_EQ(table->rowCount(), static_cast<int>(a.attractors.size()));
    std::int64_t basins = 0;
    for (const AttractorEntry& e : a.attractors) {
        const int r = e.id - 1;
        const auto cell = [&](int c) { return table->index(r, c).data().toString(); };
        EXPECT_EQ(cell(0).toInt(), e.id);
        EXPECT_EQ(cell(1).toInt(), e.period);
        EXPECT_EQ(cell(2).toStdString(), FormatShortest(e.x));
        EXPECT_EQ(cell(3).toStdString(), FormatShortest(e.y));
        EXPECT_EQ(cell(4).toLongLong(), e.basin);
        basins += e.basin;
    }
    EXPECT_EQ(basins + a.escaped + a.unsettled, static_cast<std::int64_t>(a.size()));
    EXPECT_TRUE(dock->CountsText().contains(QStringLiteral("Ушли из квадрата без аттрактора: %1 ").arg(a.escaped)));
    EXPECT_TRUE(dock->CountsText().contains(QStringLiteral("не установились: %1 ").arg(a.unsettled)));

    ComputeControl control;
    control.kindGrid = control.analysis = true;
    const std::optional<SpaceLists> lists =
        ComputeSpaces(m.Params(), wnd->View().m_listsOriginX, wnd->View().m_listsOriginY, control);
    ASSERT_TRUE(lists.has_value());
    MetricsRequest byKind, byAttractor;
    byAttractor.of = MetricsOf::Attractor;
    const LabelMetrics kinds = MetricsOfGrid(m.Params(), *lists, byKind);
    const LabelMetrics ids = MetricsOfGrid(m.Params(), *lists, byAttractor);
    const QTableWidget* metrics = dock->Metrics();
    ASSERT_EQ(metrics->rowCount(), static_cast<int>(5 + kinds.f.size()));
    EXPECT_EQ(metrics->item(0, 0)->text().toStdString(), FormatShortest(kinds.sb));
    EXPECT_EQ(metrics->item(0, 1)->text().toStdString(), FormatShortest(ids.sb));
    EXPECT_EQ(metrics->item(2, 1)->text().toLongLong(), ids.boundaryBoxes);
    EXPECT_EQ(metrics->item(metrics->rowCount() - 1, 0)->text().toStdString(), FormatShortest(kinds.alpha));
    EXPECT_TRUE(m.kinds.empty());  // kept only for the metrics

    // The attractor with the smallest basin, so that most pixels are dimmed.
    const AttractorEntry chosen =
        *std::min_element(a.attractors.begin(), a.attractors.end(), [](auto& x, auto& y) { return x.basin < y.basin; });
    const auto selectChosen = [&] {
        dock->Table()->selectionModel()->select(table->index(chosen.id - 1, 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    selectChosen();
    ASSERT_EQ(wnd->Attractors().Selected(), chosen.id);
    ASSERT_TRUE(WaitForRequestedRepaint());
    const QImage selected = CanvasArgb();
    for (std::size_t i = 0; i < a.size(); ++i) {
        const QPoint at = GridPixel(wnd->View(), i);
        const QRgb plain = today.pixel(at);
        ASSERT_EQ(selected.pixel(at), a.Attractor()[i] == chosen.id ? plain : Dimmed(plain, kBackground)) << i;
    }
    const std::optional<AttractorPanelMap> panel = AttractorPanelOf(wnd->View());
    ASSERT_TRUE(panel.has_value());
    EXPECT_EQ(selected.pixel(panel->Pixel(chosen.x, chosen.y)),
              kAttractorPalette[static_cast<std::size_t>(chosen.id - 1) % 18]);

    dock->Table()->clearSelection();
    ASSERT_TRUE(WaitForRequestedRepaint());
    EXPECT_TRUE(test::Same(CanvasArgb(), today));

    emit dock->Table()->doubleClicked(table->index(chosen.id - 1, 2));
    WaitForProbe();
    EXPECT_TRUE(wnd->Probe()->rows.front().x == chosen.x && wnd->Probe()->rows.front().y == chosen.y);
    EXPECT_EQ(wnd->Probe()->summary.period, chosen.period);

    // The fitted display: a new picture clears the selection; selected
    // again, each basin pixel is as it was or dimmed, the chosen
    // attractor's pixels bright.
    Trigger(kCmdFitWindow);
    EXPECT_EQ(wnd->Attractors().Selected(), std::nullopt);
    const QImage fitted = CanvasArgb();
    selectChosen();
    ASSERT_EQ(wnd->Attractors().Selected(), chosen.id);
    ASSERT_TRUE(WaitForRequestedRepaint());
    const QImage fittedSelected = CanvasArgb();
    const PixelRect area = FittedLayoutOf(wnd->View()).basinArea;
    int bright = 0, dimmed = 0;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int x = area.left; x < area.left + area.width; ++x) {
            const QRgb was = fitted.pixel(x, y), now = fittedSelected.pixel(x, y);
            if (was == kBackground) continue;
            ASSERT_TRUE(now == was || now == Dimmed(was, kBackground)) << x << "," << y;
            ++(now == was ? bright : dimmed);
        }
    }
    EXPECT_GT(bright, 0);
    EXPECT_GT(dimmed, bright);

    dock->close();
    EXPECT_FALSE(wnd->Action(kCmdAttractorDock)->isChecked());
    EXPECT_EQ(wnd->Model().analysis.size(), 0u);
    EXPECT_EQ(table->rowCount(), 0);
}

#include <QAbstractItemModelTester>
#include <QDockWidget>
#include <QTableView>

#include "app/probe_dlg.h"
#include "app/probe_dock.h"
#include "main_wnd_fixture.h"
#include "model/classify.h"
#include "model/grid.h"
#include "view/orbit_overlay.h"
#include "view/panel_geometry.h"
#include "view/readout.h"

using namespace orbitograph;

namespace {

// The grid point under a canvas pixel of the basin panel.
State GridPointAt(const ViewState& v, QPoint at) {
    const PixelPlace place = LocatePixel(v, at.x(), at.y());
    const ModelParams p = v.Params();
    return {GridSide(p.x1, p.x2, p.step).At(static_cast<std::size_t>(place.columns.begin)),
            GridSide(p.y1, p.y2, p.step).At(static_cast<std::size_t>(place.rows.begin))};
}

}  // namespace

class ProbeWindowTest : public test::MainWindowTest {};

// A click in the basin panel probes the grid point under it without
// zooming; the orbit is drawn in its own colour where the attractor list
// places points and nowhere else; Esc takes it away again.
TEST_F(ProbeWindowTest, ClickDrawsTheOrbitWhereTheListsPlacePointsAndEscRemovesIt) {
    Compute();
    const ViewState& view = wnd->View();
    // A basin pixel whose orbit ends inside the square.
    QPoint at;
    for (int x = Client().width() / 2 + 21; x < Client().width() && at.isNull(); x += 7) {
        const QPoint candidate(x, Client().height() / 2 + 30);
        if (LocatePixel(view, candidate.x(), candidate.y()).panel != PanelKind::Basins) continue;
        const State e = IterateOrbit(MapParams::From(view.Params()), GridPointAt(view, candidate));
        if (Classify(e.x, e.y) != EndKind::Infinity) at = candidate;
    }
    ASSERT_FALSE(at.isNull());
    const int runs = engineRuns;
    QTest::mouseClick(wnd->CanvasArea(), Qt::LeftButton, {}, at);
    WaitForProbe();
    EXPECT_EQ(engineRuns, runs);
    const ProbeResult& probe = *wnd->Probe();
    const State start = GridPointAt(view, at);
    EXPECT_TRUE(probe.rows.front().x == start.x && probe.rows.front().y == start.y);
    EXPECT_TRUE(wnd->ProbeDockWidget()->isVisible());

    // The end mark lies on the attractor this start point adds to the list.
    const FractalModel& m = wnd->Model();
    const double h = view.Params().step;
    const QPoint end(static_cast<int>(probe.summary.end.x / h + view.m_listsOriginX),
                     static_cast<int>(view.m_listsOriginY - probe.summary.end.y / h));
    EXPECT_NE(std::find(m.attractors.begin(), m.attractors.end(), Point{end.x(), end.y()}), m.attractors.end());
    const QImage canvas = test::Argb(wnd->Canvas());
    const QImage plain = test::Argb(ExpectedFrame(m));
    EXPECT_EQ(canvas.pixel(end.x() + AttractorShift(h), end.y()), kOrbitColour);
    const std::optional<AttractorPanelMap> map = AttractorPanelOf(view);
    ASSERT_TRUE(map.has_value());
    const QRect panel(map->panel.left, map->panel.top, map->panel.width, map->panel.height);
    int changed = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) == plain.pixel(x, y)) continue;
            ++changed;
            ASSERT_EQ(canvas.pixel(x, y), kOrbitColour) << x << "," << y;
            ASSERT_TRUE(panel.contains(x, y)) << x << "," << y;
        }
    }
    EXPECT_GT(changed, 9);

    QTest::keyClick(wnd.get(), Qt::Key_Escape);
    EXPECT_FALSE(wnd->Probe().has_value());
    ASSERT_TRUE(WaitForRequestedRepaint());
    EXPECT_TRUE(ShowsItsModel());
    EXPECT_FALSE(wnd->ProbeDockWidget()->isVisible());

    // The dialog's start point is probed, and the next computation removes the orbit.
    Answer<CProbeDlg>(&CMainWnd::OnProbe, true, [](CProbeDlg& d) { d.EditX0()->setText("0.3"); });
    WaitForProbe();
    EXPECT_EQ(wnd->Probe()->rows.front().x, 0.3);
    Compute({{"a", "0.7"}});
    EXPECT_FALSE(wnd->Probe().has_value());
    EXPECT_TRUE(ShowsItsModel());
}

// The dialog reads its fields as the parameters dialog does.
TEST(ProbeDialog, ReadsTheStartPoint) {
    const std::tuple<const char*, const char*, std::optional<State>> rows[] = {
        {" 0.25xyz", "-1e-3", State{0.25, -1e-3}}, {"0", "1e999", std::nullopt}};
    for (const auto& [x0, y0, read] : rows) {
        test::Shown<CProbeDlg> d;
        d.dlg.EditX0()->setText(x0);
        d.dlg.EditY0()->setText(y0);
        EXPECT_EQ(d.dlg.Confirm(), read.has_value()) << x0 << " " << y0;
        EXPECT_EQ(d.warnings.size(), read ? 0 : 1);
        if (read) {
            EXPECT_TRUE(d.dlg.m_x0 == read->x && d.dlg.m_y0 == read->y) << x0 << " " << y0;
        }
    }
}

// The table stays a consistent model through every kind of orbit, as Qt's
// model tester checks it (a violation ends the test at once); a long orbit's
// gap row stands where its gap is, every other row shows its own step.
TEST(ProbeTableModelTest, ConsistentForEveryOrbitAndTheGapRowInItsPlace) {
    const auto orbit = [](std::vector<std::int64_t> steps, std::size_t gapAt, std::int64_t omitted) {
        ProbeResult r{{}, gapAt, omitted, {}};
        for (const std::int64_t k : steps) r.rows.push_back({k, 0.5 * k, -0.25, 0.1, 0.2, 0.5, -0.8, k == 9});
        return r;
    };
    const ProbeResult orbits[] = {
        orbit({0, 1, 2, 3}, 0, 0), orbit({0, 1, 2, 7, 8, 9}, 3, 4), orbit({0, 1}, 2, 100), {}};
    ProbeTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const ProbeResult& o : orbits) {
        model.SetOrbit(&o);
        ASSERT_EQ(model.rowCount(), static_cast<int>(o.rows.size()) + (o.omitted > 0 ? 1 : 0));
        const int gap = o.omitted > 0 ? static_cast<int>(o.gapAt) : model.rowCount();
        for (int row = 0; row < model.rowCount(); ++row) {
            const QString step = row == gap ? QStringLiteral("…") : QString::number(o.rows[row - (row > gap)].step);
            EXPECT_EQ(model.index(row, 0).data().toString(), step) << row;
        }
        const QString gapText = QStringLiteral("пропущено шагов: %1").arg(o.omitted);
        EXPECT_EQ(model.index(gap, 1).data().toString(), o.omitted > 0 ? gapText : QString());
    }
    // Numbers in their shortest exact form, the sign of a component shown.
    model.SetOrbit(&orbits[0]);
    EXPECT_EQ(model.index(1, 6).data().toString() + " " + model.index(1, 5).data().toString(), "-0.8 +0.5");
    model.SetOrbit(nullptr);
    EXPECT_EQ(model.rowCount(), 0);

    // The dock's step column is wide enough for the last step, beyond the rows in view.
    ProbeDock dock(nullptr);
    std::vector<std::int64_t> steps(2000);
    for (std::size_t k = 0; k < steps.size(); ++k) steps[k] = static_cast<std::int64_t>(k);
    steps.back() = 1234567890123;
    dock.ShowOrbit(orbit(steps, 1999, 1234567890123 - 1999), 0.5, -0.25);
    auto* table = dock.findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    EXPECT_GT(table->columnWidth(0), table->fontMetrics().horizontalAdvance("1234567890123"));
}

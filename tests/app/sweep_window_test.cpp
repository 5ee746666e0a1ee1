#include <QComboBox>

#include "app/sweep_session.h"
#include "main_wnd_fixture.h"
#include "view/sweep_chart.h"

namespace orbitograph::test {

namespace {

// The first axis of the sweep dialog set so; `more` edits the rest.
std::function<void(CSweepDlg&)> Axis(int param, const char* from, const char* to, const char* count,
                                     std::function<void(CSweepDlg&)> more = {}) {
    return [=](CSweepDlg& d) {
        d.Param(1)->setCurrentIndex(param);
        d.From(1)->setText(from);
        d.To(1)->setText(to);
        d.Count(1)->setText(count);
        if (more) more(d);
    };
}

}  // namespace

// Each row breaks one rule of the ranges; the refusal names its field.
TEST(SweepDialog, RangeRefusals) {
    struct Row {
        std::function<void(SweepRanges&)> edit;
        bool plane;
        int field;  // -1: accepted
    };
    const Row rows[] = {
        {[](SweepRanges&) {}, true, -1},
        {[](SweepRanges& r) { r.m_axes[0].m_count = 0; }, false, 3},
        {[](SweepRanges& r) { r.m_axes[1].m_count = kMaxWindowSweepValues + 1; }, true, 7},
        {[](SweepRanges& r) { r.m_axes[0].m_count = 1; }, false, 2},
        {[](SweepRanges& r) { r.m_axes[0].m_count = 1, r.m_axes[0].m_to = r.m_axes[0].m_from; }, false, -1},
        {[](SweepRanges& r) { r.m_axes[1].m_param = r.m_axes[0].m_param; }, true, 4},
        {[](SweepRanges& r) { r.m_axes[1].m_param = r.m_axes[0].m_param; }, false, -1},
        {[](SweepRanges& r) { r.m_axes[0].m_count = r.m_axes[1].m_count = 1000; }, true, 7},
        {[](SweepRanges& r) { r.m_axes[0].m_param = 3, r.m_axes[0].m_to = 3e9; }, false, 2},
        {[](SweepRanges& r) { r.m_axes[0].m_from = -1e308, r.m_axes[0].m_to = 1e308; }, false, 2},
        {[](SweepRanges& r) { r.m_axes[0].m_param = 3, r.m_axes[0].m_from = -3e9; }, false, 1},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SweepRanges r;
        rows[i].edit(r);
        const auto refusal = CheckSweepRanges(r, rows[i].plane, ModelParams{});
        EXPECT_EQ(refusal ? refusal->field : -1, rows[i].field) << "row " << i;
    }
}

// A sweep and a plane through the real window: the dialog's fields reach
// the computation, the result window shows the chart (or plane) of exactly
// the counts of those values, and a click computes the main picture for
// the value (or pair) under it. A cancelled sweep shows nothing.
TEST_F(MainWindowTest, SweepAndPlaneWindowsPickTheirValues) {
    Compute({{"step", "0.05"}});
    const ModelParams base = wnd->Model().Params();
    Answer<CSweepDlg>(&CMainWnd::OnSweep, true, Axis(2, "0.2", "1", "5"));  // Kc
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd->Sweeps().LastWindow() != nullptr; }, 30000));
    const std::vector<double> kcs = SweepValues(0.2, 1.0, 5, SweepParam::Kc);
    CSweepWnd* chart = wnd->Sweeps().LastWindow();
    EXPECT_EQ(chart->Picture(), DrawSweepChart(SweepParam::Kc, kcs, *ComputeSweep(base, SweepParam::Kc, kcs)));
    const QRect plot = ChartPlotRect(chart->Picture().size());
    chart->ClickAt(QPoint(plot.left() + plot.width() * 3 / 4, plot.center().y()));
    WaitForResult();
    EXPECT_EQ(wnd->Model().Params(), WithValue(base, SweepParam::Kc, kcs[3]));

    Answer<CSweepDlg>(&CMainWnd::OnPlane, true,
                      Axis(0, "0.3", "1.3", "3", [](CSweepDlg& d) { d.Count(2)->setText("2"); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd->Sweeps().LastWindow() != chart; }, 30000));
    CSweepWnd* plane = wnd->Sweeps().LastWindow();
    const auto cell = PlaneLayoutFor(3, 2, 16).cells;  // 512 / 3 gives the largest scale, 16
    ASSERT_EQ(plane->Picture().size(), PlaneLayoutFor(3, 2, 16).size);
    plane->ClickAt(cell.topRight());  // the last A, the last Dc
    WaitForResult();
    const ModelParams now = wnd->Model().Params();
    EXPECT_EQ(now.a, 1.3);
    EXPECT_EQ(now.dc, 1.0);

    // Orbits that stay bounded for a million steps and more: minutes of work.
    Compute({{"a", "0.3"}, {"step", "0.01"}});
    Answer<CSweepDlg>(&CMainWnd::OnSweep, true, Axis(3, "1000000", "2000000", "10000"));
    ASSERT_TRUE(wnd->Sweeps().Running());
    wnd->Sweeps().Progress()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wnd->Sweeps().Running(); }, 30000));
    EXPECT_EQ(wnd->Sweeps().LastWindow(), plane);
    EXPECT_EQ(wnd->Sweeps().Progress(), nullptr);
    EXPECT_TRUE(errors.isEmpty());
}

// "Доли аттракторов" through the real window: the chart is that of the
// tracks of exactly the dialog's values, a click still picks the value, and
// a grid too fine for the analysis is refused on the mode's field.
TEST_F(MainWindowTest, SweepChartOfAttractorShares) {
    Compute({{"step", "0.05"}, {"kc", "0.2"}, {"iterations", "100"}}, {"dcInward", "kcInward"});
    ModelParams base = wnd->Model().Params();
    ASSERT_EQ(base.dcOutward + base.kcOutward, 0);
    Answer<CSweepDlg>(&CMainWnd::OnSweep, true, Axis(0, "0", "0.1", "5", [](CSweepDlg& d) {
        test::Named<QComboBox>(d, "chart")->setCurrentIndex(1);
    }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd->Sweeps().LastWindow() != nullptr; }, 30000));
    const std::vector<double> as = SweepValues(0.0, 0.1, 5, SweepParam::A);
    const std::optional<SweepResult> expected = SweepTracks(base, SweepParam::A, as, {});
    ASSERT_TRUE(expected);
    ASSERT_EQ(expected->tracks.back().track, 3);
    CSweepWnd* chart = wnd->Sweeps().LastWindow();
    EXPECT_EQ(chart->Picture(), DrawShareChart(SweepParam::A, as, expected->tracks));
    const QRect plot = ChartPlotRect(chart->Picture().size());
    chart->ClickAt(QPoint(plot.right(), plot.center().y()));
    WaitForResult();
    EXPECT_EQ(wnd->Model().Params(), WithValue(base, SweepParam::A, 0.1));
    EXPECT_TRUE(errors.isEmpty());

    SweepRanges fine;
    fine.m_chart = 1;
    base.step = 0.0005;
    EXPECT_EQ(CheckSweepRanges(fine, false, base)->field, 8);
    EXPECT_FALSE(CheckSweepRanges(fine, true, base));
}

}  // namespace orbitograph::test

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/help_window.h"
#include "app/sweep_session.h"
#include "main_wnd_fixture.h"
#include "view/sweep_chart.h"

namespace orbitograph::test {

// "Доли аттракторов" through the real window: the chart is that of the
// tracks of exactly the dialog's values, a click still picks the value, and
// a grid too fine for the analysis is refused on the mode's field.
TEST_F(MainWindowTest, SweepChartOfAttractorShares) {
    Compute([](CModelParamsDlg& d) {
        test::Named(d, "step")->setText("0.05");
        test::Named(d, "kc")->setText("0.2");
        test::Named(d, "iterations")->setText("100");
        test::Named<QRadioButton>(d, "dcInward")->setChecked(true);
        test::Named<QRadioButton>(d, "kcInward")->setChecked(true);
    });
    ModelParams base = wnd->Model().Params();
    ASSERT_EQ(base.dcOutward + base.kcOutward, 0);
    Answer<CSweepDlg>(&CMainWnd::OnSweep, true, [](CSweepDlg& d) {
        d.Param(1)->setCurrentIndex(0);
        d.From(1)->setText("0");
        d.To(1)->setText("0.1");
        d.Count(1)->setText("5");
        test::Named<QComboBox>(d, "chart")->setCurrentIndex(1);
    });
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

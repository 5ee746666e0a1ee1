// Live parameters: the dock beside the parameters dialog, refusals,
// superseded computations and the history of a drag.
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>

#include "app/exact_spin_box.h"
#include "app/live_params_dock.h"
#include "main_wnd_fixture.h"

using namespace orbitograph;
using namespace orbitograph::test;

class LiveParamsTest : public MainWindowTest {
protected:
    LiveParamsDock* dock = nullptr;

    void OpenDock() {
        const int paints = wnd->PaintCount();
        wnd->Action(kCmdLiveParams)->trigger();
        dock = wnd->LiveDock();
        ASSERT_NE(dock, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dock->isVisible() && wnd->PaintCount() > paints; }));
        ASSERT_TRUE(WaitForRequestedRepaint());
    }
    void Type(ExactSpinBox* spin, const QString& text) {
        spin->findChild<QLineEdit*>()->setText(text);
        emit spin->editingFinished();
    }
};

// Refused values turn their field red, say why and compute nothing; the
// corrected value computes. A drag computes every value it passes, ends on
// the last, and leaves one history entry; F7 then opens with the dock's
// values and its own changes reach the dock.
TEST_F(LiveParamsTest, TheDockAndTheDialogStayInStepAndADragIsOneHistoryEntry) {
    OpenDock();
    const struct {
        ParamField field;
        const char* text;
    } rows[] = {
        {ParamField::A, "abc"}, {ParamField::Kc, "1e999"}, {ParamField::Step, "1e-12"}, {ParamField::Step, "0.0001"}};
    const int runs = engineRuns;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ExactSpinBox* spin = dock->Spin(row.field);
        Type(spin, row.text);
        EXPECT_TRUE(spin->property("refused").toBool());
        EXPECT_FALSE(dock->Status().isEmpty());
        EXPECT_FALSE(wnd->Computing());
        Type(spin, spin == dock->Spin(ParamField::Step) ? "0.01" : "0.8");
        EXPECT_FALSE(spin->property("refused").toBool());
        WaitForResult();
    }
    EXPECT_EQ(engineRuns, runs + 4);
    Compute();
    const std::size_t entries = wnd->History().Size();
    QSlider* a = dock->Slider(ParamField::A);
    a->setSliderDown(true);
    for (int position : {300, 450, 600, 750, 900}) a->setValue(position);
    a->setSliderDown(false);
    WaitForResult();
    EXPECT_EQ(dock->Spin(ParamField::A)->text(), "0.9");
    ModelParams expected{.a = 0.9};
    ExpectSameLists(wnd->Model(), Reference(expected));
    EXPECT_TRUE(ShowsItsModel());
    EXPECT_EQ(wnd->History().Size(), entries + 1);

    dock->Direction(ParamField::KcOutward, 1)->click();
    dock->IterationsBox()->setValue(12);
    Type(dock->Spin(ParamField::Step), "0.02");
    WaitForResult();
    expected.kcOutward = 1;
    expected.iterations = 12;
    expected.step = 0.02;
    EXPECT_EQ(wnd->View().Params(), expected);

    QStringList shown;
    Answer<CModelParamsDlg>(&CMainWnd::OnFractalParameters, true, [&](CModelParamsDlg& d) {
        for (const char* field : {"a", "iterations", "step"}) shown << test::Named(d, field)->text();
        shown << (test::Named<QRadioButton>(d, "kcOutward")->isChecked() ? "out" : "in");
        Fill(d, {{"a", "0.6125"}}, {"dcInward"});
    });
    EXPECT_EQ(shown.join(' '), "0.9 12 0.02 out");
    WaitForResult();
    EXPECT_EQ(dock->Spin(ParamField::A)->text(), "0.6125");
    EXPECT_EQ(a->value(), 613);
    EXPECT_TRUE(dock->Direction(ParamField::DcOutward, 0)->isChecked());

    // While a slow live computation runs, its progress shows in the status
    // bar, not in a dialog; the next change supersedes it and the picture
    // ends on it.
    wnd->Action(kCmdStatusBar)->trigger();
    ASSERT_TRUE(WaitForRequestedRepaint());
    wnd->SetProgressDelay(10);
    blockEngine = true;
    const int before = engineRuns;
    a->setValue(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd->StatusProgress() && wnd->StatusProgress()->isVisible(); }));
    EXPECT_EQ(wnd->Progress(), nullptr);
    a->setValue(500);
    blockEngine = false;
    a->setValue(700);
    WaitForResult();
    EXPECT_EQ(engineRuns, before + 2);  // 0.5 never ran
    EXPECT_FALSE(wnd->StatusProgress()->isVisible());
    EXPECT_EQ(wnd->View().Params().a, 0.7);
    ExpectSameLists(wnd->Model(), Reference(wnd->View().Params()));
}

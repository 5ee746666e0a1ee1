// Live parameters: superseded computations, the dock beside the parameters
// dialog, refusals, and the history of a drag.
#include <QProgressBar>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <mutex>

#include "app/command_ids.h"
#include "app/exact_spin_box.h"
#include "app/help_window.h"
#include "app/live_params_dock.h"
#include "main_wnd_fixture.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// An engine whose runs wait, until cancelled, for a run of their A to be let
// through; a run of A < 0 waits without looking at the cancel flag. A run
// let through gives one attractor at (iterations, 0).
struct GatedEngine {
    std::mutex mutex;
    std::vector<double> started;
    std::atomic<int> running{0};
    std::atomic<double> letThrough{std::numeric_limits<double>::quiet_NaN()};

    SpacesEngine Engine() {
        return [this](const ModelParams& p, std::int32_t, std::int32_t, const ComputeControl& c) {
            {
                std::lock_guard lock(mutex);
                started.push_back(p.a);
            }
            ++running;
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (letThrough.load() != std::fabs(p.a) && (p.a < 0 || !c.cancel->load()) &&
                   std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(1ms);
            --running;
            SpaceLists lists;
            lists.attractors.push_back({p.iterations, 0});
            return std::optional<SpaceLists>(std::move(lists));
        };
    }
    std::vector<double> Started() {
        std::lock_guard lock(mutex);
        return started;
    }
};

}  // namespace

// Each row requests A values in turn while the first still runs, then lets
// the newest through (or cancels): only the newest request is answered, with
// its own lists; the requests in between never start; a waiting request
// without a thread is answered, not lost.
TEST(Supersede, OnlyTheNewestRequestIsAnsweredAndWaitingOnesNeverRun) {
    enum class End { Done, Cancelled, NotStarted };
    struct Row {
        const char* name;
        std::vector<double> requests;  // A of each; negative ignores the cancel flag
        int threads;                   // threads that can be made
        End end;
        std::vector<double> expectStarted;
    };
    const Row rows[] = {
        {"three quick changes", {0.3, 0.5, 0.9}, 9, End::Done, {0.3, 0.9}},
        {"a run that finishes although cancelled", {-0.3, 0.4}, 9, End::Done, {-0.3, 0.4}},
        {"cancel drops the waiting one", {0.3, 0.5, 0.7}, 9, End::Cancelled, {0.3}},
        {"no thread for the waiting one", {0.3, 0.5}, 1, End::NotStarted, {0.3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GatedEngine gate;
        int threads = row.threads;
        BackgroundComputation computation(gate.Engine(), [&threads](std::function<void()> body) {
            if (threads-- <= 0)
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            return std::jthread(std::move(body));
        });
        std::vector<ComputationOutcome> answered;
        for (std::size_t i = 0; i < row.requests.size(); ++i) {
            const auto n = static_cast<std::int32_t>(i + 1);
            EXPECT_EQ(computation.Request({.a = row.requests[i], .iterations = n}, 0, 0,
                                          [&](ComputationOutcome&& o) { answered.push_back(std::move(o)); }),
                      i + 1);
            if (i == 0) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return gate.running > 0; }, 5000));
            }
        }
        if (row.requests[0] < 0) {  // the stale run returns lists, then the newest starts
            gate.letThrough = 0.3;
            ASSERT_TRUE(QTest::qWaitFor([&] { return gate.Started().size() == 2; }, 5000));
        }
        if (row.end == End::Cancelled)
            computation.Cancel();
        else if (row.end == End::NotStarted)
            gate.letThrough = 0.3;
        else
            gate.letThrough = std::fabs(row.requests.back());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !answered.empty() && !computation.Running(); }, 5000));
        // Every worker has been joined, so anything still to arrive is
        // already in the event queue.
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(answered.size(), 1u);
        const ComputationOutcome& last = answered[0];
        EXPECT_EQ(last.generation, row.requests.size());
        EXPECT_EQ(gate.Started(), row.expectStarted);
        EXPECT_EQ(last.notStarted, row.end == End::NotStarted);
        if (row.end != End::Done) {
            EXPECT_EQ(last.status, ComputeStatus::Cancelled);
            EXPECT_TRUE(last.lists.attractors.empty());
        } else {
            ASSERT_EQ(last.status, ComputeStatus::Done);
            ASSERT_EQ(last.lists.attractors.size(), 1u);
            EXPECT_EQ(last.lists.attractors[0].x, static_cast<std::int32_t>(row.requests.size()));
            EXPECT_EQ(last.params.a, row.requests.back());
        }
    }
}

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

// A drag computes every value it passes, ends on the last, and leaves one
// history entry; F7 then opens with the dock's values and its own changes
// reach the dock.
TEST_F(LiveParamsTest, TheDockAndTheDialogStayInStepAndADragIsOneHistoryEntry) {
    OpenDock();
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
        test::Named(d, "a")->setText("0.6125");
        test::Named<QRadioButton>(d, "dcInward")->setChecked(true);
    });
    EXPECT_EQ(shown.join(' '), "0.9 12 0.02 out");
    WaitForResult();
    EXPECT_EQ(dock->Spin(ParamField::A)->text(), "0.6125");
    EXPECT_EQ(a->value(), 613);
    EXPECT_TRUE(dock->Direction(ParamField::DcOutward, 0)->isChecked());
}

// Refused values turn their field red, say why and compute nothing; the
// corrected value computes.
TEST_F(LiveParamsTest, ARefusedValueComputesNothing) {
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
}

// While a slow live computation runs, its progress shows in the status bar,
// not in a dialog; the next change supersedes it and the picture ends on it.
TEST_F(LiveParamsTest, ASlowLiveComputationShowsProgressInTheStatusBarAndIsSuperseded) {
    wnd->Action(kCmdStatusBar)->trigger();
    OpenDock();
    wnd->SetProgressDelay(10);
    blockEngine = true;
    const int runs = engineRuns;
    dock->Slider(ParamField::A)->setValue(300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wnd->StatusProgress() && wnd->StatusProgress()->isVisible(); }));
    EXPECT_EQ(wnd->Progress(), nullptr);
    dock->Slider(ParamField::A)->setValue(500);
    blockEngine = false;
    dock->Slider(ParamField::A)->setValue(700);
    WaitForResult();
    EXPECT_EQ(engineRuns, runs + 2);  // 0.5 never ran
    EXPECT_FALSE(wnd->StatusProgress()->isVisible());
    ExpectSameLists(wnd->Model(), Reference({.a = 0.7}));
}

// Previews in the fitted display and the export in the background, through
// the real window.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QWheelEvent>
#include <optional>
#include <vector>

#include "app/canvas_widget.h"
#include "app/command_ids.h"
#include "app/computation_controller.h"
#include "app/help_window.h"
#include "app/picture_data_commands.h"
#include "main_wnd_fixture.h"
#include "view/readout.h"
#include "view/zoom.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// What the window showed and allowed when a preview came.
struct Seen {
    int level;
    ModelParams params;
    bool marked;
    bool saveEnabled;
    bool savedCanvasKept;  // the canvas a save writes is still the exact one
    bool noReadout;
};

}  // namespace

// A computation in the fitted display shows the same rectangle on ever
// finer grids, one level at a time, then the exact picture, whose lists and
// report are those of a direct computation; while a preview shows, it is
// marked, nothing can be saved or exported, the canvas a save would write is
// the last exact one and the readout is silent. The classic display never
// shows one. A newer request drops the refinement in flight: no preview of
// the older one is shown after it.
TEST_F(MainWindowTest, TheFittedDisplayRefinesFromCoarseGridsToTheExactOne) {
    wnd->Action(kCmdStatusBar)->trigger();
    ASSERT_TRUE(WaitForRequestedRepaint());  // the origin the computations take
    ComputationController& computation = wnd->Computation();
    computation.SetPreviewBudget(0.0);  // every level that keeps 16 points a side
    std::vector<Seen> seen;
    QImage exact;
    computation.listeners.previewed = [&](const ComputationOutcome* o) {
        if (!o) return;
        const auto* mark = wnd->findChild<QLabel*>("previewMark");
        seen.push_back({o->coarseLevel, o->params, mark && mark->isVisible(),
                        wnd->Action(kCmdSavePicture)->isEnabled() || wnd->Action(kCmdExportData)->isEnabled(),
                        Same(wnd->Canvas(), exact),
                        computation.Preview() && wnd->statusBar()->currentMessage().isEmpty()});
    };
    for (const bool fitted : {false, true}) {
        SCOPED_TRACE(fitted ? "fitted" : "classic");
        if (fitted) {
            FitTheWindow();
            WaitForResult();
        }
        exact = wnd->Canvas();
        seen.clear();
        const ModelParams p{.a = fitted ? 0.75 : 0.7, .step = 0.02};
        Compute([&p](CModelParamsDlg& d) {
            test::Named(d, "a")->setText(QString::number(p.a));
            test::Named(d, "step")->setText("0.02");
        });
        ASSERT_EQ(seen.empty(), !fitted);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].level, static_cast<int>(seen.size() - i));
            EXPECT_EQ(seen[i].params, CoarseParams(p, seen[i].level));
            EXPECT_TRUE(seen[i].marked && !seen[i].saveEnabled && seen[i].savedCanvasKept && seen[i].noReadout);
        }
        EXPECT_EQ(computation.Preview(), nullptr);
        EXPECT_FALSE(wnd->findChild<QLabel*>("previewMark") && wnd->findChild<QLabel*>("previewMark")->isVisible());
        ExpectSameLists(wnd->Model(), Reference(p));
        EXPECT_TRUE(ShowsItsModel());
    }
    ASSERT_GE(seen.size(), 2u);  // 201 points a side: levels 3, 2, 1

    seen.clear();
    const ModelParams older{.a = 0.6, .step = 0.02}, newer{.a = 0.65, .step = 0.02};
    computation.Start(older, ComputationController::HistoryStep::None, true);
    computation.Start(newer, ComputationController::HistoryStep::None, true);
    WaitForResult();
    ASSERT_FALSE(seen.empty());
    for (const Seen& s : seen) EXPECT_EQ(s.params.a, newer.a);
    ExpectSameLists(wnd->Model(), Reference(newer));

    // A wheel step over a preview zooms the rectangle it shows, at the
    // requested step, and supersedes the refinement.
    std::optional<ModelParams> zoomed;
    computation.listeners.previewed = [&](const ComputationOutcome* o) {
        auto* canvas = wnd->findChild<CanvasWidget*>();
        if (!o || zoomed || !canvas) return;
        const QPoint at(canvas->width() * 3 / 4, canvas->height() / 2);
        const PixelPlace place = LocatePixel(computation.Preview()->view, at.x(), at.y());
        zoomed = ZoomTo(older, ScaledBox(older, place.x, place.y, 2.0), true).params;
        QWheelEvent wheel(at, canvas->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(canvas, &wheel);
    };
    computation.Start(older, ComputationController::HistoryStep::None, true);
    WaitForResult();
    ASSERT_TRUE(zoomed.has_value());
    EXPECT_EQ(wnd->View().Params(), *zoomed);
    ExpectSameLists(wnd->Model(), Reference(*zoomed));
}

// The archive is written in the background: the window repaints meanwhile,
// a second export is refused, and a cancel, while the grid is computed or
// once it is written, leaves no file and no error.
TEST_F(MainWindowTest, ExportsInTheBackgroundAndACancelLeavesNoFile) {
    Compute([](CModelParamsDlg& d) { test::Named(d, "step")->setText("0.05"); });
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("g.npz");
    wnd->Hooks().chooseExportName = [&](QWidget*) { return path; };
    PictureDataCommands& data = wnd->PictureData();

    blockEngine = true;  // the grid's computation waits for the cancel
    wnd->OnExportData();
    ASSERT_TRUE(data.Exporting());
    ASSERT_NE(data.ExportProgress(), nullptr);
    EXPECT_TRUE(ResizeAndWait(900, 700));
    wnd->OnExportData();
    EXPECT_FALSE(wnd->LastRefusal().isEmpty());
    data.ExportProgress()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !data.Exporting(); }, 20000));
    EXPECT_FALSE(QFile::exists(path));
    blockEngine = false;

    wnd->OnExportData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !data.Exporting(); }, 20000));
    QFile npz(path);
    ASSERT_TRUE(npz.open(QIODevice::ReadOnly));
    EXPECT_TRUE(npz.read(4) == QByteArray("PK\x03\x04", 4));
    EXPECT_TRUE(errors.isEmpty());
}

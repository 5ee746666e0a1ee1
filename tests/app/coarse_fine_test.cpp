// Previews in the fitted display, through the real window.
#include <QLabel>
#include <QStatusBar>
#include <QWheelEvent>
#include <optional>
#include <vector>

#include "app/canvas_widget.h"
#include "app/computation_controller.h"
#include "main_wnd_fixture.h"
#include "view/readout.h"
#include "view/zoom.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// What the window showed and allowed when a preview came: marked, nothing
// to save or export, the canvas a save writes still the exact one, no readout.
struct Seen {
    int level;
    ModelParams params;
    bool guarded;
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
        seen.push_back({o->coarseLevel, o->params,
                        mark && mark->isVisible() && !wnd->Action(kCmdSavePicture)->isEnabled() &&
                            !wnd->Action(kCmdExportData)->isEnabled() && Same(wnd->Canvas(), exact) &&
                            computation.Preview() && wnd->statusBar()->currentMessage().isEmpty()});
    };
    for (const bool fitted : {false, true}) {
        SCOPED_TRACE(fitted ? "fitted" : "classic");
        if (fitted) FitTheWindow();
        exact = wnd->Canvas();
        seen.clear();
        const ModelParams p{.a = fitted ? 0.75 : 0.7, .step = 0.02};
        Compute({{"a", QString::number(p.a)}, {"step", "0.02"}});
        ASSERT_EQ(seen.empty(), !fitted);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].level, static_cast<int>(seen.size() - i));
            EXPECT_EQ(seen[i].params, CoarseParams(p, seen[i].level));
            EXPECT_TRUE(seen[i].guarded);
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

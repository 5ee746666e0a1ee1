#pragma once

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/interaction_hooks.h"
#include "app/job_runner.h"
#include "app/spaces_job.h"
#include "model/fractal_model.h"
#include "model/probe.h"
#include "view/end_counts.h"
#include "view/view_state.h"
#include "view/zoom.h"

class QAction;
class QMouseEvent;
class QProgressBar;
class QProgressDialog;
class QRubberBand;

namespace orbitograph {

class CanvasWidget;
class LiveParamsDock;
class HelpViewer;
class ProbeDock;
struct SaveResult;

// Why a file could not be written, in Russian for the common causes and in
// the system's own words otherwise.
QString SaveFailureReason(const SaveResult& r);
class SweepSession;

// The program's one main window: the menu and its key shortcuts, the model,
// the view state, the canvas of the last repaint and the legend picture.
// Every command that changes what is shown ends by requesting a repaint;
// drawing happens only in OnPaint. A computation runs on a worker thread;
// while it runs only Help, About and Exit can be chosen (Exit cancels it)
// and a change in the dock "Параметры модели" supersedes it; the view state
// and the model change only when a result is put in place.
class CMainWnd : public QMainWindow {
public:
    // help outlives the window. engine defaults to ComputeSpaces, startThread
    // to std::jthread's constructor.
    explicit CMainWnd(HelpViewer& help, SpacesEngine engine = {}, ThreadStarter startThread = {});
    ~CMainWnd() override;

    void OnFractalParameters();
    void OnSavePicture();
    void OnProgramSettings();
    void OnShowAttractors();
    void OnShowBasins();
    void OnLegend();
    void OnAbout();
    void OnHelpInstructions();
    void OnExit();

    // The pop-up "Исследование" (explore_commands.cpp).
    void OnFitWindow();
    void OnBack();
    void OnForward();
    void OnHomeArea();
    void OnStatusBar();
    // "Развёртка по параметру..." and "Плоскость параметров..." (sweep_commands.cpp).
    void OnSweep();
    void OnPlane();
    SweepSession& Sweeps() const { return *m_sweep; }
    // The dock "Параметры модели" shown or hidden (live_commands.cpp).
    void OnLiveParams();
    LiveParamsDock* LiveDock() const { return m_liveDock; }
    // The status bar's progress bar of a long live computation, while shown.
    QProgressBar* StatusProgress() const { return m_statusProgress; }
    // picture_data_commands.cpp
    void OnOpenParamsFromPicture();
    void OnExportData();
    // A rubber band from one canvas pixel to another, and wheel notches at a
    // pixel, as the mouse gives them.
    void ZoomToBand(QPoint from, QPoint to);
    void ZoomAtWheel(QPoint at, int notches);
    // The readout of a canvas pixel, as the status bar shows it.
    QString ReadoutAt(QPoint at) const;
    // The last refusal of a zoom or a history step.
    const QString& LastRefusal() const { return m_lastRefusal; }
    const ParamHistory& History() const { return m_history; }
    // The probe of one orbit (probe_commands.cpp): "Траектория...",
    // "Убрать траекторию" (and Esc), a click at a canvas pixel of the basin
    // panel, and a start point probed with the parameters in place (on a
    // worker thread; the orbit is shown when it is done).
    void OnProbe();
    void OnClearProbe();
    void ProbeAtPixel(QPoint at);
    void ProbeStart(double x0, double y0);
    const std::optional<ProbeResult>& Probe() const { return m_probe; }
    ProbeDock* ProbeDockWidget() const { return m_probeDock; }

    UiHooks& Hooks() { return m_hooks; }
    const ViewState& View() const { return m_view; }
    const FractalModel& Model() const { return m_model; }
    const QImage& Canvas() const { return m_canvas; }
    const QImage& LegendPicture() const { return m_legendPicture; }
    QAction* Action(int commandId) const { return m_actions.value(commandId, nullptr); }
    QWidget* CanvasArea() const;
    bool Computing() const { return m_computation.Running(); }
    // The progress dialog while it is shown, else null.
    QProgressDialog* Progress() const { return m_progress.get(); }
    // Repaints done so far, and repaints the commands asked for.
    int PaintCount() const { return m_paintCount; }
    int RepaintRequests() const { return m_repaintRequests; }
    // True while a requested repaint has not happened yet.
    bool RepaintPending() const { return m_requestsPainted != m_repaintRequests; }
    // How long a computation runs before its progress dialog appears.
    void SetProgressDelay(int milliseconds) { m_progressDelay.setInterval(milliseconds); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void OnPaint(QPainter& painter, QSize deviceSize, qreal devicePixelRatio);
    void RequestRepaint();
    void ApplyTwoModesToMenu();
    // What a finished computation does to the history.
    enum class HistoryStep { Push, PushZoom, Back, Forward, Home, None };
    // live: a change from the dock, which supersedes a running computation
    // and shows its progress in the status bar.
    void StartComputation(const ModelParams& params, HistoryStep step = HistoryStep::Push, bool live = false);
    void OnLiveCommit();
    void ShowLiveProgress();
    // What a finished computation does to the dock and the status bar.
    void LiveFinished(const ComputationOutcome& outcome);
    void BuildExploreMenu();
    void BuildProbe();
    void DropProbe();
    void RunSweep(bool plane);
    void ApplyFitWindow();
    void Refuse(const QString& text);
    // The status bar's readout for the pixel under the cursor, after the
    // picture under it changed.
    void RefreshReadout();
    void OnCanvasPress(QPoint at, QMouseEvent* event);
    void OnCanvasMove(QPoint at, QMouseEvent* event);
    void OnCanvasRelease(QPoint at, QMouseEvent* event);
    void OnComputationFinished(ComputationOutcome&& outcome);
    void ShowProgress();
    void UpdateProgress();
    void SetCommandsAvailable(bool available);

    FractalModel m_model;
    ViewState m_view;
    QImage m_canvas;
    QImage m_legendPicture;
    mutable EndCounts m_endCounts;           // of the lists in place; the readout looks up
    std::optional<QPoint> m_computedOrigin;  // origin of the lists in place
    ParamHistory m_history;
    HistoryStep m_pendingStep = HistoryStep::Push;
    QRubberBand* m_band = nullptr;
    std::optional<QPoint> m_bandStart;  // device pixels
    QString m_lastRefusal;
    std::optional<ProbeResult> m_probe;
    double m_probeX0 = 0.0;
    double m_probeY0 = 0.0;
    ModelParams m_probeParams;  // those the probe follows the orbit with
    ProbeDock* m_probeDock = nullptr;
    JobRunner<std::optional<ProbeResult>> m_probeRunner;
    SweepSession* m_sweep = nullptr;  // a child of the window

    HelpViewer& m_help;
    UiHooks m_hooks;
    QHash<int, QAction*> m_actions;
    QHash<QAction*, bool> m_enabledBeforeComputation;
    CanvasWidget* m_canvasWidget = nullptr;
    int m_paintCount = 0;
    int m_repaintRequests = 0;
    int m_requestsPainted = 0;  // requests the last repaint answered

    QTimer m_progressDelay;
    QTimer m_progressPoll;
    std::unique_ptr<QProgressDialog> m_progress;
    SpacesEngine m_engine;
    SpacesRunner m_computation;

    LiveParamsDock* m_liveDock = nullptr;  // made when first shown
    QProgressBar* m_statusProgress = nullptr;
    bool m_liveRun = false;         // the newest request came from the dock
    bool m_liveUnrecorded = false;  // the picture's parameters are not in the history yet
    bool m_recordWhenDone = false;  // record them once the newest request is done
};

}  // namespace orbitograph

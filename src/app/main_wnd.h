#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <memory>
#include <optional>

#include "app/job_runner.h"
#include "app/spaces_job.h"
#include "app/window_shared.h"
#include "model/probe.h"
#include "view/zoom.h"

class QProgressBar;
class QProgressDialog;

namespace orbitograph {

class AttractorController;
class CanvasWidget;
class ComputationController;
class DisplayController;
class HelpViewer;
class LiveController;
class LiveParamsDock;
class PictureDataCommands;
class ProbeController;
class ProbeDock;
class SweepSession;
class ZoomController;

// The program's one main window: it owns the canvas of the last repaint,
// the legend picture and the menus, and hands each command to the part
// that owns its feature (the computation and its history, the display,
// the zoom under the mouse, the probe, the live dock, sweeps and planes,
// the picture's data). Every command that changes what is shown ends by
// requesting a repaint; drawing happens only in OnPaint. A new feature is
// one more part, made in the constructor and wired to its menu items.
class CMainWnd : public QMainWindow {
public:
    // help outlives the window. engine defaults to ComputeSpaces, startThread
    // to std::jthread's constructor.
    explicit CMainWnd(HelpViewer& help, SpacesEngine engine = {}, ThreadStarter startThread = {});
    ~CMainWnd() override;

    // Commands that tests and callers run directly, as the menu does.
    void OnFractalParameters();
    void OnSavePicture();
    void OnProgramSettings();
    void OnLegend();
    void OnAbout();
    void OnProbe();
    void OnSweep();
    void OnPlane();
    void OnOpenParamsFromPicture();
    void OnExportData();
    // A rubber band from one canvas pixel to another, as the mouse gives it.
    void ZoomToBand(QPoint from, QPoint to);

    UiHooks& Hooks() { return m_shared.hooks; }
    const ViewState& View() const { return m_shared.m_view; }
    const FractalModel& Model() const { return m_shared.m_model; }
    const QImage& Canvas() const { return m_canvas; }
    const QImage& LegendPicture() const { return m_legendPicture; }
    QAction* Action(int commandId) const { return m_shared.Action(commandId); }
    QWidget* CanvasArea() const;
    bool Computing() const;
    // The progress dialog while it is shown, else null; how long a
    // computation runs before it appears.
    QProgressDialog* Progress() const;
    void SetProgressDelay(int milliseconds);
    // Repaints done so far, and repaints the commands asked for; true while
    // a requested repaint has not happened yet.
    int PaintCount() const { return m_paintCount; }
    int RepaintRequests() const { return m_shared.repaintRequests; }
    bool RepaintPending() const { return m_requestsPainted != m_shared.repaintRequests; }
    // The last refusal of a zoom, a history step or a sweep.
    const QString& LastRefusal() const { return m_shared.lastRefusal; }
    const ParamHistory& History() const;
    const std::optional<ProbeResult>& Probe() const;
    ProbeDock* ProbeDockWidget() const;
    // The dock "Параметры модели" once first shown, and the status bar's
    // progress bar of a long live computation, while shown.
    LiveParamsDock* LiveDock() const;
    QProgressBar* StatusProgress() const;
    SweepSession& Sweeps() const { return *m_sweep; }
    ComputationController& Computation() const { return *m_computation; }
    PictureDataCommands& PictureData() const { return *m_pictureData; }
    AttractorController& Attractors() const { return *m_attractors; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void BuildExploreMenu();
    void ConnectParts();
    void OnPaint(QPainter& painter, QSize deviceSize, qreal devicePixelRatio);

    WindowShared m_shared;
    HelpViewer& m_help;
    QImage m_canvas;
    QImage m_legendPicture;
    int m_paintCount = 0;
    int m_requestsPainted = 0;  // requests the last repaint answered
    std::unique_ptr<ComputationController> m_computation;
    std::unique_ptr<DisplayController> m_display;
    std::unique_ptr<ProbeController> m_probe;
    std::unique_ptr<ZoomController> m_zoom;
    std::unique_ptr<LiveController> m_live;
    std::unique_ptr<SweepSession> m_sweep;
    std::unique_ptr<PictureDataCommands> m_pictureData;
    std::unique_ptr<AttractorController> m_attractors;
};

}  // namespace orbitograph

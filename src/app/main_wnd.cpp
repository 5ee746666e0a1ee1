#include "app/main_wnd.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include "app/about_dlg.h"
#include "app/app_resources.h"
#include "app/attractor_controller.h"
#include "app/canvas_widget.h"
#include "app/computation_controller.h"
#include "app/display_controller.h"
#include "app/help_window.h"
#include "app/live_controller.h"
#include "app/picture_data_commands.h"
#include "app/probe_controller.h"
#include "app/save_failure.h"
#include "app/sweep_session.h"
#include "app/zoom_controller.h"
#include "legend/legend_picture.h"
#include "png/png_export.h"
#include "program_version.h"
#include "request/request_view.h"
#include "view/basin_colouring.h"
#include "view/fitted_frame.h"
#include "view/frame.h"

namespace orbitograph {

CMainWnd::CMainWnd(HelpViewer& help, SpacesEngine engine, ThreadStarter startThread)
    : QMainWindow(nullptr), m_help(help) {
    InitAppResources();
    m_shared.hooks = DefaultUiHooks();
    m_shared.window = this;
    // No maximise button among the frame's buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Orbitograph ") + QString::fromLatin1(kProgramVersion));
    setWindowIcon(ProgramIcon());
    // The geometry the window returns to when it is restored from maximised:
    // two thirds of its screen's work area, centred.
    const QRect work = screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                                    QSize(work.width() * 2 / 3, work.height() * 2 / 3), work));

    m_shared.canvas =
        new CanvasWidget([this](QPainter& painter, QSize size, qreal ratio) { OnPaint(painter, size, ratio); }, this);
    setCentralWidget(m_shared.canvas);

    m_computation = std::make_unique<ComputationController>(m_shared, std::move(engine), std::move(startThread));
    m_display = std::make_unique<DisplayController>(m_shared, *m_computation);
    m_probe = std::make_unique<ProbeController>(m_shared, *m_computation);
    m_zoom = std::make_unique<ZoomController>(m_shared, *m_computation, *m_probe);
    m_live = std::make_unique<LiveController>(m_shared, *m_computation);
    m_sweep = std::make_unique<SweepSession>(m_shared, *m_computation);
    m_pictureData =
        std::make_unique<PictureDataCommands>(m_shared, *m_computation, *m_display, *m_probe, m_computation->Engine());
    m_attractors = std::make_unique<AttractorController>(m_shared, *m_computation, *m_probe);
    ConnectParts();
    BuildMenu();
    BuildExploreMenu();
    m_legendPicture = LoadLegendPicture(QCoreApplication::applicationDirPath());
}

CMainWnd::~CMainWnd() = default;

// What a computation's end means to the other parts.
void CMainWnd::ConnectParts() {
    using Step = ComputationController::HistoryStep;
    ComputationController::Listeners& on = m_computation->listeners;
    on.installed = [this](const ComputationOutcome& outcome, Step step) {
        m_probe->PictureInstalled(outcome.params, step != Step::None);
        m_attractors->PictureInstalled(outcome);
        m_zoom->RefreshReadout();
    };
    on.finished = [this](const ComputationOutcome& outcome, Step step, bool live) {
        m_live->Finished(outcome, step, live);
    };
    on.liveProgressDue = [this] { m_live->ShowProgress(); };
    on.progressed = [this](double fraction) { m_live->Progressed(fraction); };
    on.analysisRefused = [this] { m_attractors->AnalysisRefused(); };
}

void CMainWnd::OnPaint(QPainter& painter, QSize deviceSize, qreal devicePixelRatio) {
    ++m_paintCount;
    m_requestsPainted = m_shared.repaintRequests;
    const QImage* picture = m_legendPicture.isNull() ? nullptr : &m_legendPicture;
    if (ComputationController::PreviewPicture* preview = m_computation->Preview()) {
        // Drawn apart: the canvas that is saved stays the exact picture's.
        QImage frame = ComposeFrame(preview->view, preview->model, deviceSize.width(), deviceSize.height(), picture);
        if (frame.isNull()) return;
        frame.setDevicePixelRatio(devicePixelRatio);
        painter.drawImage(QPoint(0, 0), frame);
        qCDebug(RefineLog, "painted preview level %d at %.3f ms", preview->coarseLevel, SteadyMilliseconds());
        return;
    }
    m_canvas = ComposeFrame(m_shared.m_view, m_shared.m_model, deviceSize.width(), deviceSize.height(), picture,
                            &m_shared.endCounts);
    if (m_canvas.isNull()) return;
    m_attractors->DrawOver(m_canvas);
    m_probe->DrawOver(m_canvas);
    // One canvas pixel per device pixel: the painter maps logical units.
    m_canvas.setDevicePixelRatio(devicePixelRatio);
    painter.drawImage(QPoint(0, 0), m_canvas);
    qCDebug(RefineLog, "painted at %.3f ms", SteadyMilliseconds());
}

void CMainWnd::OnSavePicture() {
    const QString chosen = m_shared.hooks.chooseSaveName(this);
    if (chosen.isEmpty()) return;
    // Appended always: "picture.png" is written as "picture.png.png".
    const QString path = chosen + QStringLiteral(".png");
    if (m_shared.canvas->width() <= 0 || m_shared.canvas->height() <= 0) {
        // The canvas of an earlier repaint is no longer what the window shows.
        m_shared.hooks.showError(this, QStringLiteral("У окна нет области рисунка: сохранять нечего."));
        return;
    }
    if (m_canvas.isNull()) {
        m_shared.hooks.showError(this, QStringLiteral("Рисунок ещё не построен: сохранять нечего."));
        return;
    }
    const QPoint origin = m_shared.ListsOrigin();
    // A colouring whose analysis the lists lack is drawn by kind, and so
    // described.
    ViewState view = m_shared.m_view;
    view.m_colourBy = ShownColouring(view, m_shared.m_model);
    Request shown =
        RequestOf(view, m_shared.m_model.Params(), origin.x(), origin.y(), m_canvas.width(), m_canvas.height());
    shown.display.probe = m_probe->ShownStart();
    const SaveResult saved = SavePngAtomically(m_canvas, NativePath(path), DescribeFrame(shown));
    if (!saved.Ok()) {
        m_shared.hooks.showError(
            this,
            QStringLiteral("Не удалось сохранить рисунок в файл «%1».\n%2").arg(path, SaveFailureReason(saved, path)));
    }
}

void CMainWnd::OnAbout() {
    CAboutDlg dlg(this);
    m_shared.hooks.runDialog(dlg);
}

void CMainWnd::closeEvent(QCloseEvent* event) {
    m_computation->Stop();
    m_legendPicture = QImage();
    m_canvas = QImage();
    QMainWindow::closeEvent(event);
}

void CMainWnd::OnFractalParameters() { m_computation->OnFractalParameters(); }
void CMainWnd::OnProgramSettings() { m_display->OnProgramSettings(); }
void CMainWnd::OnLegend() { m_display->OnLegend(); }
void CMainWnd::OnProbe() { m_probe->OnProbe(); }
void CMainWnd::OnSweep() { m_sweep->OnSweep(); }
void CMainWnd::OnPlane() { m_sweep->OnPlane(); }
void CMainWnd::OnOpenParamsFromPicture() { m_pictureData->OnOpenParamsFromPicture(); }
void CMainWnd::OnExportData() { m_pictureData->OnExportData(); }
void CMainWnd::ZoomToBand(QPoint from, QPoint to) { m_zoom->ZoomToBand(from, to); }

QWidget* CMainWnd::CanvasArea() const { return m_shared.canvas; }
bool CMainWnd::Computing() const { return m_computation->Running(); }
QProgressDialog* CMainWnd::Progress() const { return m_computation->Progress(); }
void CMainWnd::SetProgressDelay(int milliseconds) { m_computation->SetProgressDelay(milliseconds); }
const ParamHistory& CMainWnd::History() const { return m_computation->History(); }
const std::optional<ProbeResult>& CMainWnd::Probe() const { return m_probe->Probe(); }
ProbeDock* CMainWnd::ProbeDockWidget() const { return m_probe->Dock(); }
LiveParamsDock* CMainWnd::LiveDock() const { return m_live->Dock(); }
QProgressBar* CMainWnd::StatusProgress() const { return m_live->StatusProgress(); }

}  // namespace orbitograph

#include "app/main_wnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <cerrno>
#include <system_error>

#include "app/about_dlg.h"
#include "app/app_resources.h"
#include "app/canvas_widget.h"
#include "app/command_ids.h"
#include "app/help_window.h"
#include "app/menu_style.h"
#include "app/model_params_dlg.h"
#include "app/settings_sheet.h"
#include "dialogs/dialog_controls.h"
#include "legend/legend_picture.h"
#include "legend_dialog/legend_dlg.h"
#include "png/png_export.h"
#include "program_version.h"
#include "request/request_view.h"
#include "view/frame.h"
#include "view/orbit_overlay.h"

namespace orbitograph {

namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressPollMs = 100;
constexpr int kProgressSteps = 1000;

SpacesEngine OrDefaultEngine(SpacesEngine engine) { return engine ? engine : SpacesEngine(&ComputeSpaces); }

}  // namespace

// Why a picture could not be saved, in Russian for the common causes and in
// the system's own words otherwise.
QString SaveFailureReason(const SaveResult& r) {
    if (r.failure == SaveFailure::NotRegularFile) return QStringLiteral("Это не обычный файл; он оставлен как был.");
    switch (r.systemError) {
        case ENOSPC:
        case EDQUOT: return QStringLiteral("На диске не хватает места.");
        case EROFS: return QStringLiteral("Файловая система доступна только для чтения.");
        case ENOENT:
        case ENOTDIR: return QStringLiteral("Нет такой папки.");
        case EACCES:
        case EPERM: return QStringLiteral("Нет прав на запись в эту папку или в этот файл.");
        default: return QString::fromLocal8Bit(SaveFailureText(r));
    }
}

CMainWnd::CMainWnd(HelpViewer& help, SpacesEngine engine, ThreadStarter startThread)
    : QMainWindow(nullptr),
      m_help(help),
      m_hooks(DefaultUiHooks()),
      m_engine(OrDefaultEngine(std::move(engine))),
      m_computation(std::move(startThread)) {
    InitAppResources();
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

    m_canvasWidget =
        new CanvasWidget([this](QPainter& painter, QSize size, qreal ratio) { OnPaint(painter, size, ratio); }, this);
    setCentralWidget(m_canvasWidget);
    BuildMenu();
    BuildExploreMenu();
    m_legendPicture = LoadLegendPicture(QCoreApplication::applicationDirPath());

    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(kProgressDelayMs);
    connect(&m_progressDelay, &QTimer::timeout, this, &CMainWnd::ShowProgress);
    m_progressPoll.setInterval(kProgressPollMs);
    connect(&m_progressPoll, &QTimer::timeout, this, &CMainWnd::UpdateProgress);
}

CMainWnd::~CMainWnd() = default;

QWidget* CMainWnd::CanvasArea() const { return m_canvasWidget; }

void CMainWnd::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, int id, const QString& text) {
        QAction* action = menu->addAction(text);
        m_actions.insert(id, action);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    SetUpMenu(file);
    connect(add(file, kCmdSavePicture, QStringLiteral("&Сохранить F5")), &QAction::triggered, this,
            &CMainWnd::OnSavePicture);
    add(file, kCmdPrint, QStringLiteral("Печать"));  // enabled, and does nothing
    connect(add(file, kCmdExit, QStringLiteral("Выход")), &QAction::triggered, this, &CMainWnd::OnExit);

    QMenu* params = bar->addMenu(QStringLiteral("Параметры"));
    SetUpMenu(params);  // the pop-up begins with a separator
    params->addSeparator();
    connect(add(params, kCmdFractalParameters, QStringLiteral("&Параметры фрактала F7")), &QAction::triggered, this,
            &CMainWnd::OnFractalParameters);
    connect(add(params, kCmdLegend, QStringLiteral("Легенда")), &QAction::triggered, this, &CMainWnd::OnLegend);
    connect(add(params, kCmdProgramSettings, QStringLiteral("Настройки программы")), &QAction::triggered, this,
            &CMainWnd::OnProgramSettings);
    params->addSeparator();
    QAction* attractors = add(params, kCmdShowAttractors, QStringLiteral("Отобразить аттракторы"));
    QAction* basins = add(params, kCmdShowBasins, QStringLiteral("Отобразить бассейны"));
    connect(attractors, &QAction::triggered, this, &CMainWnd::OnShowAttractors);
    connect(basins, &QAction::triggered, this, &CMainWnd::OnShowBasins);
    // Unavailable until the settings sheet first closes.
    attractors->setEnabled(false);
    basins->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("Справка"));
    SetUpMenu(help);
    connect(add(help, kCmdHelpInstructions, QStringLiteral("&Инструкция F1")), &QAction::triggered, this,
            &CMainWnd::OnHelpInstructions);
    connect(add(help, kCmdAbout, QStringLiteral("О программе...")), &QAction::triggered, this, &CMainWnd::OnAbout);

    // The key names are part of the item texts, so the keys are shortcuts of
    // the window rather than of the actions (which would show them again).
    // A disabled action ignores its trigger.
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_F7, kCmdFractalParameters}, {Qt::Key_F5, kCmdSavePicture}, {Qt::Key_F1, kCmdHelpInstructions}};
    for (const auto& [key, id] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        QAction* action = m_actions.value(id);
        connect(shortcut, &QShortcut::activated, action, [action] { action->trigger(); });
    }
}

void CMainWnd::OnPaint(QPainter& painter, QSize deviceSize, qreal devicePixelRatio) {
    ++m_paintCount;
    m_requestsPainted = m_repaintRequests;
    const QImage* picture = m_legendPicture.isNull() ? nullptr : &m_legendPicture;
    m_canvas = ComposeFrame(m_view, m_model, deviceSize.width(), deviceSize.height(), picture, &m_endCounts);
    if (m_canvas.isNull()) return;
    if (m_probe) DrawOrbitOverlay(m_canvas, m_view, *m_probe);
    // One canvas pixel per device pixel: the painter maps logical units.
    m_canvas.setDevicePixelRatio(devicePixelRatio);
    painter.drawImage(QPoint(0, 0), m_canvas);
}

void CMainWnd::RequestRepaint() {
    ++m_repaintRequests;
    m_canvasWidget->update();
}

void CMainWnd::ApplyTwoModesToMenu() {
    QAction* attractors = Action(kCmdShowAttractors);
    QAction* basins = Action(kCmdShowBasins);
    if (m_view.m_twoModes == 0) {
        basins->setEnabled(true);
        attractors->setEnabled(true);
    } else if (m_view.m_twoModes == 1) {
        basins->setEnabled(false);
        attractors->setEnabled(false);
    }
}

void CMainWnd::OnFractalParameters() {
    if (Computing()) return;
    CModelParamsDlg dlg(this);
    dlg.SetParams(m_view.Params());
    if (m_hooks.runDialog(dlg) != QDialog::Accepted) return;
    StartComputation(dlg.Params());
}

void CMainWnd::StartComputation(const ModelParams& params, HistoryStep step, bool live) {
    const std::int32_t originX = m_model.originX;
    const std::int32_t originY = m_model.originY;
    if (!OriginAcceptable(originX, originY)) {
        m_hooks.showError(this, QStringLiteral("Окно слишком велико для вычисления: центр области рисунка "
                                               "лежит дальше %1 точек от её угла.")
                                    .arg(kMaxOriginMagnitude));
        return;
    }
    // A live change supersedes the running computation: the commands stay
    // as they were made unavailable for it.
    const bool superseding = Computing();
    if (!superseding) SetCommandsAvailable(false);
    bool started = true;
    try {
        m_computation.Request(SpacesJob(m_engine, params, originX, originY, m_view.m_fitWindow == 1),
                              [this](SpacesRunner::Delivery&& d) { OnComputationFinished(OutcomeOf(std::move(d))); });
    } catch (const std::system_error&) {
        started = false;
    }
    if (!started) {
        if (!superseding) SetCommandsAvailable(true);
        m_hooks.showError(this, QStringLiteral("Не удалось начать вычисление."));
        return;
    }
    m_pendingStep = step;
    m_liveRun = live;
    if (!superseding) m_progressDelay.start();
}

void CMainWnd::OnComputationFinished(ComputationOutcome&& outcome) {
    m_progressDelay.stop();
    m_progressPoll.stop();
    m_progress.reset();
    SetCommandsAvailable(true);
    if (outcome.notStarted) {
        LiveFinished(outcome);
        m_hooks.showError(this, QStringLiteral("Не удалось начать вычисление."));
        return;
    }
    switch (outcome.status) {
        case ComputeStatus::Done:
            // The view state and the model take the parameters together with
            // the lists and the report computed from them.
            m_view.SetParams(outcome.params);
            m_model.SetParams(outcome.params);
            m_model.Install(std::move(outcome.lists));
            m_endCounts.Clear();
            m_model.report = std::move(outcome.report);
            m_computedOrigin = QPoint(outcome.originX, outcome.originY);
            m_view.m_listsOriginX = outcome.originX;
            m_view.m_listsOriginY = outcome.originY;
            switch (m_pendingStep) {
                case HistoryStep::Push: m_history.Push(outcome.params, false); break;
                case HistoryStep::PushZoom: m_history.Push(outcome.params, true); break;
                case HistoryStep::Back: m_history.MoveBack(); break;
                case HistoryStep::Forward: m_history.MoveForward(); break;
                case HistoryStep::Home: m_history.MoveHome(); break;
                case HistoryStep::None: break;
            }
            // A new picture drops the probed orbit; the same parameters
            // computed again for the fitted display keep it.
            if (m_pendingStep != HistoryStep::None || outcome.params != m_probeParams) DropProbe();
            RequestRepaint();
            RefreshReadout();
            break;
        case ComputeStatus::Cancelled: break;
        case ComputeStatus::OutOfMemory:
            m_hooks.showError(this, QStringLiteral("Недостаточно памяти для вычисления с этими параметрами. "
                                                   "Увеличьте шаг или уменьшите область. "
                                                   "Рисунок и параметры остались прежними."));
            break;
        case ComputeStatus::Refused:
            m_hooks.showError(this, QStringLiteral("Параметры модели не прошли проверку: вычисление не выполнено. "
                                                   "Рисунок и параметры остались прежними."));
            break;
    }
    LiveFinished(outcome);
}

void CMainWnd::ShowProgress() {
    if (!Computing() || m_progress) return;
    if (m_liveRun) return ShowLiveProgress();
    m_progress = std::make_unique<QProgressDialog>(QStringLiteral("Вычисляются аттракторы и бассейны..."),
                                                   QStringLiteral("Отмена"), 0, kProgressSteps, this);
    m_progress->setWindowTitle(QCoreApplication::applicationName());
    // Not modal: the commands that would interfere are disabled, and the
    // window stays free to repaint, move and resize.
    m_progress->setWindowModality(Qt::NonModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setWindowFlags(kDialogWindowFlags);
    m_progress->setFixedSize(m_progress->sizeHint());
    connect(m_progress.get(), &QProgressDialog::canceled, this, [this] {
        m_computation.Cancel();
        if (m_progress) m_progress->setLabelText(QStringLiteral("Вычисление прерывается..."));
    });
    m_progress->setValue(0);
    m_progress->show();
    m_progressPoll.start();
}

void CMainWnd::UpdateProgress() {
    if (m_statusProgress) m_statusProgress->setValue(static_cast<int>(m_computation.Progress() * kProgressSteps));
    if (!m_progress || m_progress->wasCanceled()) return;
    m_progress->setValue(static_cast<int>(m_computation.Progress() * kProgressSteps));
}

void CMainWnd::SetCommandsAvailable(bool available) {
    if (!available) {
        m_enabledBeforeComputation.clear();
        for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
            // Help, About and Exit stay available; Exit cancels the
            // computation as the close box does.
            if (it.key() == kCmdHelpInstructions || it.key() == kCmdAbout || it.key() == kCmdExit) continue;
            QAction* action = it.value();
            m_enabledBeforeComputation.insert(action, action->isEnabled());
            action->setEnabled(false);
        }
    } else {
        for (auto it = m_enabledBeforeComputation.cbegin(); it != m_enabledBeforeComputation.cend(); ++it)
            it.key()->setEnabled(it.value());
        m_enabledBeforeComputation.clear();
    }
}

void CMainWnd::OnSavePicture() {
    const QString chosen = m_hooks.chooseSaveName(this);
    if (chosen.isEmpty()) return;
    // Appended always: "picture.png" is written as "picture.png.png".
    const QString path = chosen + QStringLiteral(".png");
    if (m_canvasWidget->width() <= 0 || m_canvasWidget->height() <= 0) {
        // The canvas of an earlier repaint is no longer what the window shows.
        m_hooks.showError(this, QStringLiteral("У окна нет области рисунка: сохранять нечего."));
        return;
    }
    if (m_canvas.isNull()) {
        m_hooks.showError(this, QStringLiteral("Рисунок ещё не построен: сохранять нечего."));
        return;
    }
    const QPoint origin = m_computedOrigin.value_or(QPoint(m_model.originX, m_model.originY));
    const SaveResult saved = SavePngAtomically(
        m_canvas, NativePath(path),
        DescribeFrame(m_view, m_model.Params(), origin.x(), origin.y(), m_canvas.width(), m_canvas.height()));
    if (!saved.Ok()) {
        m_hooks.showError(
            this, QStringLiteral("Не удалось сохранить рисунок в файл «%1».\n%2").arg(path, SaveFailureReason(saved)));
    }
}

void CMainWnd::OnProgramSettings() {
    CSettingsSheet sheet(this);
    sheet.SetSwitches(m_view);
    const bool accepted = m_hooks.runDialog(sheet) == QDialog::Accepted;
    if (accepted) {
        static_cast<DisplaySwitches&>(m_view) = sheet.Switches();
        RequestRepaint();
    }
    ApplyTwoModesToMenu();
    if (accepted) ApplyFitWindow();
}

void CMainWnd::OnShowAttractors() {
    m_view.OnShowAttractors();
    RequestRepaint();
}

void CMainWnd::OnShowBasins() {
    m_view.OnShowBasins();
    RequestRepaint();
}

void CMainWnd::OnLegend() {
    CLegendDlg dlg(this);
    static_cast<LegendFields&>(dlg) = static_cast<const LegendFields&>(m_view);
    if (m_hooks.runDialog(dlg) != QDialog::Accepted) return;
    static_cast<LegendFields&>(m_view) = static_cast<const LegendFields&>(dlg);
    RequestRepaint();
}

void CMainWnd::OnAbout() {
    CAboutDlg dlg(this);
    m_hooks.runDialog(dlg);
}

void CMainWnd::OnHelpInstructions() { m_help.ShowContents(); }

void CMainWnd::OnExit() { close(); }

void CMainWnd::closeEvent(QCloseEvent* event) {
    m_computation.Cancel();
    m_progressDelay.stop();
    m_progressPoll.stop();
    m_progress.reset();
    m_legendPicture = QImage();
    m_canvas = QImage();
    QMainWindow::closeEvent(event);
}

}  // namespace orbitograph

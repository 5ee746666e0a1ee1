#include "app/computation_controller.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>
#include <chrono>
#include <system_error>

#include "app/analysis_refusal.h"
#include "app/command_ids.h"
#include "app/model_params_dlg.h"
#include "dialogs/dialog_controls.h"
#include "model/grid.h"
#include "model/parallel_for.h"

namespace orbitograph {

Q_LOGGING_CATEGORY(RefineLog, "orbitograph.refine", QtWarningMsg)

double SteadyMilliseconds() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressPollMs = 100;
constexpr int kProgressSteps = 1000;
// The first preview's computation, leaving the rest of about 50 ms to the
// frame's composition and paint.
constexpr double kPreviewBudgetSeconds = 0.03;
// Before any measurement: a map step per nanosecond on each core, which
// errs towards a coarser first preview (most orbits stop early).
constexpr double kAssumedSecondsPerStep = 1e-9;

SpacesEngine OrDefaultEngine(SpacesEngine engine) { return engine ? engine : SpacesEngine(&ComputeSpaces); }

}  // namespace

ComputationController::ComputationController(WindowShared& shared, SpacesEngine engine, ThreadStarter startThread)
    : m_shared(shared),
      m_engine(OrDefaultEngine(std::move(engine))),
      m_runner(std::move(startThread)),
      m_previewBudget(kPreviewBudgetSeconds) {
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(kProgressDelayMs);
    connect(&m_progressDelay, &QTimer::timeout, this, &ComputationController::ShowProgress);
    m_progressPoll.setInterval(kProgressPollMs);
    connect(&m_progressPoll, &QTimer::timeout, this, &ComputationController::UpdateProgress);
}

ComputationController::~ComputationController() = default;

void ComputationController::OnFractalParameters() {
    if (Running()) return;
    CModelParamsDlg dlg(m_shared.window);
    dlg.SetParams(m_shared.m_view.Params());
    if (m_shared.hooks.runDialog(dlg) != QDialog::Accepted) return;
    Start(dlg.Params());
}

void ComputationController::OnBack() {
    GoThroughHistory(m_history.Back(), HistoryStep::Back,
                     QStringLiteral("Назад идти некуда: это первый вычисленный рисунок."));
}

void ComputationController::OnForward() {
    GoThroughHistory(m_history.Forward(), HistoryStep::Forward,
                     QStringLiteral("Вперёд идти некуда: это последний вычисленный рисунок."));
}

void ComputationController::GoThroughHistory(const std::optional<ModelParams>& to, HistoryStep step,
                                             const QString& nowhere) {
    if (Running()) return;
    if (to)
        Start(*to, step);
    else
        m_shared.Refuse(nowhere);
}

void ComputationController::OnHomeArea() {
    if (Running()) return;
    if (const auto p = m_history.Home()) Start(*p, HistoryStep::Home);
}

void ComputationController::Start(const ModelParams& params, HistoryStep step, bool live) {
    const std::int32_t originX = m_shared.m_model.originX;
    const std::int32_t originY = m_shared.m_model.originY;
    if (!OriginAcceptable(originX, originY)) {
        m_shared.hooks.showError(m_shared.window,
                                 QStringLiteral("Окно слишком велико для вычисления: центр области рисунка "
                                                "лежит дальше %1 точек от её угла.")
                                     .arg(kMaxOriginMagnitude));
        return;
    }
    SpacesExtras extras;
    extras.withEnds = m_shared.m_view.m_switches.m_fitWindow;
    extras.analysis = m_shared.AnalysisWanted();
    extras.delta = m_shared.m_view.m_attractorDelta;
    extras.metrics = m_shared.attractorDockShown;
    if (const auto refused = extras.analysis ? CheckAnalysis(params, extras.delta) : std::nullopt) {
        extras.analysis = false;
        m_shared.hooks.showError(m_shared.window, AnalysisRefusalWords(*refused));
        if (listeners.analysisRefused) listeners.analysisRefused();
    }
    // A live change supersedes the running computation: the commands stay
    // as they were made unavailable for it.
    const bool superseding = Running();
    if (!superseding) SetCommandsAvailable(false);
    bool started = true;
    const bool fitted = m_shared.m_view.m_switches.m_fitWindow;
    const int level = fitted ? PreviewLevelFor(params) : 0;
    try {
        m_runner.Request(level > 0 ? RefiningSpacesJob(m_engine, params, originX, originY, extras, level)
                                   : SpacesJob(m_engine, params, originX, originY, extras),
                         [this](SpacesRunner::Delivery&& d) {
                             const bool partial = d.end == JobEnd::Partial;
                             ComputationOutcome outcome = OutcomeOf(std::move(d));
                             if (partial)
                                 OnPreview(std::move(outcome));
                             else
                                 OnFinished(std::move(outcome));
                         });
    } catch (const std::system_error&) {
        started = false;
    }
    if (!started) {
        if (!superseding) SetCommandsAvailable(true);
        m_shared.hooks.showError(m_shared.window, QStringLiteral("Не удалось начать вычисление."));
        return;
    }
    qCDebug(RefineLog, "request %llu, first preview level %d, at %.3f ms",
            static_cast<unsigned long long>(m_runner.Generation()), level, SteadyMilliseconds());
    m_pendingStep = step;
    m_liveRun = live;
    if (!superseding) m_progressDelay.start();
}

void ComputationController::Stop() {
    m_runner.Cancel();
    m_progressDelay.stop();
    m_progressPoll.stop();
    m_progress.reset();
}

// From the grid's size (estimated by one division per side: this runs on
// the interface thread) and the time per start point last measured at the
// same iteration count, else assumed from the nominal steps.
int ComputationController::PreviewLevelFor(const ModelParams& params) const {
    if (!(params.x1 <= params.x2 && params.y1 <= params.y2) || params.iterations < 0) return 0;
    const std::int64_t columns = SideCountAtLeast(params.x1, params.x2, params.step);
    const std::int64_t rows = SideCountAtLeast(params.y1, params.y2, params.step);
    const double perPoint = m_secondsPerPoint >= 0.0 && m_measuredIterations == params.iterations
                                ? m_secondsPerPoint
                                : (static_cast<double>(params.iterations) + 1.0) * kAssumedSecondsPerStep /
                                      static_cast<double>(ThreadCount(0));
    return FirstCoarseLevel(columns, rows, perPoint, m_previewBudget);
}

void ComputationController::OnPreview(ComputationOutcome&& outcome) {
    if (outcome.status != ComputeStatus::Done) return;
    auto preview = std::make_unique<PreviewPicture>();
    preview->view = m_shared.m_view;
    preview->view.SetParams(outcome.params);
    preview->view.m_listsOriginX = outcome.originX;
    preview->view.m_listsOriginY = outcome.originY;
    preview->model.SetParams(outcome.params);
    preview->model.Install(std::move(outcome.lists));
    preview->model.originX = outcome.originX;
    preview->model.originY = outcome.originY;
    preview->coarseLevel = outcome.coarseLevel;
    m_preview = std::move(preview);
    if (QStatusBar* bar = m_shared.ShownStatusBar()) {
        if (!m_previewMark) {
            m_previewMark = new QLabel(QStringLiteral("Предварительно"), bar);
            m_previewMark->setObjectName(QStringLiteral("previewMark"));
            bar->addPermanentWidget(m_previewMark);
        }
        m_previewMark->show();
    }
    m_shared.RequestRepaint();
    if (listeners.previewed) listeners.previewed(&outcome);
}

void ComputationController::DropPreview() {
    if (m_previewMark) m_previewMark->hide();
    if (!m_preview) return;
    m_preview.reset();
    m_shared.RequestRepaint();
    if (listeners.previewed) listeners.previewed(nullptr);
}

void ComputationController::OnFinished(ComputationOutcome&& outcome) {
    DropPreview();
    m_progressDelay.stop();
    m_progressPoll.stop();
    m_progress.reset();
    SetCommandsAvailable(true);
    const auto finished = [&] {
        if (listeners.finished) listeners.finished(outcome, m_pendingStep, m_liveRun);
    };
    if (outcome.notStarted) {
        finished();
        m_shared.hooks.showError(m_shared.window, QStringLiteral("Не удалось начать вычисление."));
        return;
    }
    switch (outcome.status) {
        case ComputeStatus::Done: Install(std::move(outcome)); break;
        case ComputeStatus::Cancelled: break;
        case ComputeStatus::OutOfMemory:
            m_shared.hooks.showError(m_shared.window,
                                     QStringLiteral("Недостаточно памяти для вычисления с этими параметрами. "
                                                    "Увеличьте шаг или уменьшите область. "
                                                    "Рисунок и параметры остались прежними."));
            break;
        case ComputeStatus::Refused:
            m_shared.hooks.showError(m_shared.window,
                                     QStringLiteral("Параметры модели не прошли проверку: вычисление не выполнено. "
                                                    "Рисунок и параметры остались прежними."));
            break;
    }
    finished();
}

// The view state and the model take the parameters together with the lists
// and the report computed from them.
void ComputationController::Install(ComputationOutcome&& outcome) {
    FractalModel& model = m_shared.m_model;
    ViewState& view = m_shared.m_view;
    // The kind grid, which the fitted display asks for, holds one byte per
    // start point.
    if (const std::size_t points = outcome.lists.kinds.size(); points > 0) {
        m_secondsPerPoint = outcome.seconds / static_cast<double>(points);
        m_measuredIterations = outcome.params.iterations;
    }
    view.SetParams(outcome.params);
    model.SetParams(outcome.params);
    model.Install(std::move(outcome.lists));
    m_shared.endCounts.Clear();
    model.report = std::move(outcome.report);
    m_shared.computedOrigin = QPoint(outcome.originX, outcome.originY);
    view.m_listsOriginX = outcome.originX;
    view.m_listsOriginY = outcome.originY;
    switch (m_pendingStep) {
        case HistoryStep::Push: m_history.Push(outcome.params, false); break;
        case HistoryStep::PushZoom: m_history.Push(outcome.params, true); break;
        case HistoryStep::Back: m_history.MoveBack(); break;
        case HistoryStep::Forward: m_history.MoveForward(); break;
        case HistoryStep::Home: m_history.MoveHome(); break;
        case HistoryStep::None: break;
    }
    ShowHistoryState();
    m_shared.RequestRepaint();
    if (listeners.installed) listeners.installed(outcome, m_pendingStep);
}

void ComputationController::ShowProgress() {
    if (!Running() || m_progress) return;
    if (m_liveRun) {
        if (listeners.liveProgressDue) listeners.liveProgressDue();
        m_progressPoll.start();
        return;
    }
    m_progress = std::make_unique<QProgressDialog>(QStringLiteral("Вычисляются аттракторы и бассейны..."),
                                                   QStringLiteral("Отмена"), 0, kProgressSteps, m_shared.window);
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
        m_runner.Cancel();
        if (m_progress) m_progress->setLabelText(QStringLiteral("Вычисление прерывается..."));
    });
    m_progress->setValue(0);
    m_progress->show();
    m_progressPoll.start();
}

void ComputationController::UpdateProgress() {
    if (listeners.progressed) listeners.progressed(m_runner.Progress());
    if (!m_progress || m_progress->wasCanceled()) return;
    m_progress->setValue(static_cast<int>(m_runner.Progress() * kProgressSteps));
}

void ComputationController::SetCommandsAvailable(bool available) {
    if (!available) {
        m_enabledBeforeComputation.clear();
        for (auto it = m_shared.actions.cbegin(); it != m_shared.actions.cend(); ++it) {
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
        ShowHistoryState();
    }
}

void ComputationController::ShowHistoryState() {
    if (QAction* back = m_shared.Action(kCmdBack)) back->setEnabled(m_history.Back().has_value());
    if (QAction* forward = m_shared.Action(kCmdForward)) forward->setEnabled(m_history.Forward().has_value());
}

}  // namespace orbitograph

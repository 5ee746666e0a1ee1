#pragma once

#include <QLoggingCategory>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "app/job_runner.h"
#include "app/spaces_job.h"
#include "app/window_shared.h"
#include "view/zoom.h"

class QAction;
class QLabel;
class QProgressDialog;

namespace orbitograph {

// "orbitograph.refine": a line at every computation's request and every
// picture painted, with the milliseconds of the steady clock (off unless
// QT_LOGGING_RULES="orbitograph.refine.debug=true").
Q_DECLARE_LOGGING_CATEGORY(RefineLog)
double SteadyMilliseconds();

// The computation of the main picture and its history: "&Параметры
// фрактала F7", "Назад", "Вперёд", "Исходная область", and every other
// part's request for a new picture. One computation runs at a time, on a
// worker thread; while it runs only Help, About and Exit can be chosen
// (Exit cancels it), and a live change supersedes it. The view state and
// the model change only when a result is put in place.
//
// In the fitted display a computation whose exact grid would take longer
// than a glance first shows previews: the same rectangle on coarser grids,
// each replacing the last, marked "Предварительно" in the status bar. A
// preview lives apart from the picture in place (its own view state and
// model, with no report) and is dropped when the computation ends: what
// the window reports, saves or exports is always the exact picture's.
class ComputationController : public QObject {
public:
    // What a finished computation does to the history.
    enum class HistoryStep { Push, PushZoom, Back, Forward, Home, None };

    // What the other parts hear, on the interface thread. installed: a
    // result has just been put in place and a repaint requested. finished:
    // a computation ended in whatever way (after its result and any error
    // shown; after the error when no thread could be made). liveProgressDue:
    // a live run has gone on for the progress delay (it never gets the
    // progress dialog). progressed: the fraction done, while progress shows.
    struct Listeners {
        std::function<void(const ComputationOutcome&, HistoryStep)> installed;
        std::function<void(const ComputationOutcome&, HistoryStep, bool live)> finished;
        std::function<void()> liveProgressDue;
        std::function<void(double fraction)> progressed;
        // The analysis asked for was refused for these parameters (and the
        // refusal shown); the computation goes on without it.
        std::function<void()> analysisRefused;
        // A preview has just been put up (or taken down: null).
        std::function<void(const ComputationOutcome* preview)> previewed;
    };

    // A preview as the window draws it: the view state in place with the
    // preview's parameters, and its lists.
    struct PreviewPicture {
        ViewState view;
        FractalModel model;
        int coarseLevel = 0;
    };

    // engine defaults to ComputeSpaces, startThread to std::jthread's
    // constructor.
    ComputationController(WindowShared& shared, SpacesEngine engine, ThreadStarter startThread);
    ~ComputationController() override;

    void OnFractalParameters();
    void OnBack();
    void OnForward();
    void OnHomeArea();
    // "Назад" and "Вперёд" enabled exactly when there is a picture to go to.
    void ShowHistoryState();

    // Computes the picture of these parameters at the origin of the last
    // repaint (an origin too far out is refused with a message), with the
    // analysis when the window wants it (an analysis the parameters do not
    // allow is refused with a message and the picture computed without it),
    // with the metrics when the dock "Аттракторы" is shown. live: a
    // change from the dock, which supersedes a running computation and
    // shows its progress in the status bar instead of a dialog.
    void Start(const ModelParams& params, HistoryStep step = HistoryStep::Push, bool live = false);
    // Cancels the running computation and takes its progress away.
    void Stop();

    bool Running() const { return m_runner.Running(); }
    // The engine every computation runs.
    const SpacesEngine& Engine() const { return m_engine; }
    // The running computation came from the dock.
    bool RunningLive() const { return Running() && m_liveRun; }
    ParamHistory& History() { return m_history; }
    const ParamHistory& History() const { return m_history; }
    QProgressDialog* Progress() const { return m_progress.get(); }
    // The preview shown while the exact grid is computed, or null.
    const PreviewPicture* Preview() const { return m_preview.get(); }
    PreviewPicture* Preview() { return m_preview.get(); }
    // How long the first preview may take to compute, in seconds.
    void SetPreviewBudget(double seconds) { m_previewBudget = seconds; }
    void SetProgressDelay(int milliseconds) { m_progressDelay.setInterval(milliseconds); }
    Listeners listeners;

private:
    // Computes the history's set `to` with this step, or says `nowhere` when
    // there is none; nothing while a computation runs.
    void GoThroughHistory(const std::optional<ModelParams>& to, HistoryStep step, const QString& nowhere);
    void OnPreview(ComputationOutcome&& outcome);
    void DropPreview();
    int PreviewLevelFor(const ModelParams& params) const;
    void OnFinished(ComputationOutcome&& outcome);
    void Install(ComputationOutcome&& outcome);
    void ShowProgress();
    void UpdateProgress();
    void SetCommandsAvailable(bool available);

    WindowShared& m_shared;
    SpacesEngine m_engine;
    SpacesRunner m_runner;
    ParamHistory m_history;
    HistoryStep m_pendingStep = HistoryStep::Push;
    bool m_liveRun = false;  // the newest request came from the dock
    QHash<QAction*, bool> m_enabledBeforeComputation;
    QTimer m_progressDelay;
    QTimer m_progressPoll;
    std::unique_ptr<QProgressDialog> m_progress;
    std::unique_ptr<PreviewPicture> m_preview;
    QLabel* m_previewMark = nullptr;  // in the status bar, made at the first preview
    double m_previewBudget;
    // The engine's time per start point in the last exact computation, and
    // its iteration count; negative before any.
    double m_secondsPerPoint = -1.0;
    std::int32_t m_measuredIterations = 0;
};

}  // namespace orbitograph

#pragma once

#include "app/computation_controller.h"
#include "app/window_shared.h"

class QProgressBar;

namespace orbitograph {

class LiveParamsDock;

// The dock "Параметры модели": every sound change computes at once and
// supersedes the computation still running, its progress shown in the
// status bar and the dock; the history records a change when it is
// complete, not every value a slider passes. The dock is made when first
// shown.
class LiveController {
public:
    LiveController(WindowShared& shared, ComputationController& computation);

    // The item "Параметры модели" checked or unchecked.
    void OnLiveParams();
    // What the computation tells: a live run's progress is due, how far a
    // run is, and that a run ended.
    void ShowProgress();
    void Progressed(double fraction);
    void Finished(const ComputationOutcome& outcome, ComputationController::HistoryStep step, bool live);

    LiveParamsDock* Dock() const { return m_dock; }
    // The status bar's progress bar of a long live computation, while shown.
    QProgressBar* StatusProgress() const { return m_statusProgress; }

private:
    void OnCommit();

    WindowShared& m_shared;
    ComputationController& m_computation;
    LiveParamsDock* m_dock = nullptr;  // a child of the window
    QProgressBar* m_statusProgress = nullptr;
    bool m_unrecorded = false;      // the picture's parameters are not in the history yet
    bool m_recordWhenDone = false;  // record them once the newest request is done
};

}  // namespace orbitograph

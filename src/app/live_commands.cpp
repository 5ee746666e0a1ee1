// The dock "Параметры модели": every sound change computes at once and
// supersedes the computation still running; the history records a change
// when it is complete, not every value a slider passes.
#include <QAction>
#include <QProgressBar>
#include <QStatusBar>

#include "app/command_ids.h"
#include "app/live_params_dock.h"
#include "app/main_wnd.h"

namespace orbitograph {

void CMainWnd::OnLiveParams() {
    const bool on = Action(kCmdLiveParams)->isChecked();
    if (!m_liveDock) {
        if (!on) return;
        m_liveDock = new LiveParamsDock(this);
        m_liveDock->Load(m_view.Params());
        m_liveDock->onChange = [this](const ModelParams& p) { StartComputation(p, HistoryStep::None, true); };
        m_liveDock->onCommit = [this] { OnLiveCommit(); };
        m_liveDock->onClosed = [this] { Action(kCmdLiveParams)->setChecked(false); };
        addDockWidget(Qt::RightDockWidgetArea, m_liveDock);
    }
    m_liveDock->setVisible(on);
    if (on) m_liveDock->Load(m_view.Params());
}

void CMainWnd::OnLiveCommit() {
    if (Computing() && m_liveRun) {
        m_recordWhenDone = true;
    } else if (m_liveUnrecorded) {
        m_history.Push(m_view.Params(), false);
        m_liveUnrecorded = false;
    }
}

void CMainWnd::ShowLiveProgress() {
    // In the status bar when it is shown; the window's layout is never
    // changed for it.
    QStatusBar* bar = findChild<QStatusBar*>();
    if (bar && bar->isVisible()) {
        if (!m_statusProgress) {
            m_statusProgress = new QProgressBar(bar);
            m_statusProgress->setRange(0, 1000);
            m_statusProgress->setMaximumWidth(200);
            bar->addPermanentWidget(m_statusProgress);
        }
        m_statusProgress->setValue(0);
        m_statusProgress->show();
    }
    if (m_liveDock) m_liveDock->ShowStatus(QStringLiteral("Вычисляются аттракторы и бассейны..."));
    m_progressPoll.start();
}

void CMainWnd::LiveFinished(const ComputationOutcome& outcome) {
    if (m_statusProgress) m_statusProgress->hide();
    const bool done = outcome.status == ComputeStatus::Done && !outcome.notStarted;
    if (done && m_liveRun) {
        if (m_recordWhenDone) m_history.Push(outcome.params, false);
        m_liveUnrecorded = !m_recordWhenDone;
    } else if (done && m_pendingStep != HistoryStep::None) {
        m_liveUnrecorded = false;
    }
    m_recordWhenDone = false;
    // The dock shows what the picture was computed with; a change that
    // could not be computed is taken back.
    if (m_liveDock) m_liveDock->Load(m_view.Params());
}

}  // namespace orbitograph

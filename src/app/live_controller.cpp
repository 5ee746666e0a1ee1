#include "app/live_controller.h"

#include <QAction>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>

#include "app/command_ids.h"
#include "app/live_params_dock.h"

namespace orbitograph {

namespace {

constexpr int kProgressSteps = 1000;

}  // namespace

LiveController::LiveController(WindowShared& shared, ComputationController& computation)
    : m_shared(shared), m_computation(computation) {}

void LiveController::OnLiveParams() {
    QAction* item = m_shared.Action(kCmdLiveParams);
    const bool on = item->isChecked();
    if (!m_dock) {
        if (!on) return;
        m_dock = new LiveParamsDock(m_shared.window);
        m_dock->Load(m_shared.m_view.Params());
        m_dock->onChange = [this](const ModelParams& p) {
            m_computation.Start(p, ComputationController::HistoryStep::None, true);
        };
        m_dock->onCommit = [this] { OnCommit(); };
        m_dock->onClosed = [item] { item->setChecked(false); };
        m_shared.window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    }
    m_dock->setVisible(on);
    if (on) m_dock->Load(m_shared.m_view.Params());
}

void LiveController::OnCommit() {
    if (m_computation.RunningLive()) {
        m_recordWhenDone = true;
    } else if (m_unrecorded) {
        m_computation.History().Push(m_shared.m_view.Params(), false);
        m_unrecorded = false;
    }
}

// In the status bar when it is shown; the window's layout is never changed
// for it.
void LiveController::ShowProgress() {
    if (QStatusBar* bar = m_shared.ShownStatusBar()) {
        if (!m_statusProgress) {
            m_statusProgress = new QProgressBar(bar);
            m_statusProgress->setRange(0, kProgressSteps);
            m_statusProgress->setMaximumWidth(200);
            bar->addPermanentWidget(m_statusProgress);
        }
        m_statusProgress->setValue(0);
        m_statusProgress->show();
    }
    if (m_dock) m_dock->ShowStatus(QStringLiteral("Вычисляются аттракторы и бассейны..."));
}

void LiveController::Progressed(double fraction) {
    if (m_statusProgress) m_statusProgress->setValue(static_cast<int>(fraction * kProgressSteps));
}

void LiveController::Finished(const ComputationOutcome& outcome, ComputationController::HistoryStep step, bool live) {
    if (m_statusProgress) m_statusProgress->hide();
    const bool done = outcome.status == ComputeStatus::Done && !outcome.notStarted;
    if (done && live) {
        if (m_recordWhenDone) m_computation.History().Push(outcome.params, false);
        m_unrecorded = !m_recordWhenDone;
    } else if (done && step != ComputationController::HistoryStep::None) {
        m_unrecorded = false;
    }
    m_recordWhenDone = false;
    // The dock shows what the picture was computed with; a change that
    // could not be computed is taken back.
    if (m_dock) m_dock->Load(m_shared.m_view.Params());
}

}  // namespace orbitograph

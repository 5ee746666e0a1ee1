#include "app/attractor_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>

#include "app/analysis_refusal.h"
#include "app/attractor_dock.h"
#include "app/command_ids.h"
#include "app/computation_controller.h"
#include "app/probe_controller.h"
#include "model/attractor_cycle.h"
#include "view/attractor_highlight.h"
#include "view/basin_colouring.h"
#include "view/fitted_frame.h"
#include "view/frame.h"

namespace orbitograph {

namespace {

struct ColouringItem {
    int id;
    const char* text;
    std::optional<AnalysisColumn> column;
};
const ColouringItem kColourings[] = {
    {kCmdColourByKind, "По областям", std::nullopt},
    {kCmdColourByAttractor, "По аттракторам", AnalysisColumn::Attractor},
    {kCmdColourByExit, "По шагу выхода", AnalysisColumn::ExitStep},
    {kCmdColourByPeriod, "По периоду", AnalysisColumn::Period},
};

}  // namespace

AttractorController::AttractorController(WindowShared& shared, ComputationController& computation,
                                         ProbeController& probe)
    : m_shared(shared), m_computation(computation), m_probe(probe) {
    m_dock = new AttractorDock(shared.window);
    shared.window->addDockWidget(Qt::LeftDockWidgetArea, m_dock);
    m_dock->hide();
    m_dock->selected = [this](std::optional<std::int32_t> id) { Select(id); };
    m_dock->activated = [this](std::int32_t id) {
        const GridAnalysis& a = m_shared.m_model.analysis;
        if (m_computation.Running() || id < 1 || static_cast<std::size_t>(id) > a.attractors.size()) return;
        const AttractorEntry& entry = a.attractors[static_cast<std::size_t>(id - 1)];
        m_probe.ProbeStart(entry.x, entry.y);
    };
    m_dock->closed = [this] {
        m_shared.attractorDockShown = false;
        Select(std::nullopt);
        SyncMenu();
        DropWhenUnwanted();
    };
}

// The dock outlives this (the window deletes it): it is told no more.
AttractorController::~AttractorController() {
    m_dock->selected = nullptr;
    m_dock->activated = nullptr;
    m_dock->closed = nullptr;
}

void AttractorController::AddToMenu(QMenu* menu) {
    QMenu* colouring = menu->addMenu(QStringLiteral("Раскраска бассейнов"));
    auto* group = new QActionGroup(colouring);
    group->setExclusive(true);
    for (const ColouringItem& item : kColourings) {
        QAction* action = colouring->addAction(QString::fromUtf8(item.text));
        action->setCheckable(true);
        action->setChecked(!item.column);
        group->addAction(action);
        m_shared.actions.insert(item.id, action);
        connect(action, &QAction::triggered, this, [this, column = item.column] { OnColourBy(column); });
    }
    QAction* dock = menu->addAction(QStringLiteral("Аттракторы"));
    dock->setCheckable(true);
    m_shared.actions.insert(kCmdAttractorDock, dock);
    connect(dock, &QAction::triggered, this, &AttractorController::OnAttractorDock);
}

void AttractorController::OnColourBy(std::optional<AnalysisColumn> column) {
    m_shared.m_view.m_colourBy = column;
    SyncMenu();
    Refresh();
}

void AttractorController::OnAttractorDock() {
    const QAction* action = m_shared.Action(kCmdAttractorDock);
    if (action && !action->isChecked()) {
        m_dock->close();  // its closed callback does the rest
        return;
    }
    m_shared.attractorDockShown = true;
    if (LacksAnalysis())
        m_dock->Clear(m_shared.HasPicture() ? QStringLiteral("Вычисляется анализ орбит...")
                                            : QStringLiteral("Рисунок ещё не вычислен."));
    m_dock->Open();
    SyncMenu();
    Refresh();
}

void AttractorController::PictureInstalled(const ComputationOutcome& outcome) {
    m_selected.reset();
    m_cycle.clear();
    m_haveMetrics = outcome.kindMetrics.has_value() && outcome.attractorMetrics.has_value();
    SyncMenu();
    if (!m_shared.attractorDockShown) return;
    const FractalModel& model = m_shared.m_model;
    if (HoldsAnalysis(model, ListGridOfView(m_shared.m_view)))
        m_dock->Show(model.analysis, outcome.kindMetrics, outcome.attractorMetrics);
    else
        m_dock->Clear(QStringLiteral("Анализ орбит не вычислен."));
}

void AttractorController::AnalysisRefused() {
    m_shared.m_view.m_colourBy.reset();
    if (m_dock->isVisible()) m_dock->close();
    m_shared.attractorDockShown = false;
    SyncMenu();
    DropWhenUnwanted();
}

void AttractorController::DrawOver(QImage& canvas) const {
    if (!m_selected || !HoldsAnalysis(m_shared.m_model, ListGridOfView(m_shared.m_view))) return;
    DimOtherBasins(canvas, m_shared.m_view, m_shared.m_model, *m_selected, kCanvasBackground);
    DrawAttractorCycle(canvas, m_shared.m_view, m_cycle, AttractorColour(*m_selected));
}

void AttractorController::Select(std::optional<std::int32_t> id) {
    const std::vector<AttractorEntry>& catalogue = m_shared.m_model.analysis.attractors;
    if (id && (*id < 1 || static_cast<std::size_t>(*id) > catalogue.size())) id.reset();
    if (id == m_selected) return;
    m_selected = id;
    m_cycle = id ? AttractorCycle(m_shared.m_model.Params(), catalogue[static_cast<std::size_t>(*id - 1)])
                 : std::vector<State>{};
    m_shared.RequestRepaint();
}

void AttractorController::SyncMenu() {
    const std::optional<AnalysisColumn>& colourBy = m_shared.m_view.m_colourBy;
    for (const ColouringItem& item : kColourings) {
        if (QAction* action = m_shared.Action(item.id)) action->setChecked(item.column == colourBy);
    }
    if (QAction* dock = m_shared.Action(kCmdAttractorDock)) dock->setChecked(m_shared.attractorDockShown);
}

bool AttractorController::LacksAnalysis() const {
    const bool held = HoldsAnalysis(m_shared.m_model, ListGridOfView(m_shared.m_view));
    return !held || (m_shared.attractorDockShown && !m_haveMetrics);
}

// What the view now wants of the lists in place: nothing more (the analysis
// dropped when nothing shows it), or the analysis computed with them.
void AttractorController::Refresh() {
    if (!m_shared.AnalysisWanted()) {
        DropWhenUnwanted();
    } else if (m_shared.HasPicture() && LacksAnalysis() && !m_computation.Running()) {
        // Refused here, the picture in place stays: nothing to compute.
        const ModelParams p = m_shared.m_model.Params();
        if (const auto refused = CheckAnalysis(p, m_shared.m_view.m_attractorDelta)) {
            m_shared.hooks.showError(m_shared.window, AnalysisRefusalWords(*refused));
            AnalysisRefused();
        } else {
            m_computation.Start(p, ComputationController::HistoryStep::None);
        }
    }
    m_shared.RequestRepaint();
}

void AttractorController::DropWhenUnwanted() {
    if (m_shared.AnalysisWanted()) return;
    Select(std::nullopt);
    m_shared.m_model.analysis = GridAnalysis{};  // released, not only emptied
    m_haveMetrics = false;
    m_dock->Clear(QString());
    m_shared.RequestRepaint();
}

}  // namespace orbitograph

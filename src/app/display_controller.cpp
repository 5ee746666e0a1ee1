#include "app/display_controller.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>

#include "app/command_ids.h"
#include "app/computation_controller.h"
#include "app/set_sheet.h"
#include "legend/legenda_dlg.h"

namespace orbitograph {

DisplayController::DisplayController(WindowShared& shared, ComputationController& computation)
    : m_shared(shared), m_computation(computation) {}

void DisplayController::OnProgramSettings() {
    CSetSheet sheet(m_shared.window);
    sheet.SetSwitches(m_shared.m_view);
    const bool accepted = m_shared.hooks.runDialog(sheet) == QDialog::Accepted;
    if (accepted) {
        static_cast<DisplaySwitches&>(m_shared.m_view) = sheet.Switches();
        m_shared.RequestRepaint();
    }
    ApplyTwoModesToMenu();
    if (accepted) ApplyFitWindow();
}

void DisplayController::OnShowAttractors() {
    m_shared.m_view.OnShowAttractors();
    m_shared.RequestRepaint();
}

void DisplayController::OnShowBasins() {
    m_shared.m_view.OnShowBasins();
    m_shared.RequestRepaint();
}

void DisplayController::OnLegend() {
    CLegendaDlg dlg(m_shared.window);
    static_cast<LegendFields&>(dlg) = static_cast<const LegendFields&>(m_shared.m_view);
    if (m_shared.hooks.runDialog(dlg) != QDialog::Accepted) return;
    static_cast<LegendFields&>(m_shared.m_view) = static_cast<const LegendFields&>(dlg);
    m_shared.RequestRepaint();
}

void DisplayController::OnFitWindow() {
    m_shared.m_view.m_fitWindow = m_shared.Action(kCmdFitWindow)->isChecked() ? 1 : 0;
    m_shared.RequestRepaint();
    ApplyFitWindow();
}

void DisplayController::OnStatusBar() {
    m_shared.window->statusBar()->setVisible(m_shared.Action(kCmdStatusBar)->isChecked());
    m_shared.RequestRepaint();
}

void DisplayController::TakeDisplayOf(const ViewState& from) {
    ViewState& view = m_shared.m_view;
    static_cast<DisplaySwitches&>(view) = from;
    static_cast<LegendFields&>(view) = from;
    view.m_viewMode = from.m_viewMode;
    ApplyTwoModesToMenu();
    if (QAction* fit = m_shared.Action(kCmdFitWindow)) fit->setChecked(view.m_fitWindow == 1);
    m_shared.RequestRepaint();
}

void DisplayController::ApplyTwoModesToMenu() {
    QAction* attractors = m_shared.Action(kCmdShowAttractors);
    QAction* basins = m_shared.Action(kCmdShowBasins);
    if (m_shared.m_view.m_twoModes == 0) {
        basins->setEnabled(true);
        attractors->setEnabled(true);
    } else if (m_shared.m_view.m_twoModes == 1) {
        basins->setEnabled(false);
        attractors->setEnabled(false);
    }
}

// The menu item shows the switch; the fitted display needs the exact end
// points of the lists in place, computed anew when they are missing, and
// they are dropped when it goes off.
void DisplayController::ApplyFitWindow() {
    FractalModel& model = m_shared.m_model;
    const bool on = m_shared.m_view.m_fitWindow == 1;
    m_shared.Action(kCmdFitWindow)->setChecked(on);
    if (!on) {
        // Released, not only emptied.
        AttractorEnds().x.swap(model.attractorEnds.x);
        AttractorEnds().y.swap(model.attractorEnds.y);
        std::vector<EndKind>().swap(model.kinds);
        m_shared.endCounts.Clear();
        return;
    }
    const bool ends = model.attractorEnds.size() == model.attractors.size();
    if (!ends && m_shared.HasPicture() && !m_computation.Running())
        m_computation.Start(model.Params(), ComputationController::HistoryStep::None);
}

}  // namespace orbitograph

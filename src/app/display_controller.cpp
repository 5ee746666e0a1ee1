#include "app/display_controller.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>

#include "app/command_ids.h"
#include "app/computation_controller.h"
#include "app/settings_sheet.h"
#include "legend_dialog/legend_dlg.h"

namespace orbitograph {

DisplayController::DisplayController(WindowShared& shared, ComputationController& computation)
    : m_shared(shared), m_computation(computation) {}

void DisplayController::OnProgramSettings() {
    CSettingsSheet sheet(m_shared.window);
    sheet.SetSwitches(m_shared.m_view.m_switches);
    const bool accepted = m_shared.hooks.runDialog(sheet) == QDialog::Accepted;
    if (accepted) {
        m_shared.m_view.m_switches = sheet.Switches();
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
    CLegendDlg dlg(m_shared.window);
    // The dialog's own members are its copy of the fields.
    static_cast<LegendFields&>(dlg) = m_shared.m_view.m_legend;
    if (m_shared.hooks.runDialog(dlg) != QDialog::Accepted) return;
    m_shared.m_view.m_legend = static_cast<const LegendFields&>(dlg);
    m_shared.RequestRepaint();
}

void DisplayController::OnFitWindow() {
    m_shared.m_view.m_switches.m_fitWindow = m_shared.Action(kCmdFitWindow)->isChecked();
    m_shared.RequestRepaint();
    ApplyFitWindow();
}

void DisplayController::OnStatusBar() {
    m_shared.window->statusBar()->setVisible(m_shared.Action(kCmdStatusBar)->isChecked());
    m_shared.RequestRepaint();
}

void DisplayController::TakeDisplayOf(const ViewState& from) {
    ViewState& view = m_shared.m_view;
    view.m_switches = from.m_switches;
    view.m_legend = from.m_legend;
    view.m_viewMode = from.m_viewMode;
    view.m_colourBy = from.m_colourBy;
    view.m_attractorDelta = from.m_attractorDelta;
    ApplyTwoModesToMenu();
    if (QAction* fit = m_shared.Action(kCmdFitWindow)) fit->setChecked(view.m_switches.m_fitWindow);
    m_shared.RequestRepaint();
}

void DisplayController::ApplyTwoModesToMenu() {
    QAction* attractors = m_shared.Action(kCmdShowAttractors);
    QAction* basins = m_shared.Action(kCmdShowBasins);
    const bool single = !m_shared.m_view.m_switches.m_twoModes;
    basins->setEnabled(single);
    attractors->setEnabled(single);
}

// The menu item shows the switch; the fitted display needs the exact end
// points of the lists in place, computed anew when they are missing, and
// they are dropped when it goes off.
void DisplayController::ApplyFitWindow() {
    FractalModel& model = m_shared.m_model;
    const bool on = m_shared.m_view.m_switches.m_fitWindow;
    m_shared.Action(kCmdFitWindow)->setChecked(on);
    if (!on) {
        // Released, not only emptied.
        AttractorEnds().x.swap(model.attractorEnds.x);
        AttractorEnds().y.swap(model.attractorEnds.y);
        KindGrid().swap(model.kinds);
        m_shared.endCounts.Clear();
        return;
    }
    const bool ends = model.attractorEnds.size() == model.attractors.size();
    if (!ends && m_shared.HasPicture() && !m_computation.Running())
        m_computation.Start(model.Params(), ComputationController::HistoryStep::None);
}

}  // namespace orbitograph

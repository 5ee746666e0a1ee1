#pragma once

#include "app/window_shared.h"

namespace orbitograph {

class ComputationController;

// How the picture in place is shown: the settings sheet, the legend dialog,
// the two single-panel commands, "По размеру окна" and "Строка состояния".
// Each changes the view state and requests a repaint; nothing is computed
// but the exact end points the fitted display needs when they are missing.
// The colouring of the basins belongs to AttractorController.
class DisplayController {
public:
    DisplayController(WindowShared& shared, ComputationController& computation);

    void OnProgramSettings();
    void OnShowAttractors();
    void OnShowBasins();
    void OnLegend();
    void OnFitWindow();
    void OnStatusBar();
    // Takes the display switches, the legend, the single panel and the
    // colouring of another view state (a saved picture's), menu included.
    void TakeDisplayOf(const ViewState& from);

private:
    void ApplyTwoModesToMenu();
    void ApplyFitWindow();

    WindowShared& m_shared;
    ComputationController& m_computation;
};

}  // namespace orbitograph

#pragma once

#include "app/window_shared.h"

namespace orbitograph {

class ComputationController;
class DisplayController;
class ProbeController;

// "Открыть параметры из рисунка..." (the frame of a saved picture made
// again: its parameters computed, its display taken, the window's own size
// and origin kept) and "Экспорт данных..." (the computed grid written for
// analysis, as .npz or .csv).
class PictureDataCommands {
public:
    PictureDataCommands(WindowShared& shared, ComputationController& computation, DisplayController& display,
                        ProbeController& probe);

    void OnOpenParamsFromPicture();
    void OnExportData();

private:
    bool Computing() const;

    WindowShared& m_shared;
    UiHooks& m_hooks;
    const FractalModel& m_model;
    QWidget* m_window;
    ComputationController& m_computation;
    DisplayController& m_display;
    ProbeController& m_probe;
};

}  // namespace orbitograph

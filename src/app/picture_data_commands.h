#pragma once

#include <QTimer>
#include <memory>

#include "app/export_job.h"
#include "app/window_shared.h"

class QProgressDialog;

namespace orbitograph {

class ComputationController;
class DisplayController;
class ProbeController;

// "Открыть параметры из рисунка..." (the frame of a saved picture made
// again: its parameters computed, its display taken, the window's own size
// and origin kept) and "Экспорт данных..." (the computed grid written for
// analysis, as .npz or .csv). The archive is written in the background
// with its own progress dialog, which cancels it; the window stays free,
// and a second export is refused until the first has ended.
class PictureDataCommands {
public:
    // engine computes the archive's grid (ComputeSpaces when null).
    PictureDataCommands(WindowShared& shared, ComputationController& computation, DisplayController& display,
                        ProbeController& probe, SpacesEngine engine = {}, ThreadStarter startThread = {});
    ~PictureDataCommands();

    void OnOpenParamsFromPicture();
    void OnExportData();

    bool Exporting() const { return m_export.Running(); }
    // The export's progress dialog while it runs.
    QProgressDialog* ExportProgress() const { return m_exportProgress.get(); }

private:
    bool Computing() const;
    void StartNpzExport(const QString& path);
    void OnExported(ExportRunner::Delivery&& delivery, const QString& path);

    WindowShared& m_shared;
    UiHooks& m_hooks;
    const FractalModel& m_model;
    QWidget* m_window;
    ComputationController& m_computation;
    DisplayController& m_display;
    ProbeController& m_probe;
    SpacesEngine m_engine;
    ExportRunner m_export;
    std::unique_ptr<QProgressDialog> m_exportProgress;
    QTimer m_exportPoll;
};

}  // namespace orbitograph

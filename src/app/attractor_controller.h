#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/spaces_job.h"
#include "app/window_shared.h"
#include "model/orbit.h"

class QImage;
class QMenu;

namespace orbitograph {

class AttractorDock;
class ComputationController;
class ProbeController;

// The analysis of every orbit in the window: the sub-menu "Раскраска
// бассейнов" (by kind, attractor, exit step or period) and the dock
// "Аттракторы" with the catalogue and the grid's metrics. A colouring or
// the dock that needs the analysis the lists in place lack computes the
// picture again with it (the same parameters, no history step); with the
// colouring by kind and the dock closed the analysis is dropped and nothing
// of it is computed. A row selected in the dock dims the other basins and
// marks its attractor's cycle; a double click probes the cycle's first
// state.
class AttractorController : public QObject {
public:
    AttractorController(WindowShared& shared, ComputationController& computation, ProbeController& probe);
    ~AttractorController() override;

    // Adds the sub-menu and the dock's item to the menu, their actions under
    // their command ids.
    void AddToMenu(QMenu* menu);

    // The colouring of the basins: unset for the kinds.
    void OnColourBy(std::optional<AnalysisColumn> column);
    void OnAttractorDock();
    // A computed picture is in place; its outcome's metrics go to the dock.
    void PictureInstalled(const ComputationOutcome& outcome);
    // The analysis was refused: the kinds and the dock closed.
    void AnalysisRefused();
    // Draws the selection, if any, over a composed canvas (before the probe).
    void DrawOver(QImage& canvas) const;

    AttractorDock* Dock() const { return m_dock; }
    std::optional<std::int32_t> Selected() const { return m_selected; }

private:
    void Select(std::optional<std::int32_t> id);
    void SyncMenu();
    void Refresh();
    bool LacksAnalysis() const;
    void DropWhenUnwanted();

    WindowShared& m_shared;
    ComputationController& m_computation;
    ProbeController& m_probe;
    AttractorDock* m_dock = nullptr;
    std::optional<std::int32_t> m_selected;
    std::vector<State> m_cycle;  // the selected attractor's cycle
    bool m_haveMetrics = false;  // the dock shows the metrics of the lists in place
};

}  // namespace orbitograph

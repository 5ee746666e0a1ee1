#pragma once

#include <cstdint>
#include <optional>

#include "legend/legend_fields.h"
#include "model/grid_analysis.h"
#include "model/model_params.h"
#include "view/client_rect.h"
#include "view/fitted_geometry.h"

namespace orbitograph {

// The eleven model parameters in the members that the view state and the
// parameters dialog hold them in.
struct ParamFields {
    double m_a = 0.0;
    std::int32_t m_dcOutward = 0;
    std::int32_t m_kcOutward = 0;
    double m_dc = 0.0;
    double m_kc = 0.0;
    std::int32_t m_iterations = 0;
    double m_step = 0.0;
    double m_x1 = 0.0;
    double m_x2 = 0.0;
    double m_y1 = 0.0;
    double m_y2 = 0.0;

    ModelParams Params() const { return ParamsOfMembers(*this); }
    void SetParams(const ModelParams& p) { SetParamMembers(*this, p); }
};

// What the settings sheet edits: the five display switches (both panels
// side by side, the parameter text, the legend, the grid, the half-turn
// copy of the attractors), the parameter text's font size in pixels, and
// the display that fits the window instead of one pixel per grid point.
// The defaults are the program's at start-up.
struct DisplaySwitches {
    bool m_twoModes = true;
    bool m_showParams = true;
    bool m_showLegend = false;
    bool m_showGrid = false;
    bool m_aSymmetry = false;
    std::int32_t m_fontSize = 13;
    bool m_fitWindow = false;
    friend bool operator==(const DisplaySwitches&, const DisplaySwitches&) = default;
};

// The panel a single-panel display shows.
enum class ViewMode { Attractors, Basins };

// The main window's display state apart from the model, the menu and the
// canvas: the last confirmed parameters (the model's defaults at start-up),
// the display switches, the legend's fields and the working data of the
// last repaint.
struct ViewState {
    ViewState() { m_params.SetParams(ModelParams{}); }

    ParamFields m_params;
    DisplaySwitches m_switches;
    LegendFields m_legend;
    ClientRect m_clientRect;
    ViewMode m_viewMode = ViewMode::Basins;
    std::int32_t m_offset = 0;
    // The model origin the point lists in place were computed with: the
    // fitted display reads each basin point's grid column and row back from
    // its pixel with it.
    std::int32_t m_listsOriginX = 0;
    std::int32_t m_listsOriginY = 0;
    // The value of the analysis the basins are coloured by (with a legend of
    // its own, view/basin_colouring.h); unset, or without the analysis in
    // the lists: the kinds.
    std::optional<AnalysisColumn> m_colourBy;
    // The merge distance of that analysis's attractor cycles.
    double m_attractorDelta = kDefaultAttractorDelta;
    // The room the parameter text and the legend took beside the panels of
    // the last fitted frame drawn (view/fitted_overlays.h); the panels are
    // laid out around it.
    FittedOverlays m_fittedOverlays;

    ModelParams Params() const { return m_params.Params(); }
    void SetParams(const ModelParams& p) { m_params.SetParams(p); }
    // The single panel shows the basins (else the attractors).
    bool BasinsAlone() const { return m_viewMode == ViewMode::Basins; }
    // The two single-panel commands; the caller repaints afterwards.
    void OnShowAttractors() { m_viewMode = ViewMode::Attractors; }
    void OnShowBasins() { m_viewMode = ViewMode::Basins; }
};

}  // namespace orbitograph

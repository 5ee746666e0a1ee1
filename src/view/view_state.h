#pragma once

#include <cstdint>
#include <optional>

#include "legend/legend_fields.h"
#include "model/grid_analysis.h"
#include "model/model_params.h"
#include "view/client_rect.h"

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
// copy of the attractors), each 0 or 1 with only exactly 1 counting as on,
// and the parameter text's font size in pixels; and the display that fits
// the window (m_fitWindow 1) instead of one pixel per grid point. The
// defaults are the program's at start-up.
struct DisplaySwitches {
    std::int32_t m_twoModes = 1, m_showParams = 1, m_showLegend = 0, m_showGrid = 0, m_aSymmetry = 0;
    std::int32_t m_fontSize = 13;
    std::int32_t m_fitWindow = 0;
    friend bool operator==(const DisplaySwitches&, const DisplaySwitches&) = default;
};

// The main window's display state apart from the model, the menu and the
// canvas: the last confirmed parameters (the model's defaults at start-up),
// the display switches, the legend's fields and the working data of the
// last repaint.
struct ViewState : LegendFields, DisplaySwitches, ParamFields {
    ViewState() { SetParams(ModelParams{}); }

    ClientRect m_clientRect;
    std::int32_t m_viewMode = 3;  // 3 basins, anything else attractors
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

    // The two single-panel commands; the caller repaints afterwards.
    void OnShowAttractors() { m_viewMode = 2; }
    void OnShowBasins() { m_viewMode = 3; }
};

}  // namespace orbitograph

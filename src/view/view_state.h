#pragma once

#include <cstdint>

#include "legend/legend_fields.h"
#include "model/model_params.h"
#include "view/client_rect.h"
#include "view/display_switches.h"

namespace orbitograph {

// The main window's display state apart from the model, the menu and the
// canvas: the last confirmed parameters, the display switches, the legend's
// fields and the working data of the last repaint.
struct ViewState : LegendFields, DisplaySwitches {
    ClientRect m_clientRect;
    std::int32_t m_iterations = 10;
    double m_a = 0.8;
    double m_step = 0.01;
    std::int32_t m_dcOutward = 1;
    std::int32_t m_kcOutward = 0;
    double m_dc = 0.5;
    double m_kc = 0.8;
    double m_x1 = -2.0;
    double m_x2 = 2.0;
    double m_y1 = -2.0;
    double m_y2 = 2.0;
    std::int32_t m_viewMode = 3;  // 3 basins, anything else attractors
    std::int32_t m_offset = 0;

    ModelParams Params() const { return ParamsOfMembers(*this); }
    void SetParams(const ModelParams& p) { SetParamMembers(*this, p); }

    // The two single-panel commands; the caller repaints afterwards.
    void OnShowAttractors() { m_viewMode = 2; }
    void OnShowBasins() { m_viewMode = 3; }
};

}  // namespace orbitograph

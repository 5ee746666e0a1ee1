#include "view/frame.h"

#include "legend/legend_panel.h"
#include "view/fitted_frame.h"
#include "view/grid_layer.h"
#include "view/panel_geometry.h"
#include "view/parameter_text.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

constexpr QRgb kBackground = 0xFFF0F0F0;

GridLines PanelGrid(const ViewState& v, std::int32_t shift, bool basinPanel) {
    const ParamFields& p = v.m_params;
    return LayOutGrid(v.m_clientRect, shift, basinPanel, p.m_step, p.m_x1, p.m_x2, p.m_y1, p.m_y2);
}

}  // namespace

QImage ComposeFrame(ViewState& view, FractalModel& model, int width, int height, const QImage* legendPicture,
                    EndCounts* counts) {
    view.m_clientRect = ClientRect{0, 0, width, height};
    const ClientRect& rect = view.m_clientRect;
    model.originY = (rect.top + rect.bottom) / 2;
    model.originX = (rect.left + rect.right) / 2;
    if (width <= 0 || height <= 0) return {};

    QImage canvas(width, height, QImage::Format_ARGB32);
    if (canvas.isNull()) return {};
    canvas.fill(kBackground);
    const DisplaySwitches& switches = view.m_switches;
    if (switches.m_fitWindow) {
        DrawFittedFrame(canvas, view, model, legendPicture, kBackground, counts);
        return canvas;
    }

    const bool twoPanels = switches.m_twoModes;
    const bool copy = switches.m_aSymmetry;
    const ParamFields& p = view.m_params;
    if (twoPanels) {
        view.m_offset = AttractorShift(p.m_step);
        DrawAttractors(canvas, model.attractors, view.m_offset, false, rect);
        if (copy) DrawAttractors(canvas, model.attractors, view.m_offset, true, rect);
        view.m_offset = BasinShift(p.m_x1, p.m_x2, p.m_step);
        DrawBasins(canvas, model, view.m_offset);
    } else if (view.BasinsAlone()) {
        DrawBasins(canvas, model, 0);
    } else {
        DrawAttractors(canvas, model.attractors, 0, false, rect);
        if (copy) DrawAttractors(canvas, model.attractors, 0, true, rect);
    }

    if (switches.m_showParams) DrawParameterText(canvas, model.report, switches.m_fontSize);

    if (switches.m_showGrid) {
        if (twoPanels) {
            DrawGrid(canvas, PanelGrid(view, AttractorShift(p.m_step), false));
            DrawGrid(canvas, PanelGrid(view, BasinShift(p.m_x1, p.m_x2, p.m_step), true));
        } else {
            DrawGrid(canvas, PanelGrid(view, 0, view.BasinsAlone()));
        }
    }

    if (switches.m_showLegend) DrawLegend(canvas, view.m_legend, legendPicture, rect.Height());
    return canvas;
}

}  // namespace orbitograph

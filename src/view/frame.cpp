#include "view/frame.h"

#include <algorithm>

#include "legend/legend_panel.h"
#include "view/basin_colouring.h"
#include "view/colouring_legend.h"
#include "view/fitted_frame.h"
#include "view/grid_layer.h"
#include "view/panel_geometry.h"
#include "view/parameter_text.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }

// Fills the canvas with colour in bands of about 4 MB, polling cancel before
// each; false when cancelled. A band takes milliseconds even where every
// page of it is touched for the first time.
bool Clear(QImage& canvas, QRgb colour, const std::atomic<bool>* cancel) {
    const qsizetype line = canvas.bytesPerLine();
    const int band = static_cast<int>(std::max<qsizetype>(1, (qsizetype{1} << 22) / line));
    uchar* const bits = canvas.bits();
    for (int top = 0; top < canvas.height(); top += band) {
        if (Cancelled(cancel)) return false;
        for (int y = top; y < std::min(top + band, canvas.height()); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(bits + y * line), canvas.width(), colour);
    }
    return true;
}

GridLines PanelGrid(const ViewState& v, std::int32_t shift, bool basinPanel) {
    const ParamFields& p = v.m_params;
    return LayOutGrid(v.m_clientRect, shift, basinPanel, p.m_step, p.m_x1, p.m_x2, p.m_y1, p.m_y2);
}

}  // namespace

QImage ComposeFrame(ViewState& view, FractalModel& model, int width, int height, const QImage* legendPicture,
                    EndCounts* counts, const std::atomic<bool>* cancel) {
    view.m_clientRect = ClientRect{0, 0, width, height};
    const ClientRect& rect = view.m_clientRect;
    model.originY = (rect.top + rect.bottom) / 2;
    model.originX = (rect.left + rect.right) / 2;
    if (width <= 0 || height <= 0) return {};

    QImage canvas(width, height, QImage::Format_ARGB32);
    if (canvas.isNull() || !Clear(canvas, kCanvasBackground, cancel)) return {};
    const DisplaySwitches& switches = view.m_switches;
    if (switches.m_fitWindow) {
        const FittedOverlayPictures overlays = DrawFittedOverlays(view, model, legendPicture);
        view.m_fittedOverlays = overlays.room;
        if (!DrawFittedFrame(canvas, view, model, overlays, kCanvasBackground, counts, cancel)) return {};
        return canvas;
    }

    const bool twoPanels = switches.m_twoModes;
    const bool copy = switches.m_aSymmetry;
    const ParamFields& p = view.m_params;
    const std::optional<AnalysisColumn> colouring = ShownColouring(view, model);
    const auto drawBasins = [&](std::int32_t shift) {
        if (colouring)
            DrawColouredBasins(canvas, model, ListGridOfView(view), shift, *colouring);
        else
            DrawBasins(canvas, model, shift);
    };
    if (twoPanels) {
        view.m_offset = AttractorShift(p.m_step);
        DrawAttractors(canvas, model.attractors, view.m_offset, false, rect);
        if (copy) DrawAttractors(canvas, model.attractors, view.m_offset, true, rect);
        view.m_offset = BasinShift(p.m_x1, p.m_x2, p.m_step);
        drawBasins(view.m_offset);
    } else if (view.BasinsAlone()) {
        drawBasins(0);
    } else {
        DrawAttractors(canvas, model.attractors, 0, false, rect);
        if (copy) DrawAttractors(canvas, model.attractors, 0, true, rect);
    }

    if (Cancelled(cancel)) return {};
    if (switches.m_showParams) DrawParameterText(canvas, model.report, switches.m_fontSize);

    if (switches.m_showGrid) {
        if (twoPanels) {
            DrawGrid(canvas, PanelGrid(view, AttractorShift(p.m_step), false));
            DrawGrid(canvas, PanelGrid(view, BasinShift(p.m_x1, p.m_x2, p.m_step), true));
        } else {
            DrawGrid(canvas, PanelGrid(view, 0, view.BasinsAlone()));
        }
    }

    if (Cancelled(cancel)) return {};
    if (switches.m_showLegend && colouring)
        DrawColouringLegend(canvas, model.analysis, *colouring, rect.Height());
    else if (switches.m_showLegend)
        DrawLegend(canvas, view.m_legend, legendPicture, rect.Height());
    if (Cancelled(cancel)) return {};
    return canvas;
}

}  // namespace orbitograph

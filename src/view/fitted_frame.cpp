#include "view/fitted_frame.h"

#include "legend/legend_panel.h"
#include "view/basin_colouring.h"
#include "view/colouring_legend.h"
#include "view/fitted_layers.h"
#include "view/parameter_text.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

// The part of the canvas right of x and below y, drawing into the canvas's
// own memory, y rows high.
QImage Window(QImage& canvas, std::int32_t x, std::int32_t y, std::int32_t height) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height() || height < 1) return {};
    height = std::min(height, canvas.height() - y);
    return QImage(canvas.bits() + y * canvas.bytesPerLine() + x * 4, canvas.width() - x, height, canvas.bytesPerLine(),
                  QImage::Format_ARGB32);
}

}  // namespace

FittedLayout FittedLayoutOf(const ViewState& view) {
    const ModelParams p = view.Params();
    const bool empty = !(p.x1 <= p.x2 && p.y1 <= p.y2);
    return LayOutFitted(view.m_clientRect.Width(), view.m_clientRect.Height(), view.m_switches.m_twoModes,
                        view.BasinsAlone(), empty ? 0 : CountColumns(p), empty ? 0 : CountRows(p));
}

ListGrid ListGridOfView(const ViewState& view) {
    return ListGridOf(view.Params(), view.m_listsOriginX, view.m_listsOriginY);
}

bool DrawFittedFrame(QImage& canvas, const ViewState& view, const FractalModel& model, const QImage* legendPicture,
                     QRgb background, EndCounts* counts, const std::atomic<bool>* cancel) {
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    const FittedLayout f = FittedLayoutOf(view);
    const ListGrid grid = ListGridOfView(view);
    const AttractorEnds& ends = model.attractorEnds;
    const bool haveEnds = ends.size() == model.attractors.size();
    if (f.attractors && haveEnds) {
        const std::int32_t side = f.attractorSquare.width;
        const bool copy = view.m_switches.m_aSymmetry;
        EndDensity own;
        const EndDensity& density =
            counts ? counts->Density(ends, side, copy) : (own = EndPointDensity(ends, side, copy));
        DrawDensity(canvas, f.attractorSquare, density.ends, background, kAttractorColour);
        if (copy) DrawDensity(canvas, f.attractorSquare, density.copy, background, kAttractorCopyColour);
    }
    if (cancelled()) return false;
    const bool coloured = view.m_colourBy && HoldsAnalysis(model, grid);
    if (f.basins && coloured)
        DrawFittedColouredBasins(canvas, f.basinArea, model, grid, *view.m_colourBy);
    else if (f.basins)
        DrawFittedBasins(canvas, f.basinArea, model, grid);
    if (cancelled()) return false;

    const PixelRect& lead = f.attractors ? f.attractorSquare : f.basinSquare;
    if (view.m_switches.m_showParams && !lead.Empty()) {
        QImage text = Window(canvas, lead.left, lead.top, canvas.height() - lead.top);
        if (!text.isNull()) DrawParameterText(text, model.report, view.m_switches.m_fontSize);
    }
    if (view.m_switches.m_showGrid) {
        if (f.attractors) DrawFittedAttractorGrid(canvas, f.attractorSquare);
        if (f.basins) DrawFittedBasinGrid(canvas, f.basinArea, view.Params(), grid);
    }
    if (cancelled()) return false;
    if (view.m_switches.m_showLegend && !lead.Empty()) {
        const std::int32_t bottom = lead.top + lead.height;
        QImage legend = Window(canvas, lead.left, 0, bottom);
        if (!legend.isNull() && coloured)
            DrawColouringLegend(legend, model.analysis, *view.m_colourBy, bottom);
        else if (!legend.isNull())
            DrawLegend(legend, view.m_legend, legendPicture, bottom);
    }
    return !cancelled();
}

}  // namespace orbitograph

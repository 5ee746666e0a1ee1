#include "view/fitted_frame.h"

#include <QPainter>

#include "view/basin_colouring.h"
#include "view/fitted_layers.h"
#include "view/point_layers.h"

namespace orbitograph {

namespace {

// Puts a drawn overlay with its top-left corner at the rectangle's.
void PutOverlay(QImage& canvas, const QImage& overlay, const PixelRect& at) {
    if (overlay.isNull() || at.Empty()) return;
    QPainter painter(&canvas);
    painter.drawImage(QPoint(at.left, at.top), overlay);
}

}  // namespace

FittedLayout FittedLayoutOf(const ViewState& view) {
    const ModelParams p = view.Params();
    const bool empty = !(p.x1 <= p.x2 && p.y1 <= p.y2);
    return LayOutFitted(view.m_clientRect.Width(), view.m_clientRect.Height(), view.m_switches.m_twoModes,
                        view.BasinsAlone(), empty ? 0 : CountColumns(p), empty ? 0 : CountRows(p),
                        view.m_fittedOverlays);
}

ListGrid ListGridOfView(const ViewState& view) {
    return ListGridOf(view.Params(), view.m_listsOriginX, view.m_listsOriginY);
}

std::optional<AnalysisColumn> ShownColouring(const ViewState& view, const SpaceLists& lists) {
    if (view.m_colourBy && HoldsAnalysis(lists, ListGridOfView(view))) return view.m_colourBy;
    return std::nullopt;
}

bool DrawFittedFrame(QImage& canvas, const ViewState& view, const FractalModel& model,
                     const FittedOverlayPictures& overlays, QRgb background, EndCounts* counts,
                     const std::atomic<bool>* cancel) {
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
    const std::optional<AnalysisColumn> colouring = ShownColouring(view, model);
    if (f.basins && colouring)
        DrawFittedColouredBasins(canvas, f.basinArea, model, grid, *colouring);
    else if (f.basins)
        DrawFittedBasins(canvas, f.basinArea, model, grid);
    if (cancelled()) return false;

    if (view.m_switches.m_showGrid) {
        if (f.attractors) DrawFittedAttractorGrid(canvas, f.attractorSquare);
        if (f.basins) DrawFittedBasinGrid(canvas, f.basinArea, view.Params(), grid);
    }
    if (cancelled()) return false;
    if (view.m_switches.m_showParams) PutOverlay(canvas, overlays.report, f.report);
    if (view.m_switches.m_showLegend) PutOverlay(canvas, overlays.legend, f.legend);
    return !cancelled();
}

}  // namespace orbitograph

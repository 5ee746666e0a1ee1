#include "app/zoom_controller.h"

#include <QCursor>
#include <QMouseEvent>
#include <QRubberBand>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/canvas_widget.h"
#include "app/computation_controller.h"
#include "app/probe_controller.h"
#include "model/grid.h"
#include "view/readout.h"

namespace orbitograph {

namespace {

// A band narrower or lower than this many pixels is a click, not a zoom.
constexpr int kSmallestBand = 3;

}  // namespace

ZoomController::ZoomController(WindowShared& shared, ComputationController& computation, ProbeController& probe)
    : m_shared(shared), m_computation(computation), m_probe(probe) {
    m_band = new QRubberBand(QRubberBand::Rectangle, shared.canvas);
    CanvasInput input;
    input.press = [this](QPoint at, QMouseEvent* e) { OnPress(at, e); };
    input.move = [this](QPoint at, QMouseEvent* e) { OnMove(at, e); };
    input.release = [this](QPoint at, QMouseEvent* e) { OnRelease(at, e); };
    input.wheel = [this](QPoint at, int notches) { ZoomAtWheel(at, notches); };
    input.leave = [this] {
        if (QStatusBar* bar = m_shared.ShownStatusBar()) bar->clearMessage();
    };
    shared.canvas->SetInput(std::move(input));
}

// Nothing over a preview: its numbers are not the picture's.
QString ZoomController::ReadoutAt(QPoint at) const {
    if (m_computation.Preview()) return QString();
    return ReadoutText(m_shared.m_view, m_shared.m_model, m_shared.endCounts, at.x(), at.y());
}

void ZoomController::RefreshReadout() {
    QStatusBar* bar = m_shared.ShownStatusBar();
    if (!bar) return;
    const CanvasWidget* canvas = m_shared.canvas;
    const QPoint logical = canvas->mapFromGlobal(QCursor::pos());
    if (!canvas->rect().contains(logical)) return;
    const qreal ratio = canvas->devicePixelRatioF();
    bar->showMessage(ReadoutAt(QPoint(static_cast<int>(logical.x() * ratio), static_cast<int>(logical.y() * ratio))));
}

void ZoomController::ZoomToBand(QPoint from, QPoint to) {
    if (m_computation.Running() || !m_shared.HasPicture()) return;
    const ViewState& view = m_shared.m_view;
    const PixelPlace a = LocatePixel(view, from.x(), from.y());
    const PixelPlace b = LocatePixel(view, to.x(), to.y(), true);
    if (a.panel != PanelKind::Basins || b.panel != PanelKind::Basins) return;
    const ModelParams p = view.Params();
    const GridSide xs(p.x1, p.x2, p.step);
    const GridSide ys(p.y1, p.y2, p.step);
    // From the first grid point of the band to its last, on both axes.
    const auto first = [](const AxisFit::Run& r, const AxisFit::Run& s) { return std::min(r.begin, s.begin); };
    const auto last = [](const AxisFit::Run& r, const AxisFit::Run& s) { return std::max(r.end, s.end) - 1; };
    const ZoomBox box{xs.At(static_cast<std::size_t>(first(a.columns, b.columns))),
                      xs.At(static_cast<std::size_t>(last(a.columns, b.columns))),
                      ys.At(static_cast<std::size_t>(first(a.rows, b.rows))),
                      ys.At(static_cast<std::size_t>(last(a.rows, b.rows)))};
    const ZoomResult z = ZoomTo(p, box, view.m_switches.m_fitWindow);
    if (!z.refusal.empty())
        m_shared.Refuse(QString::fromStdString(z.refusal));
    else if (z.params)
        m_computation.Start(*z.params, ComputationController::HistoryStep::PushZoom);
}

// While a refinement shows a preview, a wheel step zooms the rectangle shown
// (located on the preview's own layout) about the point under the cursor
// and supersedes the refinement: the hand is followed at once. The preview's
// step is the requested one times 2^level, so dividing by that power of two
// gives back the requested step exactly.
void ZoomController::ZoomAtWheel(QPoint at, int notches) {
    const ComputationController::PreviewPicture* preview = m_computation.Preview();
    const ViewState& view = preview ? preview->view : m_shared.m_view;
    if ((m_computation.Running() && !preview) || !m_shared.HasPicture() || !view.m_switches.m_fitWindow) return;
    const PixelPlace place = LocatePixel(view, at.x(), at.y());
    if (place.panel != PanelKind::Basins) return;
    const double factor = notches > 0 ? 2.0 : 0.5;
    ModelParams p = view.Params();
    if (preview) p.step = std::ldexp(p.step, -preview->coarseLevel);
    const ZoomResult z = ZoomTo(p, ScaledBox(p, place.x, place.y, factor), true);
    if (!z.refusal.empty())
        m_shared.Refuse(QString::fromStdString(z.refusal));
    else if (z.params)
        m_computation.Start(*z.params, ComputationController::HistoryStep::PushZoom);
}

void ZoomController::OnPress(QPoint at, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_computation.Running()) return;
    if (LocatePixel(m_shared.m_view, at.x(), at.y()).panel != PanelKind::Basins) return;
    m_bandStart = at;
    m_band->setGeometry(QRect(event->position().toPoint(), QSize()));
    m_band->show();
}

void ZoomController::OnMove(QPoint at, QMouseEvent* event) {
    if (m_bandStart) {
        const qreal ratio = m_shared.canvas->devicePixelRatioF();
        const QPoint start(static_cast<int>(m_bandStart->x() / ratio), static_cast<int>(m_bandStart->y() / ratio));
        m_band->setGeometry(QRect(start, event->position().toPoint()).normalized());
    }
    if (QStatusBar* bar = m_shared.ShownStatusBar()) bar->showMessage(ReadoutAt(at));
}

void ZoomController::OnRelease(QPoint at, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bandStart) return;
    const QPoint from = *m_bandStart;
    m_bandStart.reset();
    m_band->hide();
    // A click (no drag) probes the orbit of the grid point under it.
    if (std::abs(at.x() - from.x()) < kSmallestBand && std::abs(at.y() - from.y()) < kSmallestBand) {
        m_probe.ProbeAtPixel(from);
        return;
    }
    if (std::abs(at.x() - from.x()) < kSmallestBand || std::abs(at.y() - from.y()) < kSmallestBand) return;
    ZoomToBand(from, at);
}

}  // namespace orbitograph

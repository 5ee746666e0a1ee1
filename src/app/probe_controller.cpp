#include "app/probe_controller.h"

#include <QMainWindow>
#include <QShortcut>
#include <system_error>
#include <utility>

#include "app/computation_controller.h"
#include "app/probe_dlg.h"
#include "app/probe_dock.h"
#include "model/grid.h"
#include "view/orbit_overlay.h"
#include "view/readout.h"

namespace orbitograph {

ProbeController::ProbeController(WindowShared& shared, const ComputationController& computation)
    : m_shared(shared), m_computation(computation) {
    m_dock = new ProbeDock(shared.window);
    shared.window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), shared.window);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &ProbeController::OnClearProbe);
}

void ProbeController::OnProbe() {
    if (m_computation.Running()) return;
    CProbeDlg dlg(m_shared.window);
    dlg.m_x0 = m_x0;
    dlg.m_y0 = m_y0;
    if (m_shared.hooks.runDialog(dlg) != QDialog::Accepted) return;
    ProbeStart(dlg.m_x0, dlg.m_y0);
}

void ProbeController::OnClearProbe() {
    const bool shown = m_probe.has_value();
    Drop();
    if (!shown) return;
    m_shared.RequestRepaint();
}

void ProbeController::Drop() {
    m_pending.reset();
    m_runner.Cancel();
    m_dock->Clear();
    m_probe.reset();
}

void ProbeController::PictureInstalled(const ModelParams& params, bool newPicture) {
    const std::optional<std::array<double, 2>> pending =
        newPicture ? std::exchange(m_pending, std::nullopt) : std::nullopt;
    if (newPicture || params != m_params) Drop();
    if (pending) ProbeStart((*pending)[0], (*pending)[1]);
}

std::optional<std::array<double, 2>> ProbeController::ShownStart() const {
    if (!m_probe || m_probe->rows.empty()) return std::nullopt;
    return std::array<double, 2>{m_probe->rows.front().x, m_probe->rows.front().y};
}

void ProbeController::DrawOver(QImage& canvas) const {
    if (m_probe) DrawOrbitOverlay(canvas, m_shared.m_view, *m_probe);
}

void ProbeController::ProbeAtPixel(QPoint at) {
    if (m_computation.Running() || !m_shared.HasPicture()) return;
    const ViewState& view = m_shared.m_view;
    const PixelPlace place = LocatePixel(view, at.x(), at.y());
    if (place.panel != PanelKind::Basins) return;
    // The first grid point the pixel holds, its coordinates accumulated as
    // the computation's walk made them.
    const ModelParams p = view.Params();
    ProbeStart(GridSide(p.x1, p.x2, p.step).At(static_cast<std::size_t>(place.columns.begin)),
               GridSide(p.y1, p.y2, p.step).At(static_cast<std::size_t>(place.rows.begin)));
}

void ProbeController::ProbeStart(double x0, double y0) {
    // Before the first computation the overlay is placed as the first
    // computation's lists will be: about the centre of this repaint.
    if (!m_shared.HasPicture()) {
        m_shared.m_view.m_listsOriginX = m_shared.m_model.originX;
        m_shared.m_view.m_listsOriginY = m_shared.m_model.originY;
    }
    m_x0 = x0;
    m_y0 = y0;
    m_params = m_shared.m_view.Params();
    using Orbit = std::optional<ProbeResult>;
    const auto probe = [params = m_params, x0, y0](JobRunner<Orbit>::Context& job) {
        ProbeOptions options;
        options.cancel = &job.CancelFlag();
        return ProbeOrbit(params, x0, y0, options);
    };
    const auto show = [this, x0, y0](JobRunner<Orbit>::Delivery&& orbit) {
        if (orbit.end == JobEnd::NotStarted || orbit.end == JobEnd::Failed) {
            m_shared.hooks.showError(m_shared.window, orbit.end == JobEnd::NotStarted
                                                          ? QStringLiteral("Не удалось начать построение траектории.")
                                                          : QStringLiteral("Не удалось построить траекторию."));
            return;
        }
        if (orbit.end != JobEnd::Done || !orbit.result) return;
        m_dock->Clear();
        m_probe = std::move(orbit.result);
        m_dock->ShowOrbit(*m_probe, x0, y0);
        m_shared.RequestRepaint();
    };
    try {
        m_runner.Request(probe, show);
    } catch (const std::system_error&) {
        m_shared.hooks.showError(m_shared.window, QStringLiteral("Не удалось начать построение траектории."));
    }
}

}  // namespace orbitograph

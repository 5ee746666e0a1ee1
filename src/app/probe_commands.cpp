// The probe of one orbit: a click in the basin panel or the dialog
// "Траектория...", the overlay over the attractor panel and the dock
// "Траектория"; Esc, "Убрать траекторию" and a new computation remove it.
#include <QShortcut>
#include <system_error>

#include "app/main_wnd.h"
#include "app/probe_dlg.h"
#include "app/probe_dock.h"
#include "model/grid.h"
#include "view/readout.h"

namespace orbitograph {

void CMainWnd::BuildProbe() {
    m_probeDock = new ProbeDock(this);
    addDockWidget(Qt::RightDockWidgetArea, m_probeDock);
    m_probeDock->hide();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &CMainWnd::OnClearProbe);
}

void CMainWnd::OnProbe() {
    if (Computing()) return;
    CProbeDlg dlg(this);
    dlg.m_x0 = m_probeX0;
    dlg.m_y0 = m_probeY0;
    if (m_hooks.runDialog(dlg) != QDialog::Accepted) return;
    ProbeStart(dlg.m_x0, dlg.m_y0);
}

void CMainWnd::OnClearProbe() {
    const bool shown = m_probe.has_value();
    DropProbe();
    if (!shown) return;
    RequestRepaint();
}

void CMainWnd::DropProbe() {
    m_probeRunner.Cancel();
    m_probeDock->Clear();
    m_probe.reset();
}

void CMainWnd::ProbeAtPixel(QPoint at) {
    if (Computing() || m_model.report.empty()) return;
    const PixelPlace place = LocatePixel(m_view, at.x(), at.y());
    if (place.panel != PanelKind::Basins) return;
    // The first grid point the pixel holds, its coordinates accumulated as
    // the computation's walk made them.
    const ModelParams p = m_view.Params();
    ProbeStart(GridSide(p.x1, p.x2, p.step).At(static_cast<std::size_t>(place.columns.begin)),
               GridSide(p.y1, p.y2, p.step).At(static_cast<std::size_t>(place.rows.begin)));
}

void CMainWnd::ProbeStart(double x0, double y0) {
    // Before the first computation the overlay is placed as the first
    // computation's lists will be: about the centre of this repaint.
    if (m_model.report.empty()) {
        m_view.m_listsOriginX = m_model.originX;
        m_view.m_listsOriginY = m_model.originY;
    }
    m_probeX0 = x0;
    m_probeY0 = y0;
    m_probeParams = m_view.Params();
    using Orbit = std::optional<ProbeResult>;
    const auto probe = [params = m_probeParams, x0, y0](JobRunner<Orbit>::Context& job) {
        ProbeOptions options;
        options.cancel = &job.CancelFlag();
        return ProbeOrbit(params, x0, y0, options);
    };
    const auto show = [this, x0, y0](JobRunner<Orbit>::Delivery&& orbit) {
        if (orbit.end == JobEnd::NotStarted || orbit.end == JobEnd::Failed) {
            m_hooks.showError(this, orbit.end == JobEnd::NotStarted
                                        ? QStringLiteral("Не удалось начать построение траектории.")
                                        : QStringLiteral("Не удалось построить траекторию."));
            return;
        }
        if (orbit.end != JobEnd::Done || !orbit.result) return;
        m_probeDock->Clear();
        m_probe = std::move(orbit.result);
        m_probeDock->ShowOrbit(*m_probe, x0, y0);
        RequestRepaint();
    };
    try {
        m_probeRunner.Request(probe, show);
    } catch (const std::system_error&) {
        m_hooks.showError(this, QStringLiteral("Не удалось начать построение траектории."));
    }
}

}  // namespace orbitograph

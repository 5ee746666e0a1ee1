// The pop-up "Исследование": the display that fits the window, zoom with
// its history, and the status bar's readout under the cursor.
#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRubberBand>
#include <QShortcut>
#include <QStatusBar>
#include <QToolTip>
#include <algorithm>

#include "app/canvas_widget.h"
#include "app/command_ids.h"
#include "app/main_wnd.h"
#include "app/sweep_session.h"
#include "model/grid.h"
#include "view/readout.h"

namespace orbitograph {

namespace {

constexpr int kRefusalShownMs = 8000;
// A band narrower or lower than this many pixels is a click, not a zoom.
constexpr int kSmallestBand = 3;

}  // namespace

void CMainWnd::BuildExploreMenu() {
    // Between "Параметры" and "Справка".
    QAction* helpMenu = menuBar()->actions().last();
    auto* explore = new QMenu(QStringLiteral("Исследование"), this);
    menuBar()->insertMenu(helpMenu, explore);
    auto add = [&](int id, const QString& text, void (CMainWnd::*handler)()) {
        QAction* action = explore->addAction(text);
        m_actions.insert(id, action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add(kCmdFitWindow, QStringLiteral("По размеру окна"), &CMainWnd::OnFitWindow)->setCheckable(true);
    explore->addSeparator();
    add(kCmdBack, QStringLiteral("Назад"), &CMainWnd::OnBack);
    add(kCmdForward, QStringLiteral("Вперёд"), &CMainWnd::OnForward);
    add(kCmdHomeArea, QStringLiteral("Исходная область"), &CMainWnd::OnHomeArea);
    explore->addSeparator();
    add(kCmdStatusBar, QStringLiteral("Строка состояния"), &CMainWnd::OnStatusBar)->setCheckable(true);
    add(kCmdLiveParams, QStringLiteral("Параметры модели"), &CMainWnd::OnLiveParams)->setCheckable(true);
    explore->addSeparator();
    add(kCmdOpenParamsFromPicture, QStringLiteral("Открыть параметры из рисунка..."),
        &CMainWnd::OnOpenParamsFromPicture);
    add(kCmdExportData, QStringLiteral("Экспорт данных..."), &CMainWnd::OnExportData);
    explore->addSeparator();
    add(kCmdProbe, QStringLiteral("Траектория..."), &CMainWnd::OnProbe);
    add(kCmdClearProbe, QStringLiteral("Убрать траекторию"), &CMainWnd::OnClearProbe);
    BuildProbe();
    explore->addSeparator();
    add(kCmdSweep, QStringLiteral("Развёртка по параметру..."), &CMainWnd::OnSweep);
    add(kCmdPlane, QStringLiteral("Плоскость параметров..."), &CMainWnd::OnPlane);
    m_sweep = new SweepSession(this);

    // As with the menu's accelerators, the keys are the window's, not the items'.
    const std::pair<QKeySequence, int> keys[] = {{QKeySequence(Qt::ALT | Qt::Key_Left), kCmdBack},
                                                 {QKeySequence(Qt::ALT | Qt::Key_Right), kCmdForward},
                                                 {QKeySequence(Qt::Key_Home), kCmdHomeArea}};
    for (const auto& [key, id] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        QAction* action = m_actions.value(id);
        action->setStatusTip(key.toString(QKeySequence::NativeText));
        connect(shortcut, &QShortcut::activated, action, [action] { action->trigger(); });
    }

    m_band = new QRubberBand(QRubberBand::Rectangle, m_canvasWidget);
    CanvasInput input;
    input.press = [this](QPoint at, QMouseEvent* e) { OnCanvasPress(at, e); };
    input.move = [this](QPoint at, QMouseEvent* e) { OnCanvasMove(at, e); };
    input.release = [this](QPoint at, QMouseEvent* e) { OnCanvasRelease(at, e); };
    input.wheel = [this](QPoint at, int notches) { ZoomAtWheel(at, notches); };
    input.leave = [this] {
        if (QStatusBar* bar = findChild<QStatusBar*>(); bar && bar->isVisible()) bar->clearMessage();
    };
    m_canvasWidget->SetInput(std::move(input));
}

void CMainWnd::OnFitWindow() {
    m_view.m_fitWindow = Action(kCmdFitWindow)->isChecked() ? 1 : 0;
    RequestRepaint();
    ApplyFitWindow();
}

// The menu item shows the switch; the fitted display needs the exact end
// points of the lists in place, computed anew when they are missing, and
// they are dropped when it goes off.
void CMainWnd::ApplyFitWindow() {
    const bool on = m_view.m_fitWindow == 1;
    Action(kCmdFitWindow)->setChecked(on);
    if (!on) {
        // Released, not only emptied.
        AttractorEnds().x.swap(m_model.attractorEnds.x);
        AttractorEnds().y.swap(m_model.attractorEnds.y);
        std::vector<EndKind>().swap(m_model.kinds);
        m_endCounts.Clear();
        return;
    }
    const bool ends = m_model.attractorEnds.size() == m_model.attractors.size();
    if (!ends && !m_model.report.empty() && !Computing()) StartComputation(m_model.Params(), HistoryStep::None);
}

void CMainWnd::OnStatusBar() {
    statusBar()->setVisible(Action(kCmdStatusBar)->isChecked());
    RequestRepaint();
}

void CMainWnd::Refuse(const QString& text) {
    m_lastRefusal = text;
    QStatusBar* bar = findChild<QStatusBar*>();
    if (bar && bar->isVisible()) {
        bar->showMessage(text, kRefusalShownMs);
    } else {
        QToolTip::showText(QCursor::pos(), text, this);
    }
}

void CMainWnd::OnBack() {
    if (Computing()) return;
    if (const auto p = m_history.Back())
        StartComputation(*p, HistoryStep::Back);
    else
        Refuse(QStringLiteral("Назад идти некуда: это первый вычисленный рисунок."));
}

void CMainWnd::OnForward() {
    if (Computing()) return;
    if (const auto p = m_history.Forward())
        StartComputation(*p, HistoryStep::Forward);
    else
        Refuse(QStringLiteral("Вперёд идти некуда: это последний вычисленный рисунок."));
}

void CMainWnd::OnHomeArea() {
    if (Computing()) return;
    if (const auto p = m_history.Home()) StartComputation(*p, HistoryStep::Home);
}

QString CMainWnd::ReadoutAt(QPoint at) const { return ReadoutText(m_view, m_model, m_endCounts, at.x(), at.y()); }

void CMainWnd::RefreshReadout() {
    QStatusBar* bar = findChild<QStatusBar*>();
    if (!bar || !bar->isVisible()) return;
    const QPoint logical = m_canvasWidget->mapFromGlobal(QCursor::pos());
    if (!m_canvasWidget->rect().contains(logical)) return;
    const qreal ratio = m_canvasWidget->devicePixelRatioF();
    bar->showMessage(ReadoutAt(QPoint(static_cast<int>(logical.x() * ratio), static_cast<int>(logical.y() * ratio))));
}

void CMainWnd::ZoomToBand(QPoint from, QPoint to) {
    if (Computing() || m_model.report.empty()) return;
    const PixelPlace a = LocatePixel(m_view, from.x(), from.y());
    const PixelPlace b = LocatePixel(m_view, to.x(), to.y(), true);
    if (a.panel != PanelKind::Basins || b.panel != PanelKind::Basins) return;
    const ModelParams p = m_view.Params();
    const GridSide xs(p.x1, p.x2, p.step);
    const GridSide ys(p.y1, p.y2, p.step);
    // From the first grid point of the band to its last, on both axes.
    const auto first = [](const AxisFit::Run& r, const AxisFit::Run& s) { return std::min(r.begin, s.begin); };
    const auto last = [](const AxisFit::Run& r, const AxisFit::Run& s) { return std::max(r.end, s.end) - 1; };
    const ZoomBox box{xs.At(static_cast<std::size_t>(first(a.columns, b.columns))),
                      xs.At(static_cast<std::size_t>(last(a.columns, b.columns))),
                      ys.At(static_cast<std::size_t>(first(a.rows, b.rows))),
                      ys.At(static_cast<std::size_t>(last(a.rows, b.rows)))};
    const ZoomResult z = ZoomTo(p, box, m_view.m_fitWindow == 1);
    if (!z.refusal.empty())
        Refuse(QString::fromStdString(z.refusal));
    else if (z.params)
        StartComputation(*z.params, HistoryStep::PushZoom);
}

void CMainWnd::ZoomAtWheel(QPoint at, int notches) {
    if (Computing() || m_model.report.empty() || m_view.m_fitWindow != 1) return;
    const PixelPlace place = LocatePixel(m_view, at.x(), at.y());
    if (place.panel != PanelKind::Basins) return;
    const double factor = notches > 0 ? 2.0 : 0.5;
    const ModelParams p = m_view.Params();
    const ZoomResult z = ZoomTo(p, ScaledBox(p, place.x, place.y, factor), true);
    if (!z.refusal.empty())
        Refuse(QString::fromStdString(z.refusal));
    else if (z.params)
        StartComputation(*z.params, HistoryStep::PushZoom);
}

void CMainWnd::OnCanvasPress(QPoint at, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || Computing()) return;
    if (LocatePixel(m_view, at.x(), at.y()).panel != PanelKind::Basins) return;
    m_bandStart = at;
    m_band->setGeometry(QRect(event->position().toPoint(), QSize()));
    m_band->show();
}

void CMainWnd::OnCanvasMove(QPoint at, QMouseEvent* event) {
    if (m_bandStart) {
        const qreal ratio = m_canvasWidget->devicePixelRatioF();
        const QPoint start(static_cast<int>(m_bandStart->x() / ratio), static_cast<int>(m_bandStart->y() / ratio));
        m_band->setGeometry(QRect(start, event->position().toPoint()).normalized());
    }
    if (QStatusBar* bar = findChild<QStatusBar*>(); bar && bar->isVisible()) bar->showMessage(ReadoutAt(at));
}

void CMainWnd::OnCanvasRelease(QPoint at, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_bandStart) return;
    const QPoint from = *m_bandStart;
    m_bandStart.reset();
    m_band->hide();
    // A click (no drag) probes the orbit of the grid point under it.
    if (std::abs(at.x() - from.x()) < kSmallestBand && std::abs(at.y() - from.y()) < kSmallestBand) {
        ProbeAtPixel(from);
        return;
    }
    if (std::abs(at.x() - from.x()) < kSmallestBand || std::abs(at.y() - from.y()) < kSmallestBand) return;
    ZoomToBand(from, at);
}

}  // namespace orbitograph

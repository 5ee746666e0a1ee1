#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

#include "app/interaction_hooks.h"
#include "model/fractal_model.h"
#include "view/end_counts.h"
#include "view/view_state.h"

class QAction;
class QMainWindow;
class QStatusBar;

namespace orbitograph {

class CanvasWidget;

// What the main window shares with its feature controllers, on the
// interface thread only: the picture in place (the model, the view state,
// the end counts the readout looks up, the origin the lists were computed
// with), the hooks through which every command asks the user, the menu's
// actions by command id, and the two requests any part makes of the window:
// a repaint and a short refusal. The window owns it and outlives every
// controller; the view state and the model change only through the
// controller that owns the change (a computation's result, a display
// command, a picture's description).
struct WindowShared {
    FractalModel m_model;
    ViewState m_view;
    mutable EndCounts endCounts;
    std::optional<QPoint> computedOrigin;
    UiHooks hooks;
    QHash<int, QAction*> actions;
    QMainWindow* window = nullptr;
    CanvasWidget* canvas = nullptr;
    QString lastRefusal;
    int repaintRequests = 0;
    // The dock "Аттракторы" is shown: computations add the analysis and the
    // grid's metrics.
    bool attractorDockShown = false;

    QAction* Action(int commandId) const { return actions.value(commandId, nullptr); }
    // A computation now must add the analysis of every orbit: a colouring or
    // the dock "Аттракторы" shows it.
    bool AnalysisWanted() const { return m_view.m_colourBy.has_value() || attractorDockShown; }
    // The origin of the lists in place, or the model's before any.
    QPoint ListsOrigin() const { return computedOrigin.value_or(QPoint(m_model.originX, m_model.originY)); }
    // The picture has been computed at least once.
    bool HasPicture() const { return !m_model.report.empty(); }
    void RequestRepaint();
    // Shown for a while in the status bar when it is shown, else as a tool
    // tip at the cursor; kept as the last refusal.
    void Refuse(const QString& text);
    // The status bar while it is shown, else null.
    QStatusBar* ShownStatusBar() const;
};

}  // namespace orbitograph

#pragma once

#include <QPoint>
#include <QString>
#include <optional>

#include "app/window_shared.h"

class QMouseEvent;
class QRubberBand;

namespace orbitograph {

class ComputationController;
class ProbeController;

// The mouse over the canvas: a rubber band over the basin panel zooms to
// its grid points, a wheel notch halves or doubles the fitted display about
// the pixel under it, a click probes the orbit there, and the status bar's
// readout follows the cursor. Zooms go into the history; a zoom that cannot
// be made is refused briefly.
class ZoomController {
public:
    ZoomController(WindowShared& shared, ComputationController& computation, ProbeController& probe);

    // A rubber band from one canvas pixel to another, and wheel notches at a
    // pixel, as the mouse gives them.
    void ZoomToBand(QPoint from, QPoint to);
    void ZoomAtWheel(QPoint at, int notches);
    // The readout of a canvas pixel, as the status bar shows it.
    QString ReadoutAt(QPoint at) const;
    // The status bar's readout for the pixel under the cursor, after the
    // picture under it changed.
    void RefreshReadout();

private:
    void OnPress(QPoint at, QMouseEvent* event);
    void OnMove(QPoint at, QMouseEvent* event);
    void OnRelease(QPoint at, QMouseEvent* event);

    WindowShared& m_shared;
    ComputationController& m_computation;
    ProbeController& m_probe;
    QRubberBand* m_band = nullptr;      // a child of the canvas
    std::optional<QPoint> m_bandStart;  // device pixels
};

}  // namespace orbitograph

#pragma once

#include <QObject>
#include <QPoint>
#include <array>
#include <optional>

#include "app/job_runner.h"
#include "app/window_shared.h"
#include "model/probe.h"

class QImage;

namespace orbitograph {

class ComputationController;
class ProbeDock;

// The probe of one orbit: "Траектория...", "Убрать траекторию" (and Esc),
// a click in the basin panel, the overlay over the attractor panel and the
// dock "Траектория". The orbit is followed on a worker thread with the
// parameters in place and shown when it is done; a new picture removes it.
class ProbeController : public QObject {
public:
    ProbeController(WindowShared& shared, const ComputationController& computation);

    void OnProbe();
    void OnClearProbe();
    // The orbit of the first grid point a canvas pixel of the basin panel
    // holds; nothing elsewhere, while computing or before any picture.
    void ProbeAtPixel(QPoint at);
    void ProbeStart(double x0, double y0);
    // A computed picture is in place: a new one drops the orbit; the same
    // parameters computed again (for the fitted display) keep it.
    void PictureInstalled(const ModelParams& params, bool newPicture);
    // Draws the orbit, if any, over a composed canvas.
    void DrawOver(QImage& canvas) const;
    // The orbit of this start point is followed once the next new picture
    // is in place (a picture's description being made again).
    void ProbeWithNextPicture(std::array<double, 2> start) { m_pending = start; }
    // The start point of the orbit shown, if any.
    std::optional<std::array<double, 2>> ShownStart() const;

    const std::optional<ProbeResult>& Probe() const { return m_probe; }
    ProbeDock* Dock() const { return m_dock; }

private:
    void Drop();

    WindowShared& m_shared;
    const ComputationController& m_computation;
    std::optional<ProbeResult> m_probe;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    ModelParams m_params;  // those the probe follows the orbit with
    std::optional<std::array<double, 2>> m_pending;
    ProbeDock* m_dock = nullptr;
    JobRunner<std::optional<ProbeResult>> m_runner;
};

}  // namespace orbitograph

#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "app/job_runner.h"
#include "app/sweep_dlg.h"
#include "app/sweep_window.h"
#include "app/window_shared.h"
#include "model/continuation.h"
#include "model/sweep.h"

namespace orbitograph {

// What a sweep or a plane computes: the counts of every value (or pair) in
// order and, for the attractors' shares, their tracks.
struct SweepResult {
    std::vector<ListCounts> counts;
    std::vector<TrackPoint> tracks;
};

// What a sweep or a plane gives back: on Done its result; otherwise nothing.
struct SweepOutcome {
    enum class Status { Done, Cancelled, OutOfMemory } status = Status::Cancelled;
    SweepResult result;
};

// The computation proper, ComputeSweep, ComputePlane or the tracks with
// their arguments bound; called on a worker thread.
using SweepWork = std::function<std::optional<SweepResult>(const ComputeControl&)>;
using SweepRunner = JobRunner<std::optional<SweepResult>>;

// The counts and the attractors' tracks of a sweep, each value analysed in
// full with the default merge distance and tolerance.
std::optional<SweepResult> SweepTracks(const ModelParams& base, SweepParam param, const std::vector<double>& values,
                                       const ComputeControl& control);

class ComputationController;

// "Развёртка по параметру..." and "Плоскость параметров...": the last
// confirmed ranges, the one computation that may run (the main picture may
// be computed meanwhile), its progress dialog with a cancel button, and the
// last result window, where a click computes the main picture for that
// value or pair.
class SweepSession : public QObject {
public:
    // picture: the main picture's computation, which a click in a result
    // window starts.
    SweepSession(WindowShared& shared, ComputationController& picture);

    void OnSweep() { Run(false); }
    void OnPlane() { Run(true); }

    SweepRanges& Ranges() { return m_ranges; }
    bool Running() const { return m_computation.Running(); }
    SweepRunner& Computation() { return m_computation; }
    QProgressDialog* Progress() const { return m_progress.data(); }
    // The window of the last result, while it is open.
    CSweepWnd* LastWindow() const { return m_lastWindow.data(); }

    // Starts the work with a progress dialog titled like the command; done
    // runs on the interface thread with the outcome. False (and done never
    // runs) while one runs or when it could not start.
    bool Start(const QString& title, SweepWork work, std::function<void(SweepOutcome&&)> done);
    void Show(CSweepWnd* window);

private:
    void Run(bool plane);

    WindowShared& m_shared;
    ComputationController& m_picture;
    SweepRanges m_ranges;
    SweepRunner m_computation;
    QPointer<QProgressDialog> m_progress;  // a child of the window while shown
    QTimer m_poll;
    QPointer<CSweepWnd> m_lastWindow;
};

}  // namespace orbitograph

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
#include "model/sweep.h"

namespace orbitograph {

// What a sweep or a plane gives back: on Done the counts of every value
// (or pair) in order; otherwise nothing.
struct SweepOutcome {
    enum class Status { Done, Cancelled, OutOfMemory } status = Status::Cancelled;
    std::vector<ListCounts> counts;
};

// The computation proper, ComputeSweep or ComputePlane with their arguments
// bound; called on a worker thread.
using SweepWork = std::function<std::optional<std::vector<ListCounts>>(const ComputeControl&)>;
using SweepRunner = JobRunner<std::optional<std::vector<ListCounts>>>;

// The main window's sweeps and planes: the last confirmed ranges, the one
// computation that may run, its progress dialog with a cancel button, and
// the last result window. A child of the main window.
class SweepSession : public QObject {
public:
    explicit SweepSession(QWidget* window);

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
    QWidget* m_window;
    SweepRanges m_ranges;
    SweepRunner m_computation;
    QPointer<QProgressDialog> m_progress;  // a child of the window while shown
    QTimer m_poll;
    QPointer<CSweepWnd> m_lastWindow;
};

}  // namespace orbitograph

// "Развёртка по параметру..." and "Плоскость параметров..." in the pop-up
// "Исследование": the range asked for, the counts computed in the
// background, the chart or the plane in a window of its own, and a click
// there computes the main picture for that value or pair.
#include <system_error>

#include "app/main_wnd.h"
#include "app/sweep_session.h"
#include "view/sweep_chart.h"

namespace orbitograph {

namespace {

constexpr int kPollMs = 100;
constexpr int kPlaneSide = 512;  // pixels the plane picture aims at along its longer side

// The ranges were checked by the dialog: the computation's only failure is
// a shortage of memory.
SweepOutcome SweepOutcomeOf(SweepRunner::Delivery&& delivery) {
    if (delivery.end == JobEnd::Failed) return {SweepOutcome::Status::OutOfMemory, {}};
    if (delivery.end != JobEnd::Done || !delivery.result) return {};
    return {SweepOutcome::Status::Done, std::move(*delivery.result)};
}

}  // namespace

SweepSession::SweepSession(QWidget* window) : QObject(window), m_window(window) {
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (m_progress) m_progress->setValue(static_cast<int>(m_computation.Progress() * 1000));
    });
}

bool SweepSession::Start(const QString& title, SweepWork work, std::function<void(SweepOutcome&&)> done) {
    if (m_computation.Running()) return false;
    try {
        m_computation.Request([work = std::move(work)](SweepRunner::Context& job) { return work(job.Control()); },
                              [this, done](SweepRunner::Delivery&& delivery) {
                                  m_poll.stop();
                                  delete m_progress.data();
                                  done(SweepOutcomeOf(std::move(delivery)));
                              });
    } catch (const std::system_error&) {
        return false;
    }
    m_progress = new QProgressDialog(QStringLiteral("Вычисление..."), QStringLiteral("Отмена"), 0, 1000, m_window);
    m_progress->setWindowTitle(title);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    connect(m_progress.data(), &QProgressDialog::canceled, this, [this] { m_computation.Cancel(); });
    m_progress->show();
    m_poll.start();
    return true;
}

void SweepSession::Show(CSweepWnd* window) {
    m_lastWindow = window;
    window->show();
}

void CMainWnd::OnSweep() { RunSweep(false); }

void CMainWnd::OnPlane() { RunSweep(true); }

// One sweep or plane at a time; the main picture may be computed meanwhile.
void CMainWnd::RunSweep(bool plane) {
    if (Computing()) return;
    if (m_sweep->Running()) {
        Refuse(QStringLiteral("Дождитесь конца вычисления: развёртку можно начать после него."));
        return;
    }
    const ModelParams base = m_view.Params();
    CSweepDlg dlg(this, plane, base);
    static_cast<SweepRanges&>(dlg) = m_sweep->Ranges();
    if (m_hooks.runDialog(dlg) != QDialog::Accepted) return;
    const SweepRanges ranges = dlg;
    m_sweep->Ranges() = ranges;
    const SweepParam p1 = AxisParam(ranges, 1);
    const SweepParam p2 = AxisParam(ranges, 2);
    const std::vector<double> v1 = AxisValues(ranges, 1);
    const std::vector<double> v2 = plane ? AxisValues(ranges, 2) : std::vector<double>{};
    const QString title = plane ? QStringLiteral("Плоскость параметров") : QStringLiteral("Развёртка по параметру");
    // Computes the main picture for the parameters a click chose.
    const auto pick = [this](const ModelParams& p) {
        if (Computing())
            Refuse(QStringLiteral("Дождитесь конца вычисления рисунка."));
        else
            StartComputation(p);
    };
    SweepWork work = [=](const ComputeControl& control) {
        return plane ? ComputePlane(base, p1, v1, p2, v2, control) : ComputeSweep(base, p1, v1, control);
    };
    const auto done = [=, this](SweepOutcome&& outcome) {
        if (outcome.status == SweepOutcome::Status::OutOfMemory)
            m_hooks.showError(this, QStringLiteral("Недостаточно памяти для вычисления."));
        if (outcome.status != SweepOutcome::Status::Done) return;
        CSweepWnd* window = nullptr;
        if (plane) {
            const int scale = std::clamp(kPlaneSide / static_cast<int>(std::max(v1.size(), v2.size())), 1, 16);
            window = new CSweepWnd(this, title, DrawParamPlane(p1, v1, p2, v2, outcome.counts, scale), [=](QPoint at) {
                if (const auto cell = PlaneCellAt(v1.size(), v2.size(), scale, at))
                    pick(WithValue(WithValue(base, p1, v1[cell->first]), p2, v2[cell->second]));
            });
        } else {
            const std::vector<ListCounts> counts = std::move(outcome.counts);
            const QImage chart = DrawSweepChart(p1, v1, counts);
            window = new CSweepWnd(this, title, chart, [=](QPoint at) {
                if (const auto i = ChartValueAt(chart.size(), v1, at)) pick(WithValue(base, p1, v1[*i]));
            });
        }
        m_sweep->Show(window);
    };
    if (!m_sweep->Start(title, std::move(work), done)) {
        m_hooks.showError(this, QStringLiteral("Не удалось начать вычисление."));
    }
}

}  // namespace orbitograph

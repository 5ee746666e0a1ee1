#include "app/sweep_session.h"

#include <QMainWindow>
#include <algorithm>
#include <system_error>

#include "app/computation_controller.h"
#include "request/set_analysis.h"
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

std::optional<SweepResult> SweepTracks(const ModelParams& base, SweepParam param, const std::vector<double>& values,
                                       const ComputeControl& control) {
    std::vector<ModelParams> sets;
    for (const double v : values) sets.push_back(WithValue(base, param, v));
    SetAnalysisRequest request;
    request.analysis = true;
    std::optional<std::vector<SetAnalysis>> analysed = AnalyseSets(sets, request, control);
    if (!analysed) return std::nullopt;
    SweepResult result;
    result.counts = CountsOf(*analysed);
    result.tracks = ContinueAttractors(Catalogues(sets, std::move(*analysed)), kDefaultContinueTolerance);
    return result;
}

SweepSession::SweepSession(WindowShared& shared, ComputationController& picture)
    : m_shared(shared), m_picture(picture) {
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
    m_progress =
        new QProgressDialog(QStringLiteral("Вычисление..."), QStringLiteral("Отмена"), 0, 1000, m_shared.window);
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

// One sweep or plane at a time; the main picture may be computed meanwhile.
void SweepSession::Run(bool plane) {
    if (m_picture.Running()) return;
    if (Running()) {
        m_shared.Refuse(QStringLiteral("Дождитесь конца вычисления: развёртку можно начать после него."));
        return;
    }
    const ModelParams base = m_shared.m_view.Params();
    CSweepDlg dlg(m_shared.window, plane, base);
    static_cast<SweepRanges&>(dlg) = m_ranges;
    if (m_shared.hooks.runDialog(dlg) != QDialog::Accepted) return;
    const SweepRanges ranges = dlg;
    m_ranges = ranges;
    const SweepParam p1 = AxisParam(ranges, 1);
    const SweepParam p2 = AxisParam(ranges, 2);
    const std::vector<double> v1 = AxisValues(ranges, 1);
    const std::vector<double> v2 = plane ? AxisValues(ranges, 2) : std::vector<double>{};
    const QString title = plane ? QStringLiteral("Плоскость параметров") : QStringLiteral("Развёртка по параметру");
    // Computes the main picture for the parameters a click chose.
    const auto pick = [this](const ModelParams& p) {
        if (m_picture.Running())
            m_shared.Refuse(QStringLiteral("Дождитесь конца вычисления рисунка."));
        else
            m_picture.Start(p);
    };
    const bool tracks = !plane && ranges.m_chart == 1;
    SweepWork work = [=](const ComputeControl& control) -> std::optional<SweepResult> {
        if (tracks) return SweepTracks(base, p1, v1, control);
        auto counts = plane ? ComputePlane(base, p1, v1, p2, v2, control) : ComputeSweep(base, p1, v1, control);
        if (!counts) return std::nullopt;
        return SweepResult{std::move(*counts), {}};
    };
    const auto done = [=, this](SweepOutcome&& outcome) {
        if (outcome.status == SweepOutcome::Status::OutOfMemory)
            m_shared.hooks.showError(m_shared.window, QStringLiteral("Недостаточно памяти для вычисления."));
        if (outcome.status != SweepOutcome::Status::Done) return;
        CSweepWnd* window = nullptr;
        if (plane) {
            const int scale = std::clamp(kPlaneSide / static_cast<int>(std::max(v1.size(), v2.size())), 1, 16);
            window = new CSweepWnd(m_shared.window, title, DrawParamPlane(p1, v1, p2, v2, outcome.result.counts, scale),
                                   [=](QPoint at) {
                                       if (const auto cell = PlaneCellAt(v1.size(), v2.size(), scale, at))
                                           pick(WithValue(WithValue(base, p1, v1[cell->first]), p2, v2[cell->second]));
                                   });
        } else {
            const QImage chart =
                tracks ? DrawShareChart(p1, v1, outcome.result.tracks) : DrawSweepChart(p1, v1, outcome.result.counts);
            window = new CSweepWnd(m_shared.window, title, chart, [=](QPoint at) {
                if (const auto i = ChartValueAt(chart.size(), v1, at)) pick(WithValue(base, p1, v1[*i]));
            });
        }
        Show(window);
    };
    if (!Start(title, std::move(work), done)) {
        m_shared.hooks.showError(m_shared.window, QStringLiteral("Не удалось начать вычисление."));
    }
}

}  // namespace orbitograph

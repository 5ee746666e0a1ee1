#include "app/picture_data_commands.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>
#include <stdexcept>
#include <system_error>

#include "app/computation_controller.h"
#include "app/display_controller.h"
#include "app/picture_refusals.h"
#include "app/probe_controller.h"
#include "app/save_failure.h"
#include "data/grid_export.h"
#include "dialogs/dialog_controls.h"
#include "png/png_export.h"
#include "program_version.h"
#include "request/description.h"
#include "request/picture_file.h"
#include "request/request_view.h"

namespace orbitograph {

namespace {

constexpr int kExportProgressSteps = 1000;
constexpr int kExportPollMs = 100;

}  // namespace

PictureDataCommands::PictureDataCommands(WindowShared& shared, ComputationController& computation,
                                         DisplayController& display, ProbeController& probe, SpacesEngine engine,
                                         ThreadStarter startThread)
    : m_shared(shared),
      m_hooks(shared.hooks),
      m_model(shared.m_model),
      m_window(shared.window),
      m_computation(computation),
      m_display(display),
      m_probe(probe),
      m_engine(engine ? std::move(engine) : SpacesEngine(&ComputeSpaces)),
      m_export(std::move(startThread)) {
    m_exportPoll.setInterval(kExportPollMs);
    QObject::connect(&m_exportPoll, &QTimer::timeout, [this] {
        if (m_exportProgress && !m_exportProgress->wasCanceled())
            m_exportProgress->setValue(static_cast<int>(m_export.Progress() * kExportProgressSteps));
    });
}

PictureDataCommands::~PictureDataCommands() = default;

bool PictureDataCommands::Computing() const { return m_computation.Running() || m_export.Running(); }

void PictureDataCommands::OnOpenParamsFromPicture() {
    if (Computing()) return;
    const QString path = m_hooks.chooseOpenPicture ? m_hooks.chooseOpenPicture(m_window) : QString();
    if (path.isEmpty()) return;
    const PictureDescription picture = ReadPictureDescription(NativePath(path).string());
    if (picture.reason != PictureReason::None) {
        m_hooks.showError(m_window, QStringLiteral("Не удалось взять параметры из рисунка «%1»:\n%2")
                                        .arg(path, PictureRefusalText(picture.reason, picture.systemError)));
        return;
    }
    const DescriptionRead read = ReadDescription(picture.text);
    if (!read.request) {
        m_hooks.showError(m_window, QStringLiteral("Описание в рисунке «%1» повреждено, параметры не взяты:\n%2")
                                        .arg(path, DescriptionRefusalText(read.reason)));
        return;
    }
    const QString question = LargeRequestQuestion(path, CostOf(*read.request));
    if (!question.isEmpty() && !(m_hooks.askYesNo && m_hooks.askYesNo(m_window, question))) return;
    // The window keeps its own size and origin; everything else is the
    // picture's.
    m_display.TakeDisplayOf(ViewFor(*read.request));
    if (read.request->display.probe) m_probe.ProbeWithNextPicture(*read.request->display.probe);
    m_computation.Start(read.request->params);
}

void PictureDataCommands::OnExportData() {
    if (m_export.Running()) {
        m_shared.Refuse(QStringLiteral("Экспорт данных уже идёт: дождитесь его конца или прервите его."));
        return;
    }
    if (Computing()) return;
    if (m_model.report.empty()) {
        m_hooks.showError(m_window, QStringLiteral("Рисунок ещё не вычислен: экспортировать нечего."));
        return;
    }
    const QString path = m_hooks.chooseExportName ? m_hooks.chooseExportName(m_window) : QString();
    if (path.isEmpty()) return;
    const QPoint origin = m_shared.ListsOrigin();
    const ModelParams params = m_model.Params();
    GridExport e{params, origin.x(), origin.y(), &m_model, kProgramVersion};
    SaveResult saved;
    std::string why;
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        saved = WriteGridCsv(NativePath(path), e);
    } else {
        StartNpzExport(path);
        return;
    }
    if (!saved.Ok()) {
        m_hooks.showError(m_window,
                          QStringLiteral("Не удалось записать данные в файл «%1».\n%2")
                              .arg(path, why.empty() ? SaveFailureReason(saved, path) : QString::fromStdString(why)));
    }
}

// The lists in place keep neither every kind nor every end point: the grid
// is computed once more with them (the same lists again) on the export's
// thread, from the parameters and origin in place now.
void PictureDataCommands::StartNpzExport(const QString& path) {
    const QPoint origin = m_shared.ListsOrigin();
    try {
        m_export.Request(
            NpzExportJob(m_engine, m_model.Params(), origin.x(), origin.y(), NativePath(path), kProgramVersion),
            [this, path](ExportRunner::Delivery&& d) { OnExported(std::move(d), path); });
    } catch (const std::system_error&) {
        m_hooks.showError(m_window, QStringLiteral("Не удалось начать экспорт данных."));
        return;
    }
    m_exportProgress = std::make_unique<QProgressDialog>(QStringLiteral("Экспортируются данные..."),
                                                         QStringLiteral("Отмена"), 0, kExportProgressSteps, m_window);
    m_exportProgress->setWindowTitle(QCoreApplication::applicationName());
    m_exportProgress->setWindowModality(Qt::NonModal);
    m_exportProgress->setAutoClose(false);
    m_exportProgress->setAutoReset(false);
    m_exportProgress->setMinimumDuration(0);
    m_exportProgress->setWindowFlags(kDialogWindowFlags);
    m_exportProgress->setFixedSize(m_exportProgress->sizeHint());
    QObject::connect(m_exportProgress.get(), &QProgressDialog::canceled, [this] {
        m_export.Cancel();
        if (m_exportProgress) m_exportProgress->setLabelText(QStringLiteral("Экспорт прерывается..."));
    });
    m_exportProgress->setValue(0);
    m_exportProgress->show();
    m_exportPoll.start();
}

void PictureDataCommands::OnExported(ExportRunner::Delivery&& delivery, const QString& path) {
    m_exportPoll.stop();
    m_exportProgress.reset();
    const ExportOutcome& outcome = delivery.result;
    const QString noMemory = QStringLiteral("Не хватает памяти, чтобы экспортировать эту сетку.");
    if (delivery.end == JobEnd::Cancelled) {
        m_shared.Refuse(QStringLiteral("Экспорт прерван: файл «%1» не записан.").arg(path));
    } else if (delivery.end == JobEnd::NotStarted) {
        m_hooks.showError(m_window, QStringLiteral("Не удалось начать экспорт данных."));
    } else if (delivery.end == JobEnd::Failed || outcome.noMemory) {
        m_hooks.showError(m_window, noMemory);
    } else if (outcome.saved.failure == SaveFailure::Stopped) {
        m_shared.Refuse(QStringLiteral("Экспорт прерван: файл «%1» не записан.").arg(path));
    } else if (!outcome.saved.Ok()) {
        m_hooks.showError(m_window, QStringLiteral("Не удалось записать данные в файл «%1».\n%2")
                                        .arg(path, outcome.why.empty() ? SaveFailureReason(outcome.saved, path)
                                                                       : QString::fromStdString(outcome.why)));
    }
}

}  // namespace orbitograph

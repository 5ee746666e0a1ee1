#include "app/picture_data_commands.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <stdexcept>

#include "app/computation_controller.h"
#include "app/display_controller.h"
#include "app/picture_refusals.h"
#include "app/probe_controller.h"
#include "app/save_failure.h"
#include "data/grid_export.h"
#include "png/png_export.h"
#include "program_version.h"
#include "request/description.h"
#include "request/picture_file.h"
#include "request/request_view.h"

namespace orbitograph {

PictureDataCommands::PictureDataCommands(WindowShared& shared, ComputationController& computation,
                                         DisplayController& display, ProbeController& probe)
    : m_shared(shared),
      m_hooks(shared.hooks),
      m_model(shared.m_model),
      m_window(shared.window),
      m_computation(computation),
      m_display(display),
      m_probe(probe) {}

bool PictureDataCommands::Computing() const { return m_computation.Running(); }

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
        // The lists in place keep neither every kind nor every end point:
        // the grid is computed once more with them, the same lists again.
        std::optional<SpaceLists> grid;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            ComputeControl control;
            control.kindGrid = control.startPointEnds = true;
            grid = ComputeSpaces(params, origin.x(), origin.y(), control);
        } catch (const std::exception&) {
            grid.reset();
        }
        QApplication::restoreOverrideCursor();
        if (!grid) {
            m_hooks.showError(m_window, QStringLiteral("Не хватает памяти, чтобы экспортировать эту сетку."));
            return;
        }
        e.lists = &*grid;
        try {
            saved = WriteGridNpz(NativePath(path), e, why);
        } catch (const std::bad_alloc&) {
            m_hooks.showError(m_window, QStringLiteral("Не хватает памяти, чтобы экспортировать эту сетку."));
            return;
        }
    }
    if (!saved.Ok()) {
        m_hooks.showError(m_window,
                          QStringLiteral("Не удалось записать данные в файл «%1».\n%2")
                              .arg(path, why.empty() ? SaveFailureReason(saved, path) : QString::fromStdString(why)));
    }
}

}  // namespace orbitograph

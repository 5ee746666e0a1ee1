// The pop-up "Исследование": the frame of a saved picture made again, and
// the computed grid written for analysis.
#include <QAction>
#include <QApplication>
#include <stdexcept>

#include "app/command_ids.h"
#include "app/main_wnd.h"
#include "app/picture_refusals.h"
#include "data/grid_export.h"
#include "png/png_export.h"
#include "program_version.h"
#include "request/description.h"
#include "request/picture_file.h"
#include "request/request_view.h"

namespace orbitograph {

void CMainWnd::OnOpenParamsFromPicture() {
    if (Computing()) return;
    const QString path = m_hooks.chooseOpenPicture ? m_hooks.chooseOpenPicture(this) : QString();
    if (path.isEmpty()) return;
    const PictureDescription picture = ReadPictureDescription(NativePath(path).string());
    if (picture.reason != PictureReason::None) {
        m_hooks.showError(this, QStringLiteral("Не удалось взять параметры из рисунка «%1»:\n%2")
                                    .arg(path, PictureRefusalText(picture.reason, picture.systemError)));
        return;
    }
    const DescriptionRead read = ReadDescription(picture.text);
    if (!read.request) {
        m_hooks.showError(this, QStringLiteral("Описание в рисунке «%1» повреждено, параметры не взяты:\n%2")
                                    .arg(path, DescriptionRefusalText(read.reason)));
        return;
    }
    const QString question = LargeRequestQuestion(path, CostOf(*read.request));
    if (!question.isEmpty() && !(m_hooks.askYesNo && m_hooks.askYesNo(this, question))) return;
    // The window keeps its own size and origin; everything else is the
    // picture's.
    const ViewState from = ViewFor(*read.request);
    static_cast<DisplaySwitches&>(m_view) = from;
    static_cast<LegendFields&>(m_view) = from;
    m_view.m_viewMode = from.m_viewMode;
    ApplyTwoModesToMenu();
    if (QAction* fit = Action(kCmdFitWindow)) fit->setChecked(m_view.m_fitWindow == 1);
    RequestRepaint();
    StartComputation(read.request->params);
}

void CMainWnd::OnExportData() {
    if (Computing()) return;
    if (m_model.report.empty()) {
        m_hooks.showError(this, QStringLiteral("Рисунок ещё не вычислен: экспортировать нечего."));
        return;
    }
    const QString path = m_hooks.chooseExportName ? m_hooks.chooseExportName(this) : QString();
    if (path.isEmpty()) return;
    const QPoint origin = m_computedOrigin.value_or(QPoint(m_model.originX, m_model.originY));
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
            m_hooks.showError(this, QStringLiteral("Не хватает памяти, чтобы экспортировать эту сетку."));
            return;
        }
        e.lists = &*grid;
        try {
            saved = WriteGridNpz(NativePath(path), e, why);
        } catch (const std::bad_alloc&) {
            m_hooks.showError(this, QStringLiteral("Не хватает памяти, чтобы экспортировать эту сетку."));
            return;
        }
    }
    if (!saved.Ok()) {
        m_hooks.showError(this, QStringLiteral("Не удалось записать данные в файл «%1».\n%2")
                                    .arg(path, why.empty() ? SaveFailureReason(saved) : QString::fromStdString(why)));
    }
}

}  // namespace orbitograph

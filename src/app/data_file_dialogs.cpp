#include "app/data_file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

#include "dialogs/message_box.h"

namespace orbitograph {

namespace {

const QString kNpzFilter = QStringLiteral("Массивы NumPy (*.npz)");
const QString kCsvFilter = QStringLiteral("Таблица CSV (*.csv)");

}  // namespace

void ListNamesOnly(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setViewMode(QFileDialog::List);
    for (const char* button : {"detailModeButton", "listModeButton"}) {
        if (auto* b = dialog.findChild<QWidget*>(QString::fromLatin1(button))) b->hide();
    }
}

QString WithDataExtension(const QString& name, const QString& selectedFilter) {
    if (name.endsWith(QStringLiteral(".npz"), Qt::CaseInsensitive) ||
        name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return name;
    return name + (selectedFilter.contains(QStringLiteral("*.csv")) ? QStringLiteral(".csv") : QStringLiteral(".npz"));
}

QString ChoosePictureToOpenModally(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Открыть параметры из рисунка"));
    ListNamesOnly(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Рисунки PNG (*.png)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

QString ChooseExportNameModally(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Экспорт данных"));
    ListNamesOnly(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters({kNpzFilter, kCsvFilter});
    dialog.selectFile(QStringLiteral("orbitograph"));
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        const QString file = WithDataExtension(dialog.selectedFiles().front(), dialog.selectedNameFilter());
        if (!QFileInfo::exists(file) ||
            AskYesNo(parent, QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(file)))
            return file;
    }
}

}  // namespace orbitograph

#include "app/save_dialog.h"

#include <QFileInfo>

#include "app/data_file_dialogs.h"
#include "dialogs/message_box.h"

namespace orbitograph {

PictureSaveDialog::PictureSaveDialog(QWidget* parent, const QString& startName)
    : QFileDialog(parent), m_warn(ShowWarningBox) {
    // The program's own dialog everywhere, so that the wildcard check below
    // and the Russian texts hold on every desktop.
    ListNamesOnly(*this);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, true);
    setNameFilter(QStringLiteral("Рисунки PNG (*.png)"));
    selectFile(startName);
}

void PictureSaveDialog::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty() && HasWildcard(files.front())) {
        if (m_warn) m_warn(this, QStringLiteral("Имя файла не может содержать символы «*» и «?»."));
        return;
    }
    QFileDialog::accept();
}

bool HasWildcard(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

QString ChooseSaveName(QWidget* parent, const SaveDialogRunner& runDialog, const ReplaceQuestion& confirmReplace) {
    QString name = QStringLiteral("orbitograph");
    for (;;) {
        name = runDialog(parent, name);
        if (name.isEmpty()) return {};
        if (HasWildcard(name)) continue;
        const QString file = name + QStringLiteral(".png");
        if (!QFileInfo::exists(file) || confirmReplace(parent, file)) return name;
    }
}

namespace {

QString RunSaveDialog(QWidget* parent, const QString& startName) {
    PictureSaveDialog dialog(parent, startName);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

bool ConfirmReplace(QWidget* parent, const QString& path) {
    return AskYesNo(parent, QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(path));
}

}  // namespace

QString ChooseSaveNameModally(QWidget* parent) { return ChooseSaveName(parent, RunSaveDialog, ConfirmReplace); }

}  // namespace orbitograph

#include "app/interaction_hooks.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "dialogs/message_box.h"

namespace orbitograph {

namespace {

int RunModal(QDialog& dialog) { return dialog.exec(); }

// The save dialog opens with the name "*.png" and no filter. It does not ask
// about replacing the chosen name: the file written is that name with
// ".png" appended, and the question concerns that one.
QString ChooseSaveName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QStringLiteral("*.png"));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

bool ConfirmReplace(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(path), QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void ShowError(QWidget* parent, const QString& text) { ShowMessageBox(parent, QMessageBox::Critical, text); }

}  // namespace

UiHooks DefaultUiHooks() { return UiHooks{RunModal, ChooseSaveName, ConfirmReplace, ShowError}; }

}  // namespace orbitograph

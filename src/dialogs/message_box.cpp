#include "dialogs/message_box.h"

#include <QCoreApplication>
#include <QPushButton>

#include "dialogs/dialog_controls.h"

namespace orbitograph {

namespace {

// A box with the dialogs' frame: no minimise or maximise box. Its size is
// fixed to its contents when it is shown.
void SetUpBox(QMessageBox& box) { box.setWindowFlags(kDialogWindowFlags); }

}  // namespace

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::NoButton, parent);
    SetUpBox(box);
    QPushButton* ok = box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void ShowWarningBox(QWidget* parent, const QString& text) { ShowMessageBox(parent, QMessageBox::Warning, text); }

bool AskYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), text, QMessageBox::NoButton, parent);
    SetUpBox(box);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

}  // namespace orbitograph

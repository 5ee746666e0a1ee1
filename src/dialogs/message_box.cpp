#include "dialogs/message_box.h"

#include <QCoreApplication>
#include <QPushButton>

namespace orbitograph {

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void ShowWarningBox(QWidget* parent, const QString& text) { ShowMessageBox(parent, QMessageBox::Warning, text); }

}  // namespace orbitograph

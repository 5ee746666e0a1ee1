#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace orbitograph {

// A message box with the application name as caption, the given icon and
// one OK button, which Enter and Esc both press. Modal; returns when
// dismissed.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text);

// The warning of a refused dialog field: the exclamation icon.
void ShowWarningBox(QWidget* parent, const QString& text);

// A question with "Да" and "Нет"; "Нет" is the default and Esc's answer.
// True when the user answers "Да".
bool AskYesNo(QWidget* parent, const QString& text);

}  // namespace orbitograph

#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace orbitograph {

// The frame of every dialog of the program: a caption with the system menu
// and a close box, no minimise or maximise box, no help button.
inline constexpr Qt::WindowFlags kDialogWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Gives a dialog its caption, the dialogs' frame and the dialog font.
void SetUpDialog(QDialog& dialog, const QString& title);

// Widens a text control placed in dialog units to its text where the
// desktop's font is wider than the one the layout was made for.
void WidenToText(QWidget* control);

// A label at a rectangle in pixels, its text at the top left. A wrapped label
// keeps its rectangle; a single-line one is widened to its text.
QLabel* MakeLabel(QWidget* parent, const QString& text, QRect r, bool wrap = false);

// "ОК" and "Отмена", created in that order and wired to the dialog's accept
// and reject; OK is the default button, so Enter confirms. Each is placed at
// its rectangle in pixels unless that is null (a layout places it then).
struct OkCancelButtons {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancelButtons MakeOkCancel(QDialog* dialog, QRect okRect = {}, QRect cancelRect = {});

// An edit at a rectangle in pixels, its object name that of the value it
// edits.
QLineEdit* MakeEdit(QWidget* parent, const QString& name, QRect r);

}  // namespace orbitograph

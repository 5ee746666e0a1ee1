#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace orbitograph {

// Everything the main window asks of the user through a modal loop. The
// defaults run the real dialogs and message boxes; tests replace them so
// that commands run to their end without a modal loop.
struct UiHooks {
    // Runs a prepared dialog modally and returns its result.
    std::function<int(QDialog& dialog)> runDialog;
    // The save dialog: the chosen path, to which the save command appends
    // ".png", or empty when cancelled. The user has agreed to replace the
    // file of that name, if it exists.
    std::function<QString(QWidget* parent)> chooseSaveName;
    // Reports an error the user cannot correct in a dialog.
    std::function<void(QWidget* parent, const QString& text)> showError;
    // The picture to take parameters from, or empty when cancelled.
    std::function<QString(QWidget* parent)> chooseOpenPicture;
    // The .npz or .csv file to export to (extension included), or empty when
    // cancelled; the user has agreed to replace an existing file.
    std::function<QString(QWidget* parent)> chooseExportName;
    // A question with "Да" and "Нет": true for "Да".
    std::function<bool(QWidget* parent, const QString& question)> askYesNo;
};

UiHooks DefaultUiHooks();

}  // namespace orbitograph

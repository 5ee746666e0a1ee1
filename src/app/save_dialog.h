#pragma once

#include <QFileDialog>
#include <QString>
#include <functional>

#include "dialogs/field_exchange.h"

namespace orbitograph {

// The save dialog of the picture: PNG files shown, the name given at the
// start, no question about replacing (the file written is the chosen name
// with ".png" appended, which the dialog does not look at). A name with a
// wildcard, "*" or "?", is not accepted: the dialog warns and stays open.
class PictureSaveDialog : public QFileDialog {
public:
    PictureSaveDialog(QWidget* parent, const QString& startName);

    void SetWarningSink(WarningSink warn) { m_warn = std::move(warn); }

    void accept() override;

private:
    WarningSink m_warn;
};

// True when a file name (the last part of a path) holds "*" or "?".
bool HasWildcard(const QString& path);

// Runs the save dialog opened on a name; the chosen name, or empty when
// cancelled.
using SaveDialogRunner = std::function<QString(QWidget* parent, const QString& startName)>;
// Asks whether an existing file may be replaced.
using ReplaceQuestion = std::function<bool(QWidget* parent, const QString& path)>;

// The name the picture is saved under, without the ".png" that the save
// command appends, or empty when the user cancels. The dialog opens on the
// name "orbitograph"; a name with a wildcard is not taken, and when the file
// to be written exists and the user does not agree to replace it, the dialog
// opens again on the same name.
QString ChooseSaveName(QWidget* parent, const SaveDialogRunner& runDialog, const ReplaceQuestion& confirmReplace);

// The above with the real modal dialog and question.
QString ChooseSaveNameModally(QWidget* parent);

}  // namespace orbitograph

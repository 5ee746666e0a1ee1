#include "app/interaction_hooks.h"

#include <QDialog>

#include "app/data_file_dialogs.h"
#include "app/save_dialog.h"
#include "dialogs/message_box.h"

namespace orbitograph {

namespace {

int RunModal(QDialog& dialog) { return dialog.exec(); }

void ShowError(QWidget* parent, const QString& text) { ShowMessageBox(parent, QMessageBox::Critical, text); }

}  // namespace

UiHooks DefaultUiHooks() {
    return UiHooks{RunModal, ChooseSaveNameModally, ShowError, ChoosePictureToOpenModally, ChooseExportNameModally,
                   AskYesNo};
}

}  // namespace orbitograph

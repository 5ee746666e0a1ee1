#pragma once

#include <QDialog>
#include <optional>

#include "dialogs/field_exchange.h"
#include "dialogs/message_box.h"

namespace orbitograph {

// A modal dialog that works on copies in its members: the controls are
// loaded from the members when the dialog is first shown, and OK saves them
// back and validates them; on a failure the dialog warns through its sink,
// puts the focus on the field with its text selected and stays open.
class ExchangeDialog : public QDialog {
public:
    // Members into the controls.
    void LoadControls();
    // Controls into the members, in exchange order; stops at the first
    // failure and returns it. Members saved before it keep their new values.
    virtual std::optional<FieldFailure> SaveControls() = 0;
    // What OK does: the exchange, then the checks of the saved values; a
    // failure is reported. True when the dialog may close.
    bool Confirm();

    void SetWarningSink(WarningSink warn) { m_warn = std::move(warn); }

    void accept() override;

protected:
    // A dialog with this caption, the dialogs' frame and the dialog font.
    ExchangeDialog(QWidget* parent, const QString& title);

    virtual void LoadFields() = 0;
    // Checks run on the saved members after a successful exchange.
    virtual std::optional<FieldFailure> CheckSaved() { return std::nullopt; }
    // Warns about a failure and puts the focus on its field.
    void Report(const FieldFailure& failure);

    void showEvent(QShowEvent* event) override;

private:
    WarningSink m_warn = ShowWarningBox;
    bool m_loaded = false;
};

}  // namespace orbitograph

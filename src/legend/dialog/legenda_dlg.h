#pragma once

#include <QDialog>
#include <optional>

#include "legend/dialog/field_exchange.h"
#include "legend/legend_fields.h"

class QLineEdit;

namespace orbitograph {

// The legend dialog: the two axis names, the four bounds and the four region
// names. Works on its own copy of the fields (the inherited members); the
// caller copies them in before running it and out after it ends accepted.
class CLegendaDlg : public QDialog, public LegendFields {
public:
    explicit CLegendaDlg(QWidget* parent = nullptr);

    // The edit of a control id, 1022 to 1031; null for any other id.
    QLineEdit* Edit(int id) const;

    // Members into the controls.
    void LoadControls();
    // Controls into the members, in exchange order; stops at the first
    // number field without a number and returns it. Members read before it
    // keep their new values.
    std::optional<FieldFailure> SaveControls();
    // What OK does: the exchange, and on a failure the warning, the focus on
    // the field with its text selected. True when the dialog may close.
    bool Confirm();

    void SetWarningSink(WarningSink warn) { m_warn = std::move(warn); }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edits[10] = {};  // ids 1022 to 1031
    WarningSink m_warn = ShowWarningBox;
    bool m_loaded = false;
};

}  // namespace orbitograph

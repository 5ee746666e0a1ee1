#pragma once

#include <QDialog>
#include <optional>

#include "dialogs/exchange_dialog.h"
#include "legend/legend_fields.h"

class QLineEdit;

namespace orbitograph {

// The legend dialog: the two axis names, the four bounds and the four region
// names. Works on its own copy of the fields (the inherited members); the
// caller copies them in before running it and out after it ends accepted.
// Saving stops at the first number field without a number. Each edit's
// object name is that of the field it edits ("nameHx", "maxHx", "regionT",
// ...).
class CLegendDlg : public ExchangeDialog, public LegendFields {
public:
    explicit CLegendDlg(QWidget* parent = nullptr);

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;

private:
    // The edit of a control id, 1022 to 1031; null for any other id.
    QLineEdit* Edit(int id) const;

    QLineEdit* m_edits[10] = {};  // ids 1022 to 1031
};

}  // namespace orbitograph

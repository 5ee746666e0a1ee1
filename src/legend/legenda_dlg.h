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
// Saving stops at the first number field without a number.
class CLegendaDlg : public ExchangeDialog, public LegendFields {
public:
    explicit CLegendaDlg(QWidget* parent = nullptr);

    // The edit of a control id, 1022 to 1031; null for any other id.
    QLineEdit* Edit(int id) const;

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;

private:
    QLineEdit* m_edits[10] = {};  // ids 1022 to 1031
};

}  // namespace orbitograph

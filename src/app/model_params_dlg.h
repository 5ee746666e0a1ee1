#pragma once

#include <optional>

#include "dialogs/exchange_dialog.h"
#include "model/model_params.h"
#include "view/view_state.h"

class QLineEdit;
class QRadioButton;
class QPushButton;

namespace orbitograph {

// Why the model refuses a parameter, one Russian sentence.
QString ParamRefusalText(const ParamError& e);

// The parameters dialog: the eleven model parameters. Works on its members;
// the caller copies the view state in before running it and the members out
// after it ends accepted. Saving checks each range right after its field;
// confirming then runs the model's own checks. Each control's object name
// is that of the parameter it edits ("a", "step", "dcInward", ...).
class CModelParamsDlg : public ExchangeDialog, public ParamFields {
public:
    explicit CModelParamsDlg(QWidget* parent = nullptr);

    QPushButton* OkButton() const { return m_ok; }

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;
    std::optional<FieldFailure> CheckSaved() override;

private:
    QWidget* FieldOf(ParamField field) const;

    QPushButton* m_ok = nullptr;
    // The edits in tab order.
    QLineEdit *m_editA = nullptr, *m_editDc = nullptr, *m_editKc = nullptr, *m_editN = nullptr, *m_editStep = nullptr;
    QLineEdit *m_editX1 = nullptr, *m_editY1 = nullptr, *m_editY2 = nullptr, *m_editX2 = nullptr;
    // Each direction's buttons: inward, outward.
    QRadioButton *m_dcIn = nullptr, *m_dcOut = nullptr, *m_kcIn = nullptr, *m_kcOut = nullptr;
};

}  // namespace orbitograph

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
// confirming then runs the model's own checks.
class CDlgParam : public ExchangeDialog, public ParamFields {
public:
    explicit CDlgParam(QWidget* parent = nullptr);

    // The edit of a control id (1001, 1006 to 1012, 1014) or the radio button
    // (1002 to 1005); null for any other id.
    QLineEdit* Edit(int id) const;
    QRadioButton* Radio(int id) const;
    QPushButton* OkButton() const { return m_ok; }

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;
    std::optional<FieldFailure> CheckSaved() override;

private:
    QWidget* FieldOf(ParamField field) const;

    QPushButton* m_ok = nullptr;
    QLineEdit* m_editA = nullptr;     // 1001
    QRadioButton* m_dcIn = nullptr;   // 1002
    QRadioButton* m_dcOut = nullptr;  // 1003
    QRadioButton* m_kcIn = nullptr;   // 1004
    QRadioButton* m_kcOut = nullptr;  // 1005
    QLineEdit* m_editDc = nullptr;    // 1006
    QLineEdit* m_editKc = nullptr;    // 1007
    QLineEdit* m_editN = nullptr;     // 1008
    QLineEdit* m_editStep = nullptr;  // 1009
    QLineEdit* m_editX1 = nullptr;    // 1010
    QLineEdit* m_editY1 = nullptr;    // 1011
    QLineEdit* m_editY2 = nullptr;    // 1012
    QLineEdit* m_editX2 = nullptr;    // 1014
};

}  // namespace orbitograph

#pragma once

#include <optional>

#include "dialogs/exchange_dialog.h"

class QLineEdit;
class QPushButton;

namespace orbitograph {

// The dialog "Траектория...": the start point X0, Y0 of an orbit to follow.
// Works on its members; fields are shown and read as the parameters
// dialog's are, and each must hold a finite number.
class CProbeDlg : public ExchangeDialog {
public:
    explicit CProbeDlg(QWidget* parent = nullptr);

    double m_x0 = 0.0;
    double m_y0 = 0.0;

    QLineEdit* EditX0() const { return m_editX0; }
    QLineEdit* EditY0() const { return m_editY0; }
    QPushButton* OkButton() const { return m_ok; }

    std::optional<FieldFailure> SaveControls() override;

protected:
    void LoadFields() override;

private:
    QPushButton* m_ok = nullptr;
    QLineEdit* m_editX0 = nullptr;
    QLineEdit* m_editY0 = nullptr;
};

}  // namespace orbitograph

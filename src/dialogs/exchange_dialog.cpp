#include "dialogs/exchange_dialog.h"

#include "dialogs/dialog_controls.h"

namespace orbitograph {

ExchangeDialog::ExchangeDialog(QWidget* parent, const QString& title) : QDialog(parent) { SetUpDialog(*this, title); }

void ExchangeDialog::LoadControls() {
    LoadFields();
    m_loaded = true;
}

bool ExchangeDialog::Confirm() {
    std::optional<FieldFailure> failure = SaveControls();
    if (!failure) failure = CheckSaved();
    if (failure) Report(*failure);
    return !failure;
}

void ExchangeDialog::accept() {
    if (Confirm()) QDialog::accept();
}

void ExchangeDialog::Report(const FieldFailure& failure) { ReportFieldFailure(this, failure, m_warn); }

void ExchangeDialog::showEvent(QShowEvent* event) {
    if (!m_loaded) LoadControls();
    QDialog::showEvent(event);
}

}  // namespace orbitograph

#include "app/probe_dlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_units.h"

namespace orbitograph {

CProbeDlg::CProbeDlg(QWidget* parent) : ExchangeDialog(parent, QStringLiteral("Траектория")) {
    const DialogUnits du(font());
    setFixedSize(du.Size(180, 84));
    MakeLabel(this, QStringLiteral("Начальная точка орбиты:"), du.Rect(14, 10, 120, 8));
    MakeLabel(this, QStringLiteral("X0="), du.Rect(14, 29, 14, 8));
    m_editX0 = MakeEdit(this, 1201, du.Rect(32, 27, 50, 14));
    MakeLabel(this, QStringLiteral("Y0="), du.Rect(96, 29, 14, 8));
    m_editY0 = MakeEdit(this, 1202, du.Rect(114, 27, 50, 14));
    m_ok = new QPushButton(QStringLiteral("ОК"), this);
    m_ok->setGeometry(du.Rect(32, 58, 50, 14));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CProbeDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setGeometry(du.Rect(114, 58, 50, 14));
    connect(cancel, &QPushButton::clicked, this, &CProbeDlg::reject);
    setTabOrder(m_editX0, m_editY0);
    setTabOrder(m_editY0, m_ok);
    setTabOrder(m_ok, cancel);
    m_editX0->setFocus(Qt::OtherFocusReason);
}

void CProbeDlg::LoadFields() {
    ShowInField(m_editX0, ShowReal(m_x0));
    ShowInField(m_editY0, ShowReal(m_y0));
}

std::optional<FieldFailure> CProbeDlg::SaveControls() {
    auto real = [](QLineEdit* edit, const QString& what, double& member) -> std::optional<FieldFailure> {
        const std::optional<double> v = ReadReal(edit->text());
        if (!v) return FieldFailure{edit, QStringLiteral("Введите число в поле «%1».").arg(what)};
        if (!std::isfinite(*v)) return FieldFailure{edit, QStringLiteral("Значение %1 должно быть конечным числом.").arg(what)};
        member = *v;
        return std::nullopt;
    };
    if (auto f = real(m_editX0, QStringLiteral("X0"), m_x0)) return f;
    return real(m_editY0, QStringLiteral("Y0"), m_y0);
}

}  // namespace orbitograph

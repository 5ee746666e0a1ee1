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
    m_editX0 = MakeEdit(this, QStringLiteral("x0"), du.Rect(32, 27, 50, 14));
    MakeLabel(this, QStringLiteral("Y0="), du.Rect(96, 29, 14, 8));
    m_editY0 = MakeEdit(this, QStringLiteral("y0"), du.Rect(114, 27, 50, 14));
    const auto [ok, cancel] = MakeOkCancel(this, du.Rect(32, 58, 50, 14), du.Rect(114, 58, 50, 14));
    m_ok = ok;
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
        double v = 0.0;
        if (auto f = SaveRealField(edit, what, v)) return f;
        if (!std::isfinite(v))
            return FieldFailure{edit, QStringLiteral("Значение %1 должно быть конечным числом.").arg(what)};
        member = v;
        return std::nullopt;
    };
    if (auto f = real(m_editX0, QStringLiteral("X0"), m_x0)) return f;
    return real(m_editY0, QStringLiteral("Y0"), m_y0);
}

}  // namespace orbitograph

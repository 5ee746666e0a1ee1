#include "dialogs/field_exchange.h"

#include <QLineEdit>

namespace orbitograph {

QString ShowReal(double v) { return QString::fromStdString(FormatGeneral(v, 15)); }

QString ShowInt(std::int32_t v) { return QString::fromStdString(FormatInt(v)); }

void ShowInField(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);
}

std::optional<double> ReadReal(const QString& text) { return ParseLeadingDouble(text.toStdString()); }

IntResult ReadInt(const QString& text) { return ParseLeadingInt(text.toStdString()); }

std::optional<FieldFailure> SaveRealField(QLineEdit* edit, const QString& what, double& member) {
    const std::optional<double> v = ReadReal(edit->text());
    if (!v) return FieldFailure{edit, QStringLiteral("Введите число в поле «%1».").arg(what)};
    member = *v;
    return std::nullopt;
}

void ReportFieldFailure(QWidget* parent, const FieldFailure& failure, const WarningSink& warn) {
    if (warn) warn(parent, failure.message);
    if (failure.field == nullptr) return;
    failure.field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(failure.field)) edit->selectAll();
}

}  // namespace orbitograph

#include "app/exact_spin_box.h"

#include <QLineEdit>
#include <charconv>
#include <cmath>

#include "dialogs/field_exchange.h"

namespace orbitograph {

QString ShortestText(double v) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return QString::fromLatin1(buffer, static_cast<qsizetype>(r.ptr - buffer));
}

ExactSpinBox::ExactSpinBox(double scale, QWidget* parent) : QAbstractSpinBox(parent), m_scale(scale) {
    setKeyboardTracking(false);
    setAccelerated(true);
    connect(this, &QAbstractSpinBox::editingFinished, this, &ExactSpinBox::EditingFinished);
}

void ExactSpinBox::SetValue(double v) {
    m_uncommitted = false;
    m_reported = ShortestText(v);
    lineEdit()->setText(m_reported);
    lineEdit()->setCursorPosition(0);  // a long number shows its start
}

std::optional<double> ExactSpinBox::Value() const { return ReadReal(lineEdit()->text()); }

void ExactSpinBox::stepBy(int steps) {
    const std::optional<double> v = Value();
    if (!v || !std::isfinite(*v) || std::fabs(*v * m_scale) > 1e15) return;
    SetValue((std::round(*v * m_scale) + steps) / m_scale);
    lineEdit()->selectAll();
    m_uncommitted = true;
    if (onChanged) onChanged();
}

QAbstractSpinBox::StepEnabled ExactSpinBox::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

void ExactSpinBox::EditingFinished() {
    if (!hasFocus()) lineEdit()->setCursorPosition(0);
    if (lineEdit()->text() != m_reported) {
        m_reported = lineEdit()->text();
        m_uncommitted = true;
        if (onChanged) onChanged();
    }
    if (!m_uncommitted) return;
    m_uncommitted = false;
    if (onCommitted) onCommitted();
}

}  // namespace orbitograph

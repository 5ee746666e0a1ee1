#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/number_text.h"

class QLineEdit;
class QWidget;

namespace orbitograph {

// The text a real field shows: "%.*g" with 15 significant digits, a point as
// the separator whatever the locale.
QString ShowReal(double v);
// The text an integer field shows: "%d".
QString ShowInt(std::int32_t v);

// Puts a value's text into an edit, shown from its start (a long number
// opens on its leading digits, not on its end).
void ShowInField(QLineEdit* edit, const QString& text);

// Reads a real field: leading blanks skipped, the longest leading decimal
// number taken (no hexadecimal, "inf" or "nan"), the rest ignored. No value
// when no number leads.
std::optional<double> ReadReal(const QString& text);
// Reads an integer field as "%d" does; a number outside 32 bits is refused.
IntResult ReadInt(const QString& text);

// A field that failed to read or validate and the Russian text saying what
// it needs.
struct FieldFailure {
    QWidget* field = nullptr;
    QString message;
};

// Reads a real edit into member with ReadReal. An edit with no leading
// number leaves member alone and fails with "Введите число в поле «what»."
std::optional<FieldFailure> SaveRealField(QLineEdit* edit, const QString& what, double& member);

// Shows a warning to the user; parent is the dialog in front.
using WarningSink = std::function<void(QWidget* parent, const QString& text)>;

// Reports a failure through the sink, then puts the focus on the field and
// selects all its text (for an edit).
void ReportFieldFailure(QWidget* parent, const FieldFailure& failure, const WarningSink& warn);

}  // namespace orbitograph

#include "dialogs/dialog_controls.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/dialog_units.h"

namespace orbitograph {

void SetUpDialog(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(kDialogWindowFlags);
    dialog.setFont(DialogFont());
}

void WidenToText(QWidget* control) {
    const int wanted = control->sizeHint().width();
    if (wanted > control->width()) control->resize(wanted, control->height());
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QRect r, bool wrap) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(r);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!wrap) WidenToText(label);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, int id, QRect r) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(r);
    edit->setObjectName(QStringLiteral("edit%1").arg(id));
    return edit;
}

}  // namespace orbitograph

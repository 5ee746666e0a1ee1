#include "dialogs/dialog_controls.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/dialog_units.h"

namespace orbitograph {

void SetUpDialog(QDialog& dialog, const QString& title) {
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(kDialogWindowFlags);
    dialog.setFont(DialogFont());
}

OkCancelButtons MakeOkCancel(QDialog* dialog, QRect okRect, QRect cancelRect) {
    auto* ok = new QPushButton(QStringLiteral("ОК"), dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    if (!okRect.isNull()) ok->setGeometry(okRect);
    if (!cancelRect.isNull()) cancel->setGeometry(cancelRect);
    return {ok, cancel};
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

QLineEdit* MakeEdit(QWidget* parent, const QString& name, QRect r) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(r);
    edit->setObjectName(name);
    return edit;
}

}  // namespace orbitograph

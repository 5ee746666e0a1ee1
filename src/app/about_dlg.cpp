#include "app/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/app_resources.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_units.h"
#include "program_version.h"

namespace orbitograph {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, QStringLiteral("О программе..."));
    const DialogUnits du(font());
    setFixedSize(du.Size(250, 65));

    auto* ok = new QPushButton(QStringLiteral("ОК"), this);
    ok->setGeometry(du.Rect(189, 11, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* text = new QLabel(QStringLiteral("Orbitograph V ") + QString::fromLatin1(kProgramVersion), this);
    text->setObjectName(QStringLiteral("version"));
    text->setGeometry(du.Rect(62, 20, 68, 8));
    text->adjustSize();

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setGeometry(QRect(du.Rect(25, 21, 21, 20).topLeft(), QSize(32, 32)));
    ok->setFocus(Qt::OtherFocusReason);
}

}  // namespace orbitograph

#include "legend_dialog/legend_dlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_units.h"

static void InitLegendDialogResources() { Q_INIT_RESOURCE(legend_dialog); }

namespace orbitograph {

namespace {

constexpr int kFirstId = 1022;

// The edits' object names, the fields they edit, in id order from kFirstId.
constexpr const char* kEditNames[] = {"nameHx", "nameHy",  "maxHy",   "minHy",   "minHx",
                                      "maxHx",  "regionT", "regionO", "regionM", "regionH"};

}  // namespace

CLegendDlg::CLegendDlg(QWidget* parent) : ExchangeDialog(parent, QStringLiteral("Легенда")) {
    InitLegendDialogResources();
    const DialogUnits du(font());
    setFixedSize(du.Size(455, 287));

    const auto [ok, cancel] = MakeOkCancel(this, du.Rect(330, 258, 50, 14), du.Rect(389, 258, 50, 14));
    ok->setAutoDefault(true);

    auto edit = [&](int id, QRect r) {
        m_edits[id - kFirstId] = MakeEdit(this, QString::fromLatin1(kEditNames[id - kFirstId]), r);
    };

    auto* axes = new QGroupBox(QStringLiteral("Название осей"), this);
    axes->setGeometry(du.Rect(14, 23, 420, 54));
    MakeLabel(this, QStringLiteral("название характеристики Нх (ось х ):"), du.Rect(31, 41, 134, 8));
    edit(1022, du.Rect(180, 39, 235, 14));
    MakeLabel(this, QStringLiteral("название характеристики Нy (ось y ):"), du.Rect(30, 56, 134, 8));
    edit(1023, du.Rect(180, 56, 235, 14));
    MakeLabel(this, QStringLiteral("максимальное значение Нх:"), du.Rect(14, 93, 50, 19), true);
    MakeLabel(this, QStringLiteral("минимальное значение Нх:"), du.Rect(121, 93, 50, 19), true);
    MakeLabel(this, QStringLiteral("минимальное значение Ну:"), du.Rect(121, 122, 50, 19), true);
    MakeLabel(this, QStringLiteral("максимальное значение Ну:"), du.Rect(14, 122, 50, 19), true);
    edit(1024, du.Rect(66, 122, 34, 16));
    edit(1025, du.Rect(175, 122, 34, 16));
    edit(1026, du.Rect(175, 93, 34, 16));
    edit(1027, du.Rect(66, 93, 34, 16));

    auto* regions = new QGroupBox(QStringLiteral("Название областей"), this);
    regions->setGeometry(du.Rect(14, 159, 196, 89));

    // The diagram with the placeholder marks at its own pixel size, never
    // stretched; the dialog units make the control hold all of it.
    auto* picture = new QLabel(this);
    const QPixmap marks(QStringLiteral(":/legend_marks.bmp"));
    picture->setGeometry(du.Rect(259, 87, 173, 160));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setScaledContents(false);
    picture->setPixmap(marks);
    picture->setObjectName(QStringLiteral("picture"));

    MakeLabel(this, QStringLiteral("область Т:"), du.Rect(21, 178, 37, 8));
    edit(1028, du.Rect(77, 176, 103, 14));
    MakeLabel(this, QStringLiteral("область О:"), du.Rect(21, 194, 38, 8));
    MakeLabel(this, QStringLiteral("область Н:"), du.Rect(21, 227, 38, 8));
    MakeLabel(this, QStringLiteral("область М:"), du.Rect(21, 210, 38, 8));
    edit(1029, du.Rect(77, 192, 103, 14));
    edit(1030, du.Rect(77, 208, 104, 14));
    edit(1031, du.Rect(77, 224, 104, 14));

    ok->raise();
    cancel->raise();
    // Tab order: OK, Cancel, then the edits in id order.
    QWidget* previous = cancel;
    setTabOrder(ok, cancel);
    for (QLineEdit* e : m_edits) {
        setTabOrder(previous, e);
        previous = e;
    }
    ok->setFocus(Qt::OtherFocusReason);
}

QLineEdit* CLegendDlg::Edit(int id) const {
    if (id < kFirstId || id >= kFirstId + 10) return nullptr;
    return m_edits[id - kFirstId];
}

void CLegendDlg::LoadFields() {
    ShowInField(Edit(1022), m_nameHx);
    ShowInField(Edit(1023), m_nameHy);
    ShowInField(Edit(1027), ShowReal(m_maxHx));
    ShowInField(Edit(1026), ShowReal(m_minHx));
    ShowInField(Edit(1024), ShowReal(m_maxHy));
    ShowInField(Edit(1025), ShowReal(m_minHy));
    ShowInField(Edit(1028), m_regionT);
    ShowInField(Edit(1029), m_regionO);
    ShowInField(Edit(1030), m_regionM);
    ShowInField(Edit(1031), m_regionH);
}

std::optional<FieldFailure> CLegendDlg::SaveControls() {
    auto number = [this](int id, const QString& what, double& member) { return SaveRealField(Edit(id), what, member); };
    m_nameHx = Edit(1022)->text();
    m_nameHy = Edit(1023)->text();
    if (auto f = number(1027, QStringLiteral("максимальное значение Нх"), m_maxHx)) return f;
    if (auto f = number(1026, QStringLiteral("минимальное значение Нх"), m_minHx)) return f;
    if (auto f = number(1024, QStringLiteral("максимальное значение Ну"), m_maxHy)) return f;
    if (auto f = number(1025, QStringLiteral("минимальное значение Ну"), m_minHy)) return f;
    m_regionT = Edit(1028)->text();
    m_regionO = Edit(1029)->text();
    m_regionM = Edit(1030)->text();
    m_regionH = Edit(1031)->text();
    return std::nullopt;
}

}  // namespace orbitograph

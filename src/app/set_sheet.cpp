#include "app/set_sheet.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_units.h"

namespace orbitograph {

namespace {

// The first page's members in the order of its check boxes, 1017 to 1021,
// beside the display switches they edit.
struct SwitchMember {
    std::int32_t CPage1::*page;
    bool DisplaySwitches::*view;
};
constexpr SwitchMember kSwitchMembers[] = {
    {&CPage1::m_twoModes, &DisplaySwitches::m_twoModes},     {&CPage1::m_showParams, &DisplaySwitches::m_showParams},
    {&CPage1::m_showLegend, &DisplaySwitches::m_showLegend}, {&CPage1::m_showGrid, &DisplaySwitches::m_showGrid},
    {&CPage1::m_aSymmetry, &DisplaySwitches::m_aSymmetry},
};

}  // namespace

CPage1::CPage1(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits du(font());
    setMinimumSize(du.Size(318, 182));
    auto box = [&](int index, int id, const QString& text, QRect r) {
        auto* b = new QCheckBox(text, this);
        b->setGeometry(r);
        b->setObjectName(QStringLiteral("check%1").arg(id));
        WidenToText(b);
        m_boxes[index] = b;
    };
    MakeLabel(this, QStringLiteral("Режим работы программы:"), du.Rect(15, 26, 91, 8));
    box(0, 1017, QStringLiteral("Выводить на экран одновременно два режима"), du.Rect(19, 39, 174, 10));
    MakeLabel(this, QStringLiteral("Отображать на экране:"), du.Rect(15, 58, 82, 8));
    box(1, 1018, QStringLiteral("область со значениями параметров"), du.Rect(19, 69, 136, 10));
    box(2, 1019, QStringLiteral("область легенды"), du.Rect(19, 80, 75, 10));
    box(3, 1020, QStringLiteral("сетку"), du.Rect(19, 93, 35, 10));
    box(4, 1021, QStringLiteral("Использовать правило А-симметрии"), du.Rect(19, 117, 134, 10));
}

QCheckBox* CPage1::Box(int id) const {
    if (id < 1017 || id > 1021) return nullptr;
    return m_boxes[id - 1017];
}

void CPage1::LoadControls() {
    for (int i = 0; i < 5; ++i) m_boxes[i]->setChecked(this->*kSwitchMembers[i].page == 1);
}

std::optional<FieldFailure> CPage1::SaveControls() {
    for (int i = 0; i < 5; ++i) this->*kSwitchMembers[i].page = m_boxes[i]->isChecked() ? 1 : 0;
    return std::nullopt;
}

CPage2::CPage2(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits du(font());
    setMinimumSize(du.Size(316, 183));
    MakeLabel(this, QStringLiteral("Шрифт области параметров:"), du.Rect(17, 18, 99, 8));
    MakeLabel(this, QStringLiteral("размер шрифта:"), du.Rect(25, 31, 56, 8));
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(du.Rect(86, 29, 38, 14));
    m_edit->setObjectName(QStringLiteral("edit1019"));
    m_fit = new QCheckBox(QStringLiteral("Показывать пространства по размеру окна"), this);
    m_fit->setGeometry(du.Rect(17, 56, 200, 10));
    m_fit->setObjectName(QStringLiteral("checkFitWindow"));
    WidenToText(m_fit);
}

void CPage2::LoadControls() {
    ShowInField(m_edit, ShowInt(m_fontSize));
    m_fit->setChecked(m_fitWindow == 1);
}

std::optional<FieldFailure> CPage2::SaveControls() {
    const IntResult r = ReadInt(m_edit->text());
    const QString need = QStringLiteral("Размер шрифта должен быть целым числом от 1 до 50.");
    if (r.status != IntParse::Ok) return FieldFailure{m_edit, need};
    m_fitWindow = m_fit->isChecked() ? 1 : 0;
    m_fontSize = r.value;
    if (m_fontSize < 1 || m_fontSize > 50) return FieldFailure{m_edit, need};
    return std::nullopt;
}

CSetSheet::CSetSheet(QWidget* parent) : ExchangeDialog(parent, QStringLiteral("Настройки программы")) {
    m_tabs = new QTabWidget(this);
    m_page1 = new CPage1;
    m_page2 = new CPage2;
    m_tabs->addTab(m_page1, QStringLiteral("Основные настройки программы"));
    m_tabs->addTab(m_page2, QStringLiteral("Настройки отображения"));
    m_tabs->setCurrentIndex(0);

    const auto [ok, cancel] = MakeOkCancel(this);
    // No page ever reports a change, so Apply never becomes available.
    m_apply = new QPushButton(QStringLiteral("Применить"), this);
    m_apply->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(m_apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CSetSheet::OnTabChanged);
}

void CSetSheet::SetSwitches(const DisplaySwitches& switches) {
    for (const SwitchMember& m : kSwitchMembers) m_page1->*m.page = switches.*m.view ? 1 : 0;
    m_page2->m_fontSize = switches.m_fontSize;
    m_page2->m_fitWindow = switches.m_fitWindow ? 1 : 0;
}

DisplaySwitches CSetSheet::Switches() const {
    DisplaySwitches switches;
    // The check boxes' members hold 0 or 1; only 1 counts as on.
    for (const SwitchMember& m : kSwitchMembers) switches.*m.view = m_page1->*m.page == 1;
    switches.m_fontSize = m_page2->m_fontSize;
    switches.m_fitWindow = m_page2->m_fitWindow == 1;
    return switches;
}

std::optional<FieldFailure> CSetSheet::SaveControls() {
    return m_current == 0 ? m_page1->SaveControls() : m_page2->SaveControls();
}

void CSetSheet::LoadFields() {
    if (m_current == 0)
        m_page1->LoadControls();
    else
        m_page2->LoadControls();
}

void CSetSheet::OnTabChanged(int index) {
    if (m_reverting || index == m_current) return;
    if (const std::optional<FieldFailure> failure = SaveControls()) {
        m_reverting = true;
        m_tabs->setCurrentIndex(m_current);
        m_reverting = false;
        Report(*failure);
        return;
    }
    m_current = index;
    LoadFields();
}

}  // namespace orbitograph

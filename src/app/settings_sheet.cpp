#include "app/settings_sheet.h"

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

// The first page's members in the order of its check boxes, beside the display switches they edit.
struct SwitchMember {
    std::int32_t CDisplaySwitchesPage::*page;
    bool DisplaySwitches::*view;
};
constexpr SwitchMember kSwitchMembers[] = {
    {&CDisplaySwitchesPage::m_twoModes, &DisplaySwitches::m_twoModes},
    {&CDisplaySwitchesPage::m_showParams, &DisplaySwitches::m_showParams},
    {&CDisplaySwitchesPage::m_showLegend, &DisplaySwitches::m_showLegend},
    {&CDisplaySwitchesPage::m_showGrid, &DisplaySwitches::m_showGrid},
    {&CDisplaySwitchesPage::m_aSymmetry, &DisplaySwitches::m_aSymmetry},
};

}  // namespace

CDisplaySwitchesPage::CDisplaySwitchesPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits du(font());
    setMinimumSize(du.Size(318, 182));
    auto box = [&](int index, const char* name, const QString& text, QRect r) {
        auto* b = new QCheckBox(text, this);
        b->setGeometry(r);
        b->setObjectName(QString::fromLatin1(name));
        WidenToText(b);
        m_boxes[index] = b;
    };
    MakeLabel(this, QStringLiteral("Режим работы программы:"), du.Rect(15, 26, 91, 8));
    box(0, "twoModes", QStringLiteral("Выводить на экран одновременно два режима"), du.Rect(19, 39, 174, 10));
    MakeLabel(this, QStringLiteral("Отображать на экране:"), du.Rect(15, 58, 82, 8));
    box(1, "showParams", QStringLiteral("область со значениями параметров"), du.Rect(19, 69, 136, 10));
    box(2, "showLegend", QStringLiteral("область легенды"), du.Rect(19, 80, 75, 10));
    box(3, "showGrid", QStringLiteral("сетку"), du.Rect(19, 93, 35, 10));
    box(4, "aSymmetry", QStringLiteral("Использовать правило А-симметрии"), du.Rect(19, 117, 134, 10));
}

void CDisplaySwitchesPage::LoadControls() {
    for (int i = 0; i < 5; ++i) m_boxes[i]->setChecked(this->*kSwitchMembers[i].page == 1);
}

std::optional<FieldFailure> CDisplaySwitchesPage::SaveControls() {
    for (int i = 0; i < 5; ++i) this->*kSwitchMembers[i].page = m_boxes[i]->isChecked() ? 1 : 0;
    return std::nullopt;
}

CFontAndFitPage::CFontAndFitPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    const DialogUnits du(font());
    setMinimumSize(du.Size(316, 183));
    MakeLabel(this, QStringLiteral("Шрифт области параметров:"), du.Rect(17, 18, 99, 8));
    MakeLabel(this, QStringLiteral("размер шрифта:"), du.Rect(25, 31, 56, 8));
    m_edit = new QLineEdit(this);
    m_edit->setGeometry(du.Rect(86, 29, 38, 14));
    m_edit->setObjectName(QStringLiteral("fontSize"));
    m_fit = new QCheckBox(QStringLiteral("Показывать пространства по размеру окна"), this);
    m_fit->setGeometry(du.Rect(17, 56, 200, 10));
    m_fit->setObjectName(QStringLiteral("fitWindow"));
    WidenToText(m_fit);
}

void CFontAndFitPage::LoadControls() {
    ShowInField(m_edit, ShowInt(m_fontSize));
    m_fit->setChecked(m_fitWindow == 1);
}

std::optional<FieldFailure> CFontAndFitPage::SaveControls() {
    const IntResult r = ReadInt(m_edit->text());
    const QString need = QStringLiteral("Размер шрифта должен быть целым числом от 1 до 50.");
    if (r.status != IntParse::Ok) return FieldFailure{m_edit, need};
    m_fitWindow = m_fit->isChecked() ? 1 : 0;
    m_fontSize = r.value;
    if (m_fontSize < 1 || m_fontSize > 50) return FieldFailure{m_edit, need};
    return std::nullopt;
}

CSettingsSheet::CSettingsSheet(QWidget* parent) : ExchangeDialog(parent, QStringLiteral("Настройки программы")) {
    m_tabs = new QTabWidget(this);
    m_page1 = new CDisplaySwitchesPage;
    m_page2 = new CFontAndFitPage;
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
    connect(m_tabs, &QTabWidget::currentChanged, this, &CSettingsSheet::OnTabChanged);
}

void CSettingsSheet::SetSwitches(const DisplaySwitches& switches) {
    for (const SwitchMember& m : kSwitchMembers) m_page1->*m.page = switches.*m.view ? 1 : 0;
    m_page2->m_fontSize = switches.m_fontSize;
    m_page2->m_fitWindow = switches.m_fitWindow ? 1 : 0;
}

DisplaySwitches CSettingsSheet::Switches() const {
    DisplaySwitches switches;
    // The check boxes' members hold 0 or 1; only 1 counts as on.
    for (const SwitchMember& m : kSwitchMembers) switches.*m.view = m_page1->*m.page == 1;
    switches.m_fontSize = m_page2->m_fontSize;
    switches.m_fitWindow = m_page2->m_fitWindow == 1;
    return switches;
}

std::optional<FieldFailure> CSettingsSheet::SaveControls() {
    return m_current == 0 ? m_page1->SaveControls() : m_page2->SaveControls();
}

void CSettingsSheet::LoadFields() {
    if (m_current == 0)
        m_page1->LoadControls();
    else
        m_page2->LoadControls();
}

void CSettingsSheet::OnTabChanged(int index) {
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

#include "app/model_params_dlg.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_units.h"
#include "model/number_text.h"
#include "request/param_table.h"

namespace orbitograph {

namespace {

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& text, QRect r) {
    auto* b = new QRadioButton(text, parent);
    b->setGeometry(r);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::ClickFocus);  // radio buttons are no tab stops
    WidenToText(b);
    return b;
}

// The buttons of one direction, "Внутрь" (value 0, named <action>Inward) and
// "Во вне" (value 1, <action>Outward), side by side on the dialog row y, in
// a group of their own.
void MakeDirectionRadios(QWidget* parent, const DialogUnits& du, const QString& action, int y, QRadioButton*& in,
                         QRadioButton*& out) {
    in = MakeRadio(parent, action + QStringLiteral("Inward"), QStringLiteral("Внутрь"), du.Rect(25, y, 40, 10));
    out = MakeRadio(parent, action + QStringLiteral("Outward"), QStringLiteral("Во вне"), du.Rect(137, y, 38, 10));
    auto* group = new QButtonGroup(parent);
    group->addButton(in, 0);
    group->addButton(out, 1);
}

// Shows value 0 as the first button and 1 as the second; any other value
// leaves both off.
void LoadRadio(QRadioButton* first, QRadioButton* second, std::int32_t value) {
    QButtonGroup* group = first->group();
    group->setExclusive(false);
    first->setChecked(value == 0);
    second->setChecked(value == 1);
    group->setExclusive(true);
}

std::int32_t SaveRadio(const QRadioButton* first, const QRadioButton* second) {
    if (first->isChecked()) return 0;
    if (second->isChecked()) return 1;
    return -1;
}

// The static texts of the dialog, in dialog units: a parameter's label
// from kParamTable, or a text of its own.
struct LabelRow {
    std::optional<ParamField> field;
    const char* text;
    int x, y, width, height;
    QString Text() const {
        if (!field) return QString::fromUtf8(text);
        const std::string_view label = ParamRowOf(*field).label;
        return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
    }
};
constexpr LabelRow kLabels[] = {
    {ParamField::A, nullptr, 23, 20, 110, 8},
    {ParamField::DcOutward, nullptr, 25, 64, 104, 8},
    {std::nullopt, "(к 0 вдоль оси х)", 25, 91, 58, 8},
    {std::nullopt, "(в беск. вдоль оси х)", 137, 91, 72, 8},
    {ParamField::KcOutward, nullptr, 25, 117, 103, 8},
    {std::nullopt, "(к 0 вдоль оси у)", 25, 144, 58, 8},
    {std::nullopt, "(в беск. вдоль оси у)", 137, 144, 72, 8},
    {std::nullopt, "Введите значение параметра С:", 25, 173, 110, 8},
    {ParamField::Dc, nullptr, 25, 185, 14, 8},
    {ParamField::Kc, nullptr, 137, 185, 14, 8},
    {ParamField::Iterations, nullptr, 21, 242, 58, 8},
    {ParamField::Step, nullptr, 167, 242, 18, 8},
    {ParamField::X1, nullptr, 22, 273, 14, 8},
    {ParamField::Y1, nullptr, 141, 273, 14, 8},
    {ParamField::X2, nullptr, 80, 274, 14, 8},
    {ParamField::Y2, nullptr, 199, 273, 14, 8},
};

}  // namespace

QString ParamRefusalText(const ParamError& e) {
    const char* const edges[] = {"X1", "X2", "Y1", "Y2"};
    switch (e.reason) {
        case ParamReason::NotFinite:
            if (e.field == ParamField::A) return QStringLiteral("Параметр A должен быть конечным числом.");
            return QStringLiteral("Значение %1 должно быть конечным числом.")
                .arg(e.field == ParamField::Dc ? "Dc" : "Kc");
        case ParamReason::NoDirection:
            return QStringLiteral("Выберите направление воздействия %1.")
                .arg(e.field == ParamField::DcOutward ? "Dc" : "Kc");
        case ParamReason::StepTooSmall:
            return QStringLiteral("Шаг должен быть конечным числом не меньше %1.")
                .arg(QString::fromStdString(FormatGeneral(kMinStep, 15)));
        case ParamReason::EdgeOutOfRange:
            return QStringLiteral("Значение %1 должно быть числом от -2 до 2.")
                .arg(edges[static_cast<int>(e.field) - static_cast<int>(ParamField::X1)]);
        case ParamReason::TooManyPoints:
            return QStringLiteral(
                       "Слишком мелкий шаг: сетка содержит больше %1 начальных точек (каждая точка "
                       "занимает до 16 байт памяти). Увеличьте шаг или уменьшите область.")
                .arg(QString::fromStdString(FormatInt(kMaxStartPoints)));
    }
    return {};
}

CModelParamsDlg::CModelParamsDlg(QWidget* parent)
    : ExchangeDialog(parent, QStringLiteral("Параметры и исходные данные модели")) {
    const DialogUnits du(font());
    setFixedSize(du.Size(272, 336));

    // OK is the default button and the first tab stop, so Enter confirms.
    const auto [ok, cancel] = MakeOkCancel(this, du.Rect(49, 306, 50, 14), du.Rect(165, 306, 50, 14));
    m_ok = ok;
    for (const LabelRow& l : kLabels) MakeLabel(this, l.Text(), du.Rect(l.x, l.y, l.width, l.height));
    m_editA = MakeEdit(this, QStringLiteral("a"), du.Rect(150, 18, 49, 16));
    auto* group = new QGroupBox(QStringLiteral("Внешнее воздействие (C):"), this);
    group->setGeometry(du.Rect(18, 46, 224, 178));
    group->lower();
    MakeDirectionRadios(this, du, QStringLiteral("dc"), 78, m_dcIn, m_dcOut);
    MakeDirectionRadios(this, du, QStringLiteral("kc"), 129, m_kcIn, m_kcOut);
    m_editDc = MakeEdit(this, QStringLiteral("dc"), du.Rect(55, 185, 44, 14));
    m_editKc = MakeEdit(this, QStringLiteral("kc"), du.Rect(157, 185, 44, 15));
    m_editN = MakeEdit(this, QStringLiteral("iterations"), du.Rect(82, 242, 37, 16));
    m_editStep = MakeEdit(this, QStringLiteral("step"), du.Rect(204, 242, 35, 13));
    m_editX1 = MakeEdit(this, QStringLiteral("x1"), du.Rect(40, 271, 27, 17));
    m_editY1 = MakeEdit(this, QStringLiteral("y1"), du.Rect(157, 271, 27, 17));
    m_editY2 = MakeEdit(this, QStringLiteral("y2"), du.Rect(213, 271, 27, 17));
    m_editX2 = MakeEdit(this, QStringLiteral("x2"), du.Rect(95, 271, 27, 18));

    QWidget* order[] = {m_ok,       cancel,   m_editA,  m_editDc, m_editKc, m_editN,
                        m_editStep, m_editX1, m_editY1, m_editY2, m_editX2};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    m_ok->setFocus(Qt::OtherFocusReason);
}

void CModelParamsDlg::LoadFields() {
    ShowInField(m_editA, ShowReal(m_a));
    LoadRadio(m_dcIn, m_dcOut, m_dcOutward);
    LoadRadio(m_kcIn, m_kcOut, m_kcOutward);
    ShowInField(m_editDc, ShowReal(m_dc));
    ShowInField(m_editKc, ShowReal(m_kc));
    ShowInField(m_editN, ShowInt(m_iterations));
    ShowInField(m_editStep, ShowReal(m_step));
    ShowInField(m_editX1, ShowReal(m_x1));
    ShowInField(m_editX2, ShowReal(m_x2));
    ShowInField(m_editY1, ShowReal(m_y1));
    ShowInField(m_editY2, ShowReal(m_y2));
}

std::optional<FieldFailure> CModelParamsDlg::SaveControls() {
    auto edge = [&](QLineEdit* edit, const QString& what, ParamField field,
                    double& member) -> std::optional<FieldFailure> {
        if (auto f = SaveRealField(edit, what, member)) return f;
        const ParamRow& row = ParamRowOf(field);
        if (!(member >= row.lowest && member <= row.highest)) {
            return FieldFailure{edit, QStringLiteral("Значение %1 должно лежать в пределах от %2 до %3.")
                                          .arg(what, ShowReal(row.lowest), ShowReal(row.highest))};
        }
        return std::nullopt;
    };

    if (auto f = SaveRealField(m_editA, QStringLiteral("A"), m_a)) return f;
    m_dcOutward = SaveRadio(m_dcIn, m_dcOut);
    m_kcOutward = SaveRadio(m_kcIn, m_kcOut);
    if (auto f = SaveRealField(m_editDc, QStringLiteral("Dc"), m_dc)) return f;
    if (auto f = SaveRealField(m_editKc, QStringLiteral("Kc"), m_kc)) return f;
    const IntResult n = ReadInt(m_editN->text());
    if (n.status == IntParse::NoNumber)
        return FieldFailure{m_editN, QStringLiteral("Введите целое число в поле «Число итераций».")};
    if (n.status == IntParse::OutOfRange) {
        return FieldFailure{m_editN, QStringLiteral("Число итераций должно быть целым числом от %1 до %2.")
                                         .arg(ShowInt(INT32_MIN), ShowInt(INT32_MAX))};
    }
    m_iterations = n.value;
    if (auto f = SaveRealField(m_editStep, QStringLiteral("Шаг"), m_step)) return f;
    if (auto f = edge(m_editX1, QStringLiteral("X1"), ParamField::X1, m_x1)) return f;
    if (auto f = edge(m_editX2, QStringLiteral("X2"), ParamField::X2, m_x2)) return f;
    if (auto f = edge(m_editY1, QStringLiteral("Y1"), ParamField::Y1, m_y1)) return f;
    if (auto f = edge(m_editY2, QStringLiteral("Y2"), ParamField::Y2, m_y2)) return f;
    return std::nullopt;
}

QWidget* CModelParamsDlg::FieldOf(ParamField field) const {
    switch (field) {
        case ParamField::A: return m_editA;
        case ParamField::DcOutward: return m_dcIn;
        case ParamField::KcOutward: return m_kcIn;
        case ParamField::Dc: return m_editDc;
        case ParamField::Kc: return m_editKc;
        case ParamField::Iterations: return m_editN;
        case ParamField::Step: return m_editStep;
        case ParamField::X1: return m_editX1;
        case ParamField::X2: return m_editX2;
        case ParamField::Y1: return m_editY1;
        case ParamField::Y2: return m_editY2;
    }
    return nullptr;
}

std::optional<FieldFailure> CModelParamsDlg::CheckSaved() {
    if (const std::optional<ParamError> refusal = CheckParameters(Params()))
        return FieldFailure{FieldOf(refusal->field), ParamRefusalText(*refusal)};
    return std::nullopt;
}

}  // namespace orbitograph

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "app/model_params_dlg.h"
#include "support/dialog_test_support.h"

using namespace orbitograph;

namespace {

// A shown dialog holding the defaults, warnings recorded instead of shown.
struct ParamDialog : test::Shown<CModelParamsDlg> {
    ParamDialog() : Shown([](CModelParamsDlg& d) { d.SetParams(ModelParams{}); }) {}
};

}  // namespace

// Then Tab goes from OK through the rectangle as X1 Y1 Y2 X2.
TEST(ParamDialog, ShowsTheDefaultsInMemberOrderWithOkFocused) {
    ParamDialog d;
    QStringList shown;
    for (const char* name : {"a", "dc", "kc", "iterations", "step", "x1", "x2", "y1", "y2"})
        shown << test::Named(d.dlg, name)->text();
    EXPECT_EQ(shown.join(", "), "0.8, 0.5, 0.8, 10, 0.01, -2, 2, -2, 2");
    for (const char* name : {"dcInward", "dcOutward", "kcInward", "kcOutward"}) {
        const bool on = name == std::string_view("dcOutward") || name == std::string_view("kcInward");
        EXPECT_EQ(test::Named<QRadioButton>(d.dlg, name)->isChecked(), on) << name;
    }
    EXPECT_EQ(d.dlg.focusWidget(), d.dlg.OkButton());
    EXPECT_TRUE(d.dlg.OkButton()->isDefault());
    EXPECT_EQ(test::LayoutFaults(d.dlg), QStringList{});

    QWidget* w = d.dlg.OkButton();
    QStringList order;
    for (int i = 0; i < 11; ++i) {
        w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        order << (w->objectName().isEmpty() ? qobject_cast<QPushButton*>(w) ? "button" : "?" : w->objectName());
    }
    EXPECT_EQ(order.join(" "), "button a dc kc iterations step x1 y1 y2 x2 button");
}

// One field typed, OK pressed: what the model receives, or which field is
// refused. Values are checked against the member the field edits.
TEST(ParamDialog, ReadsAndRefusesFieldsAsTheConventionsSay) {
    struct Row {
        const char* field;
        const char* text;
        std::optional<double> value;  // unset: refused
        const char* messageHas;
    };
    const Row rows[] = {
        {"a", "0,8", 0.0, ""},
        {"a", " 1e-2", 0.01, ""},
        {"a", "-3.5 и ещё", -3.5, ""},
        {"a", "", std::nullopt, "число"},
        {"a", ",", std::nullopt, "число"},
        {"a", "1e999", std::nullopt, "A"},  // infinite: refused by the model's checks
        {"dc", "0", 0.0, ""},
        {"kc", "-0.8", -0.8, ""},
        {"iterations", "12abc", 12.0, ""},
        {"iterations", "-1", -1.0, ""},
        {"iterations", "2147483647", 2147483647.0, ""},
        {"iterations", "1.5", 1.0, ""},
        {"iterations", "2147483648", std::nullopt, "2147483647"},
        {"iterations", "-2147483649", std::nullopt, "-2147483648"},
        {"iterations", "x", std::nullopt, "целое"},
        {"step", "0.02", 0.02, ""},
        {"step", "0", std::nullopt, "Шаг"},
        {"step", "0.0001", std::nullopt, "Слишком мелкий шаг"},  // 1.6e9 start points
        {"x1", "2", 2.0, ""},
        {"x1", "2.0000001", std::nullopt, "от -2 до 2"},
        {"x1", "-2.0000001", std::nullopt, "X1"},
        {"x2", "1.5", 1.5, ""},
        {"y1", "1", 1.0, ""},
        {"y2", "-2.5", std::nullopt, "Y2"},
        {"y2", "nan", std::nullopt, "Y2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.field << " text '" << row.text << "'");
        ParamDialog d;
        QLineEdit* edit = test::Named(d.dlg, row.field);
        edit->setText(QString::fromUtf8(row.text));
        const bool accepted = d.dlg.Confirm();
        EXPECT_EQ(accepted, row.value.has_value());
        if (row.value) {
            const ModelParams p = d.dlg.Params();
            const std::map<std::string, double> member{
                {"a", p.a},   {"dc", p.dc}, {"kc", p.kc}, {"iterations", p.iterations}, {"step", p.step}, {"x1", p.x1},
                {"x2", p.x2}, {"y1", p.y1}, {"y2", p.y2}};
            EXPECT_EQ(member.at(row.field), *row.value);
            EXPECT_TRUE(d.warnings.isEmpty());
        } else {
            ASSERT_EQ(d.warnings.size(), 1);
            EXPECT_TRUE(d.warnings[0].contains(QString::fromUtf8(row.messageHas))) << d.warnings[0].toStdString();
            EXPECT_EQ(d.dlg.focusWidget(), edit);
            EXPECT_EQ(edit->selectedText(), edit->text());
        }
    }
}

// Several fields wrong: only the first is reported and focused; corrected,
// the next is. X1 > X2 is accepted. The radio groups carry their position;
// a group with none on is refused.
TEST(ParamDialog, ReportsTheFirstFailingFieldThenTheNextAndReadsTheRadioGroups) {
    ParamDialog d;
    test::Named(d.dlg, "x1")->setText("3");
    test::Named(d.dlg, "x2")->setText("5");
    test::Named(d.dlg, "y2")->setText("");
    const std::tuple<const char*, const char*, const char*> steps[] = {
        {"x1", "X1", "1"}, {"x2", "X2", "-1"}, {"y2", "", "0"}};
    for (const auto& [field, messageHas, correction] : steps) {
        SCOPED_TRACE(field);
        EXPECT_FALSE(d.dlg.Confirm());
        ASSERT_EQ(d.warnings.size(), 1);
        EXPECT_TRUE(d.warnings.takeFirst().contains(messageHas));
        EXPECT_EQ(d.dlg.focusWidget(), test::Named(d.dlg, field));
        test::Named(d.dlg, field)->setText(correction);
    }
    test::Named<QRadioButton>(d.dlg, "dcInward")->setChecked(true);
    test::Named<QRadioButton>(d.dlg, "kcOutward")->setChecked(true);
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(std::tuple(d.dlg.m_x1, d.dlg.m_x2, d.dlg.m_dcOutward, d.dlg.m_kcOutward), std::tuple(1.0, -1.0, 0, 1));

    ModelParams odd;
    odd.dcOutward = 7;  // matches no button: both shown off
    d.dlg.SetParams(odd);
    d.dlg.LoadControls();
    EXPECT_FALSE(test::Named<QRadioButton>(d.dlg, "dcInward")->isChecked() ||
                 test::Named<QRadioButton>(d.dlg, "dcOutward")->isChecked());
    EXPECT_FALSE(d.dlg.Confirm());
    EXPECT_EQ(d.dlg.m_dcOutward, -1);
    ASSERT_EQ(d.warnings.size(), 1);
    EXPECT_TRUE(d.warnings[0].contains("Dc"));
}

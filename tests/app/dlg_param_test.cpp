#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <optional>
#include <tuple>

#include "app/dlg_param.h"
#include "support/dialog_test_support.h"

using namespace orbitograph;

namespace {

// A shown dialog holding the defaults, warnings recorded instead of shown.
struct ParamDialog : test::Shown<CDlgParam> {
    ParamDialog() : Shown([](CDlgParam& d) { d.SetParams(ModelParams{}); }) {}
};

}  // namespace

// Then Tab goes from OK through the rectangle as X1 Y1 Y2 X2.
TEST(ParamDialog, ShowsTheDefaultsInMemberOrderWithOkFocused) {
    ParamDialog d;
    QStringList shown;
    for (int id : {1001, 1006, 1007, 1008, 1009, 1010, 1014, 1011, 1012}) shown << d.dlg.Edit(id)->text();
    EXPECT_EQ(shown.join(", "), "0.8, 0.5, 0.8, 10, 0.01, -2, 2, -2, 2");
    for (int id : {1002, 1003, 1004, 1005}) EXPECT_EQ(d.dlg.Radio(id)->isChecked(), id == 1003 || id == 1004) << id;
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
    EXPECT_EQ(order.join(" "),
              "button edit1001 edit1006 edit1007 edit1008 edit1009 edit1010 edit1011 edit1012 edit1014 button");
}

// One field typed, OK pressed: what the model receives, or which field is
// refused. Values are checked against the member the field edits.
TEST(ParamDialog, ReadsAndRefusesFieldsAsTheConventionsSay) {
    struct Row {
        int id;
        const char* text;
        std::optional<double> value;  // unset: refused
        const char* messageHas;
    };
    const Row rows[] = {
        {1001, "0,8", 0.0, ""},
        {1001, " 1e-2", 0.01, ""},
        {1001, "-3.5 и ещё", -3.5, ""},
        {1001, "", std::nullopt, "число"},
        {1001, ",", std::nullopt, "число"},
        {1001, "   ", std::nullopt, "число"},
        {1001, "1e999", std::nullopt, "A"},  // infinite: refused by the model's checks
        {1006, "0", 0.0, ""},
        {1007, "-0.8", -0.8, ""},
        {1008, "12abc", 12.0, ""},
        {1008, "-1", -1.0, ""},
        {1008, "2147483647", 2147483647.0, ""},
        {1008, "1.5", 1.0, ""},
        {1008, "2147483648", std::nullopt, "2147483647"},
        {1008, "-2147483649", std::nullopt, "-2147483648"},
        {1008, "x", std::nullopt, "целое"},
        {1009, "0.02", 0.02, ""},
        {1009, "0", std::nullopt, "Шаг"},
        {1009, "-0.01", std::nullopt, "Шаг"},
        {1009, "0.0001", std::nullopt, "Слишком мелкий шаг"},  // 1.6e9 start points
        {1010, "-2", -2.0, ""},
        {1010, "2", 2.0, ""},
        {1010, "2.0000001", std::nullopt, "от -2 до 2"},
        {1010, "-2.0000001", std::nullopt, "X1"},
        {1014, "1.5", 1.5, ""},
        {1011, "1", 1.0, ""},
        {1012, "-2.5", std::nullopt, "Y2"},
        {1012, "nan", std::nullopt, "Y2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "field " << row.id << " text '" << row.text << "'");
        ParamDialog d;
        QLineEdit* edit = d.dlg.Edit(row.id);
        edit->setText(QString::fromUtf8(row.text));
        const bool accepted = d.dlg.Confirm();
        EXPECT_EQ(accepted, row.value.has_value());
        if (row.value) {
            const ModelParams p = d.dlg.Params();
            const std::map<int, double> member{{1001, p.a},          {1006, p.dc},   {1007, p.kc},
                                               {1008, p.iterations}, {1009, p.step}, {1010, p.x1},
                                               {1014, p.x2},         {1011, p.y1},   {1012, p.y2}};
            EXPECT_EQ(member.at(row.id), *row.value);
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
    d.dlg.Edit(1010)->setText("3");
    d.dlg.Edit(1014)->setText("5");
    d.dlg.Edit(1012)->setText("");
    const std::tuple<int, const char*, const char*> steps[] = {{1010, "X1", "1"}, {1014, "X2", "-1"}, {1012, "", "0"}};
    for (const auto& [id, messageHas, correction] : steps) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(d.dlg.Confirm());
        ASSERT_EQ(d.warnings.size(), 1);
        EXPECT_TRUE(d.warnings.takeFirst().contains(messageHas));
        EXPECT_EQ(d.dlg.focusWidget(), d.dlg.Edit(id));
        d.dlg.Edit(id)->setText(correction);
    }
    d.dlg.Radio(1002)->setChecked(true);
    d.dlg.Radio(1005)->setChecked(true);
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(std::tuple(d.dlg.m_x1, d.dlg.m_x2, d.dlg.m_dcOutward, d.dlg.m_kcOutward), std::tuple(1.0, -1.0, 0, 1));

    ModelParams odd;
    odd.dcOutward = 7;  // matches no button: both shown off
    d.dlg.SetParams(odd);
    d.dlg.LoadControls();
    EXPECT_FALSE(d.dlg.Radio(1002)->isChecked() || d.dlg.Radio(1003)->isChecked());
    EXPECT_FALSE(d.dlg.Confirm());
    EXPECT_EQ(d.dlg.m_dcOutward, -1);
    ASSERT_EQ(d.warnings.size(), 1);
    EXPECT_TRUE(d.warnings[0].contains("Dc"));
}

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "legend_dialog/legend_dlg.h"
#include "support/dialog_test_support.h"

using namespace orbitograph;

namespace {

using LegendDialog = test::Shown<CLegendDlg>;
constexpr const char* kTextFields[] = {"nameHx", "nameHy", "regionT", "regionO", "regionM", "regionH"};

}  // namespace

// The first opening shows empty names, zeros and the picture; texts are taken
// whole and the bounds are not compared.
TEST(LegendDialog, FirstOpeningAndTexts) {
    LegendDialog d;
    for (const char* field : kTextFields) EXPECT_EQ(test::Named(d.dlg, field)->text(), "") << field;
    for (const char* field : {"maxHx", "minHx", "maxHy", "minHy"})
        EXPECT_EQ(test::Named(d.dlg, field)->text(), "0") << field;
    auto* picture = d.dlg.findChild<QLabel*>("picture");
    ASSERT_NE(picture, nullptr);
    // The control shows the whole bitmap, and no control covers another.
    EXPECT_EQ(picture->pixmap().size(), QSize(260, 260));
    EXPECT_TRUE(picture->width() >= 260 && picture->height() >= 260);
    EXPECT_EQ(test::LayoutFaults(d.dlg), QStringList{});
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(static_cast<const LegendFields&>(d.dlg), LegendFields{});

    const char* texts[] = {"Скорость, м/с", "  ", "", "T-регион", "О", "Очень длинное название области М"};
    for (int i = 0; i < 6; ++i) test::Named(d.dlg, kTextFields[i])->setText(QString::fromUtf8(texts[i]));
    test::Named(d.dlg, "minHx")->setText("5");  // minimum above the maximum 0
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(std::tie(d.dlg.m_nameHx, d.dlg.m_nameHy, d.dlg.m_regionT, d.dlg.m_regionH),
              std::tuple("Скорость, м/с", "  ", "", "Очень длинное название области М"));
    EXPECT_EQ(d.dlg.m_minHx, 5.0);
}

TEST(LegendDialog, NumberFieldsReadTheLeadingNumberOrReportTheFirstWithout) {
    const std::tuple<const char*, double, const char*> rows[] = {
        // typed, stored, shown again
        {"1e3", 1000.0, "1000"},
        {"0.1234567890123456", 0.1234567890123456, "0.123456789012346"},
        {"2.5 кг", 2.5, "2.5"},
        {"1,5", 1.0, "1"},
        {"-0.5", -0.5, "-0.5"},
        {"1e-20", 1e-20, "1e-20"},
        {"123456789012345678", 123456789012345678.0, "1.23456789012346e+17"},
        {"0x10", 0.0, "0"}};
    for (const auto& [text, stored, shownAgain] : rows) {
        SCOPED_TRACE(text);
        LegendDialog d;
        QLineEdit* maxHx = test::Named(d.dlg, "maxHx");
        maxHx->setText(QString::fromUtf8(text));
        ASSERT_TRUE(d.dlg.Confirm());
        EXPECT_EQ(d.dlg.m_maxHx, stored);
        d.dlg.LoadControls();
        EXPECT_EQ(maxHx->text(), shownAgain);
        EXPECT_EQ(maxHx->cursorPosition(), 0);
        ASSERT_TRUE(d.dlg.Confirm());  // confirming what is shown stores the shortened value
        EXPECT_EQ(maxHx->text(), QString::number(d.dlg.m_maxHx, 'g', 15));
    }

    // The first number field without a number is reported and focused.
    struct Row {
        const char* texts[4];  // max Hx, min Hx, max Hy, min Hy
        const char* reported;
    } refusals[] = {{{"", "1", "1", "1"}, "maxHx"},   {{"  ", "", "", ""}, "maxHx"},  {{"1", "x", "", ""}, "minHx"},
                    {{"1", "1", ".", ""}, "maxHy"},   {{"1", "1", "1", ""}, "minHy"}, {{"1", "inf", "1", "1"}, "minHx"},
                    {{"1", "1", "nan", "1"}, "maxHy"}};
    for (const Row& row : refusals) {
        SCOPED_TRACE(row.reported);
        LegendDialog d;
        for (int i = 0; i < 4; ++i)
            test::Named(d.dlg, std::array{"maxHx", "minHx", "maxHy", "minHy"}[i])->setText(row.texts[i]);
        EXPECT_FALSE(d.dlg.Confirm());
        ASSERT_EQ(d.warnings.size(), 1);
        EXPECT_TRUE(d.warnings[0].contains("число"));
        QLineEdit* reported = test::Named(d.dlg, row.reported);
        EXPECT_EQ(d.dlg.focusWidget(), reported);
        EXPECT_EQ(reported->selectedText(), reported->text());
    }
}

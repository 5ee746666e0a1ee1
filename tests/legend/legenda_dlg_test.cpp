#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "legend/legenda_dlg.h"
#include "support/dialog_test_support.h"

using namespace orbitograph;

namespace {

using LegendDialog = test::Shown<CLegendaDlg>;

}  // namespace

TEST(LegendDialog, FirstOpeningShowsEmptyNamesAndZeros) {
    LegendDialog d;
    for (int id : {1022, 1023, 1028, 1029, 1030, 1031}) EXPECT_EQ(d.dlg.Edit(id)->text(), "") << id;
    for (int id : {1024, 1025, 1026, 1027}) EXPECT_EQ(d.dlg.Edit(id)->text(), "0") << id;
    auto* picture = d.dlg.findChild<QLabel*>("picture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(260, 260));
    // The control shows the whole bitmap, and no control covers another.
    EXPECT_GE(picture->width(), 260);
    EXPECT_GE(picture->height(), 260);
    EXPECT_EQ(test::LayoutFaults(d.dlg), QStringList{});
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(static_cast<const LegendFields&>(d.dlg), LegendFields{});
}

TEST(LegendDialog, NumberFieldsReadTheLeadingNumber) {
    struct Row {
        const char* text;
        double stored;
        const char* shownAgain;
    };
    const Row rows[] = {{"1e3", 1000.0, "1000"},
                        {"0.1", 0.1, "0.1"},
                        {"0.1234567890123456", 0.1234567890123456, "0.123456789012346"},
                        {"2.5 кг", 2.5, "2.5"},
                        {"1,5", 1.0, "1"},
                        {"-0.5", -0.5, "-0.5"},
                        {"1e-20", 1e-20, "1e-20"},
                        {"123456789012345678", 123456789012345678.0, "1.23456789012346e+17"},
                        {"0x10", 0.0, "0"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        LegendDialog d;
        d.dlg.Edit(1027)->setText(QString::fromUtf8(row.text));
        ASSERT_TRUE(d.dlg.Confirm());
        EXPECT_EQ(d.dlg.m_maxHx, row.stored);
        d.dlg.LoadControls();
        EXPECT_EQ(d.dlg.Edit(1027)->text(), row.shownAgain);
        EXPECT_EQ(d.dlg.Edit(1027)->cursorPosition(), 0);
        ASSERT_TRUE(d.dlg.Confirm());  // confirming what is shown stores the shortened value
        EXPECT_EQ(d.dlg.Edit(1027)->text(), QString::number(d.dlg.m_maxHx, 'g', 15));
    }
}

TEST(LegendDialog, TextsAreTakenWholeAndBoundsAreNotCompared) {
    LegendDialog d;
    const char* texts[] = {"Скорость, м/с", "  ", "", "T-регион", "О", "Очень длинное название области М"};
    const int ids[] = {1022, 1023, 1028, 1029, 1030, 1031};
    for (int i = 0; i < 6; ++i) d.dlg.Edit(ids[i])->setText(QString::fromUtf8(texts[i]));
    d.dlg.Edit(1026)->setText("5");  // minimum above the maximum 0
    ASSERT_TRUE(d.dlg.Confirm());
    EXPECT_EQ(d.dlg.m_nameHx, "Скорость, м/с");
    EXPECT_EQ(d.dlg.m_nameHy, "  ");
    EXPECT_EQ(d.dlg.m_regionT, "");
    EXPECT_EQ(d.dlg.m_regionH, "Очень длинное название области М");
    EXPECT_EQ(d.dlg.m_minHx, 5.0);
}

TEST(LegendDialog, TheFirstNumberFieldWithoutANumberIsReportedAndFocused) {
    struct Row {
        const char* maxHx;
        const char* minHx;
        const char* maxHy;
        const char* minHy;
        int reported;
    };
    const Row rows[] = {{"", "1", "1", "1", 1027},   {"  ", "", "", "", 1027}, {"1", "x", "", "", 1026},
                        {"1", "1", ".", "", 1024},   {"1", "1", "1", "", 1025}, {"1", "inf", "1", "1", 1026},
                        {"1", "1", "nan", "1", 1024}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reported);
        LegendDialog d;
        d.dlg.Edit(1027)->setText(row.maxHx);
        d.dlg.Edit(1026)->setText(row.minHx);
        d.dlg.Edit(1024)->setText(row.maxHy);
        d.dlg.Edit(1025)->setText(row.minHy);
        EXPECT_FALSE(d.dlg.Confirm());
        ASSERT_EQ(d.warnings.size(), 1);
        EXPECT_TRUE(d.warnings[0].contains("число"));
        EXPECT_EQ(d.dlg.focusWidget(), d.dlg.Edit(row.reported));
        EXPECT_EQ(d.dlg.Edit(row.reported)->selectedText(), d.dlg.Edit(row.reported)->text());
    }
}

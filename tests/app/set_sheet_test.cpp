#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>

#include "app/set_sheet.h"

using namespace orbitograph;

namespace {

// A shown sheet holding the view's defaults, warnings recorded.
struct Sheet {
    CSetSheet sheet;
    QStringList warnings;
    Sheet() {
        sheet.m_page1->m_twoModes = 1;
        sheet.m_page1->m_showParams = 1;
        sheet.m_page2->m_fontSize = 13;
        sheet.SetWarningSink([this](QWidget*, const QString& text) { warnings << text; });
        sheet.show();
    }
    QLineEdit* Font() { return sheet.m_page2->FontSizeEdit(); }
};

}  // namespace

TEST(SetSheet, OpensOnTheFirstPageWithTheDefaultsAndApplyDisabled) {
    Sheet s;
    EXPECT_EQ(s.sheet.windowTitle(), "Настройки программы");
    EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 0);
    EXPECT_EQ(s.sheet.Tabs()->tabText(0), "Основные настройки программы");
    EXPECT_EQ(s.sheet.Tabs()->tabText(1), "Настройки отображения");
    const bool expected[] = {true, true, false, false, false};
    for (int id = 1017; id <= 1021; ++id) EXPECT_EQ(s.sheet.m_page1->Box(id)->isChecked(), expected[id - 1017]) << id;
    EXPECT_EQ(s.sheet.m_page1->Box(1017)->text(), "Выводить на экран одновременно два режима");
    EXPECT_FALSE(s.sheet.ApplyButton()->isEnabled());
    EXPECT_EQ(s.sheet.ApplyButton()->text(), "Применить");
    s.sheet.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(s.Font()->text(), "13");
}

TEST(SetSheet, FontSizeFromOneToFifty) {
    struct Row {
        const char* text;
        int expected;  // 0: refused
    };
    const Row rows[] = {{"1", 1}, {"50", 50}, {" 7", 7}, {"12abc", 12}, {"0", 0}, {"51", 0},
                        {"-5", 0}, {"", 0},   {"abc", 0}, {"99999999999", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Sheet s;
        s.sheet.Tabs()->setCurrentIndex(1);
        s.Font()->setText(row.text);
        const bool ok = s.sheet.Confirm();
        EXPECT_EQ(ok, row.expected != 0);
        if (ok) {
            EXPECT_EQ(s.sheet.m_page2->m_fontSize, row.expected);
            EXPECT_TRUE(s.warnings.isEmpty());
        } else {
            ASSERT_EQ(s.warnings.size(), 1);
            EXPECT_TRUE(s.warnings[0].contains("от 1 до 50"));
            EXPECT_EQ(s.sheet.focusWidget(), s.Font());
            EXPECT_EQ(s.Font()->selectedText(), s.Font()->text());
            EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 1);
        }
    }
}

TEST(SetSheet, AnInvalidFontSizeKeepsItsPageInFront) {
    Sheet s;
    s.sheet.Tabs()->setCurrentIndex(1);
    s.Font()->setText("0");
    s.sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 1);
    EXPECT_EQ(s.warnings.size(), 1);
    EXPECT_EQ(s.sheet.focusWidget(), s.Font());
    s.Font()->setText("20");
    s.sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 0);
    EXPECT_EQ(s.sheet.m_page2->m_fontSize, 20);
}

TEST(SetSheet, LeavingAPageSavesItAndComingBackReloadsIt) {
    Sheet s;
    s.sheet.m_page1->Box(1017)->setChecked(false);
    s.sheet.m_page1->Box(1020)->setChecked(true);
    s.sheet.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(s.sheet.m_page1->m_twoModes, 0);
    EXPECT_EQ(s.sheet.m_page1->m_showGrid, 1);
    s.sheet.m_page1->m_aSymmetry = 1;  // reloaded when the page comes back
    s.sheet.Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(s.sheet.m_page1->Box(1021)->isChecked());
}

TEST(SetSheet, OkWithoutTheSecondPageKeepsTheFontSize) {
    Sheet s;
    s.sheet.m_page2->m_fontSize = 37;
    s.sheet.m_page1->Box(1019)->setChecked(true);
    EXPECT_TRUE(s.sheet.Confirm());
    EXPECT_EQ(s.sheet.m_page2->m_fontSize, 37);
    EXPECT_EQ(s.sheet.m_page1->m_showLegend, 1);
}

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/settings_sheet.h"
#include "support/dialog_test_support.h"

using namespace orbitograph;

namespace {

// A shown sheet holding the view's defaults, warnings recorded.
struct Sheet : test::Shown<CSettingsSheet> {
    CSettingsSheet& sheet = dlg;
    Sheet() : Shown([](CSettingsSheet& s) { s.SetSwitches(DisplaySwitches{}); }) {}
    QLineEdit* Font() { return sheet.m_page2->FontSizeEdit(); }
    QCheckBox* Box(const char* name) { return test::Named<QCheckBox>(sheet, name); }
};

}  // namespace

TEST(SettingsSheet, OpensOnTheFirstPageWithTheDefaultsAndOkKeepsAnUnvisitedPage) {
    Sheet s;
    EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 0);
    const std::pair<const char*, bool> boxes[] = {
        {"twoModes", true}, {"showParams", true}, {"showLegend", false}, {"showGrid", false}, {"aSymmetry", false}};
    for (const auto& [name, ticked] : boxes) EXPECT_EQ(s.Box(name)->isChecked(), ticked) << name;
    EXPECT_FALSE(s.sheet.ApplyButton()->isEnabled());
    s.sheet.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(s.Font()->text(), "13");
    for (const QWidget* w : std::initializer_list<const QWidget*>{&s.sheet, s.sheet.m_page1, s.sheet.m_page2})
        EXPECT_EQ(test::LayoutFaults(*w), QStringList{});

    // OK without visiting the second page keeps the font size.
    Sheet t;
    t.sheet.m_page2->m_fontSize = 37;
    t.Box("showLegend")->setChecked(true);
    EXPECT_TRUE(t.sheet.Confirm());
    EXPECT_EQ(t.sheet.Switches(), (DisplaySwitches{.m_showLegend = 1, .m_fontSize = 37}));
}

TEST(SettingsSheet, FontSizeFromOneToFiftyAndLeavingAPageSavesIt) {
    // The size read, 0: refused.
    const std::pair<const char*, int> rows[] = {{"1", 1},  {"50", 50}, {" 7", 7},  {"12abc", 12},     {"0", 0},
                                                {"51", 0}, {"", 0},    {"abc", 0}, {"99999999999", 0}};
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        Sheet s;
        s.sheet.Tabs()->setCurrentIndex(1);
        s.Font()->setText(text);
        const bool ok = s.sheet.Confirm();
        EXPECT_EQ(ok, expected != 0);
        if (ok) {
            EXPECT_EQ(s.sheet.m_page2->m_fontSize, expected);
            EXPECT_TRUE(s.warnings.isEmpty());
        } else {
            ASSERT_EQ(s.warnings.size(), 1);
            EXPECT_TRUE(s.warnings[0].contains("от 1 до 50"));
            EXPECT_EQ(s.sheet.focusWidget(), s.Font());
            EXPECT_EQ(s.Font()->selectedText(), s.Font()->text());
            EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 1);
        }
    }

    // Leaving a page saves it, and an invalid font size keeps its page in
    // front; a page coming back is loaded from its members.
    Sheet s;
    s.Box("twoModes")->setChecked(false);
    s.sheet.Tabs()->setCurrentIndex(1);
    EXPECT_EQ(s.sheet.m_page1->m_twoModes, 0);
    s.sheet.m_page1->m_aSymmetry = 1;
    s.Font()->setText("0");
    s.sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(s.sheet.Tabs()->currentIndex(), 1);
    EXPECT_EQ(s.warnings.size(), 1);
    EXPECT_EQ(s.sheet.focusWidget(), s.Font());
    s.Font()->setText("20");
    s.sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(s.sheet.m_page2->m_fontSize, 20);
    EXPECT_TRUE(s.Box("aSymmetry")->isChecked());
}

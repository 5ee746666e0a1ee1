#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>

#include "dialogs/exchange_dialog.h"
#include "view/view_state.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace orbitograph {

// First page: the five display switches, each 0 or 1.
class CPage1 : public QWidget {
public:
    explicit CPage1(QWidget* parent = nullptr);

    std::int32_t m_twoModes = 0;
    std::int32_t m_showParams = 0;
    std::int32_t m_showLegend = 0;
    std::int32_t m_showGrid = 0;
    std::int32_t m_aSymmetry = 0;

    // The check box of a control id, 1017 to 1021.
    QCheckBox* Box(int id) const;

    void LoadControls();
    std::optional<FieldFailure> SaveControls();  // cannot fail

private:
    QCheckBox* m_boxes[5] = {};
};

// Second page: the font size of the parameter text panel, 1 to 50, and the
// display that fits the window, 0 or 1.
class CPage2 : public QWidget {
public:
    explicit CPage2(QWidget* parent = nullptr);

    std::int32_t m_fontSize = 0;
    std::int32_t m_fitWindow = 0;

    QLineEdit* FontSizeEdit() const { return m_edit; }
    QCheckBox* FitWindowBox() const { return m_fit; }

    void LoadControls();
    std::optional<FieldFailure> SaveControls();

private:
    QLineEdit* m_edit = nullptr;
    QCheckBox* m_fit = nullptr;
};

// The settings sheet: two pages in tabs, OK, Cancel and an Apply button that
// stays disabled. A page is saved and validated when the user leaves its tab
// (a failure keeps the tab) and, for the page in front, on OK; a page is
// loaded from its members each time it comes to the front. A page never
// shown keeps its members as they were copied in.
class CSetSheet : public ExchangeDialog {
public:
    explicit CSetSheet(QWidget* parent = nullptr);

    CPage1* m_page1 = nullptr;
    CPage2* m_page2 = nullptr;

    // The seven values into the pages' members of the same names, and back.
    void SetSwitches(const DisplaySwitches& switches);
    DisplaySwitches Switches() const;

    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* ApplyButton() const { return m_apply; }

    // Saves the page in front.
    std::optional<FieldFailure> SaveControls() override;

protected:
    // Loads the page in front.
    void LoadFields() override;

private:
    void OnTabChanged(int index);

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_apply = nullptr;
    int m_current = 0;
    bool m_reverting = false;
};

}  // namespace orbitograph

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

// First page: the five display switches, each 0 or 1, each edited by a check
// box named like its member ("twoModes", ...).
class CDisplaySwitchesPage : public QWidget {
public:
    explicit CDisplaySwitchesPage(QWidget* parent = nullptr);

    std::int32_t m_twoModes = 0;
    std::int32_t m_showParams = 0;
    std::int32_t m_showLegend = 0;
    std::int32_t m_showGrid = 0;
    std::int32_t m_aSymmetry = 0;

    void LoadControls();
    std::optional<FieldFailure> SaveControls();  // cannot fail

private:
    QCheckBox* m_boxes[5] = {};
};

// Second page: the font size of the parameter text panel, 1 to 50, and the
// display that fits the window, 0 or 1 (controls "fontSize", "fitWindow").
class CFontAndFitPage : public QWidget {
public:
    explicit CFontAndFitPage(QWidget* parent = nullptr);

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
class CSettingsSheet : public ExchangeDialog {
public:
    explicit CSettingsSheet(QWidget* parent = nullptr);

    CDisplaySwitchesPage* m_page1 = nullptr;
    CFontAndFitPage* m_page2 = nullptr;

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

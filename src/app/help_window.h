#pragma once

#include <QWidget>
#include <memory>

class QTextBrowser;

namespace orbitograph {

// A top-level window that shows the manual from the resource system, with
// links between its pages and a way back to the table of contents.
class HelpWindow : public QWidget {
public:
    HelpWindow();

    QTextBrowser* Browser() const { return m_browser; }
    void ShowContents();

private:
    QTextBrowser* m_browser = nullptr;
};

// Owns the one help window of a run, made on first use. Whoever owns this
// (the application object) outlives the main window, and the help window
// never keeps the program running once the main window has closed.
class HelpViewer {
public:
    // Shows the window (raised, on the table of contents).
    void ShowContents();
    HelpWindow* Window() const { return m_window.get(); }

private:
    std::unique_ptr<HelpWindow> m_window;
};

}  // namespace orbitograph

#pragma once

#include <QApplication>
#include <memory>

#include "app/help_window.h"

namespace orbitograph {

class CMainWnd;

// The application object: the event loop, the help window of the run and
// the one main window, deleted when the loop has ended.
class CMyApp : public QApplication {
public:
    CMyApp(int& argc, char** argv);
    ~CMyApp() override;

    // Creates the main window, shows it maximised and runs the event loop
    // until it closes; returns the exit code.
    int Run();

private:
    bool InitInstance();

    HelpViewer m_help;  // outlives the main window
    std::unique_ptr<CMainWnd> m_mainWnd;
};

}  // namespace orbitograph

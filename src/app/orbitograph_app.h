#pragma once

#include <QApplication>
#include <QTranslator>
#include <memory>

#include "app/help_window.h"

namespace orbitograph {

class CMainWnd;

// Loads the Russian translation of Qt's own texts (the file dialog, the
// edit fields' context menu) that the system's Qt installs. False when it is
// not installed; those texts then stay English.
bool LoadQtTranslation(QTranslator& translator);

// The application object: the event loop, the help window of the run and
// the one main window, deleted when the loop has ended.
class COrbitographApp : public QApplication {
public:
    COrbitographApp(int& argc, char** argv);
    ~COrbitographApp() override;

    // Creates the main window, shows it maximised and runs the event loop
    // until it closes; returns the exit code.
    int Run();

private:
    bool InitInstance();

    QTranslator m_qtTranslation;
    HelpViewer m_help;  // outlives the main window
    std::unique_ptr<CMainWnd> m_mainWnd;
};

}  // namespace orbitograph

#include "app/orbitograph_app.h"

#include <QLibraryInfo>
#include <QLocale>

#include "app/app_resources.h"
#include "app/main_wnd.h"
#include "program_version.h"

namespace orbitograph {

COrbitographApp::COrbitographApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Message boxes carry the program's name as their caption.
    setApplicationName(QStringLiteral("orbitograph"));
    setApplicationVersion(QString::fromLatin1(kProgramVersion));
    setDesktopFileName(QStringLiteral("orbitograph"));
    InitAppResources();
    setWindowIcon(ProgramIcon());
    // The interface is Russian whatever the user's language.
    if (LoadQtTranslation(m_qtTranslation)) installTranslator(&m_qtTranslation);
}

bool LoadQtTranslation(QTranslator& translator) {
    return translator.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

COrbitographApp::~COrbitographApp() { m_mainWnd.reset(); }

bool COrbitographApp::InitInstance() {
    m_mainWnd = std::make_unique<CMainWnd>(m_help);
    m_mainWnd->showMaximized();
    return true;
}

int COrbitographApp::Run() {
    if (!InitInstance()) return 1;
    return exec();
}

}  // namespace orbitograph

#include "request/offscreen_gui.h"

#include <QCoreApplication>
#include <cstdio>

namespace orbitograph {

namespace {

// Qt takes a plain function as its message handler: the program's name
// waits for it here.
const char*& NoticeProgram() {
    static const char* program = "";
    return program;
}

void PrintFatalOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "%s: %s\n", NoticeProgram(), qPrintable(message));
}

}  // namespace

void QuietQtNotices(const char* program) {
    NoticeProgram() = program;
    qInstallMessageHandler(PrintFatalOnly);
}

std::unique_ptr<QGuiApplication> StartOffscreenGui(const char* program) {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    QuietQtNotices(program);
    // The application refers to its arguments for its whole life, and takes
    // out those it reads.
    static char name[] = "orbitograph";
    static char platformOption[] = "-platform";
    static char platformName[] = "offscreen";
    static char* argv[4];
    static int argc;
    argc = 3;
    argv[0] = name;
    argv[1] = platformOption;
    argv[2] = platformName;
    argv[3] = nullptr;
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace orbitograph

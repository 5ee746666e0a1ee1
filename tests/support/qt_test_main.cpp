// Qt tests need one application object for the whole run, made before any
// font or widget; the platform is offscreen unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orbitograph"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

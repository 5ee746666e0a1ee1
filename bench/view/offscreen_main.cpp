// The main of the drawing benchmarks: Qt's Gui on the offscreen platform
// (fonts need it), then every registered benchmark.
#include <benchmark/benchmark.h>
#include <QGuiApplication>

int main(int argc, char** argv) {
    int qtArgc = 3;
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, platformName, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

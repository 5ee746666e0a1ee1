#include <unistd.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/export_command.h"
#include "cli/interrupt_handler.h"
#include "cli/orbit_command.h"
#include "cli/picture_file.h"
#include "cli/picture_options.h"
#include "cli/progress_line.h"
#include "cli/render_options.h"
#include "cli/render_view.h"
#include "cli/sweep_command.h"
#include "legend/legend_picture.h"
#include "model/fractal_model.h"
#include "png/png_export.h"
#include "view/frame.h"
#include "view/frame_description.h"
#include "view/view_state.h"

using namespace orbitograph;

namespace {

// Exit statuses: 0 done; 1 a failure while running (memory, writing the
// picture or standard output); 2 a refused command line or input file, with
// nothing written to stdout; 128 + signal when SIGINT or SIGTERM ended the
// run (see InterruptHandler).
constexpr int kFailed = 1;
constexpr int kRefused = 2;

constexpr const char* kInterrupted = "interrupted; nothing written";

// Qt's own notices (a missing runtime folder, font support, allocation
// limits) are not the command's to show: every failure that matters is
// reported by the command itself, on one line. Only a fatal message is
// printed, as the process ends.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "orbitograph-render: %s\n", qPrintable(message));
    std::abort();
}

void Complain(const std::string& message) { std::fprintf(stderr, "orbitograph-render: %s\n", message.c_str()); }

// Flushes standard output; a write or flush that failed is reported.
bool StdoutWritten() {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && !std::ferror(stdout)) return true;
    const int error = errno;
    Complain("cannot write to standard output" + (error != 0 ? ": " + std::system_category().message(error) : ""));
    return false;
}

void PrintResults(const RenderOptions& o, const FractalModel& model) {
    if (o.counts) {
        std::printf("%s\n",
                    CountsJson(CountStartPoints(o.params), std::ssize(model.attractors),
                               std::ssize(model.basinInfinity), std::ssize(model.basinZero), std::ssize(model.basinT),
                               std::ssize(model.basinO), std::ssize(model.basinM), std::ssize(model.basinH))
                        .c_str());
    }
    if (o.report) {
        for (const std::string& line : model.report) {
            // The two separator lines consist of a line feed alone.
            std::fputs(line == "\n" ? "\n" : (line + "\n").c_str(), stdout);
        }
    }
}

// Draws the frame of the computed model as the options say and writes it
// to file; the exit status.
int WriteFrame(const RenderOptions& o, FractalModel& model, const QImage& legendPicture, InterruptHandler& interrupt,
               const std::string& file) {
    ViewState view = ViewFor(o);
    const QImage canvas =
        ComposeFrame(view, model, o.width, o.height, legendPicture.isNull() ? nullptr : &legendPicture);
    if (canvas.isNull()) {
        Complain("not enough memory for a " + std::to_string(o.width) + "x" + std::to_string(o.height) + " picture");
        return kFailed;
    }
    // From here a signal only raises the flag: the writer stops within a
    // row and removes its temporary file before the command exits.
    interrupt.WriteFile(true);
    const SaveResult saved =
        SavePngAtomically(canvas, std::filesystem::path(file),
                          DescribeFrame(view, o.params, o.originX, o.originY, o.width, o.height), &interrupt.Flag());
    if (saved.failure == SaveFailure::Stopped) {
        Complain(kInterrupted);
        return interrupt.ExitStatus();
    }
    if (!saved.Ok()) {
        Complain("cannot write " + Quoted(file) + ": " + SaveFailureText(saved));
        return kFailed;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(KeepQtQuiet);
    const std::string interruptedLine =
        std::string(isatty(STDERR_FILENO) ? "\r\033[K" : "") + "orbitograph-render: " + kInterrupted + "\n";
    InterruptHandler interrupt(interruptedLine);
    std::vector<std::string> args(argv + 1, argv + argc);
    OptionsResult parsed = ParseRenderOptions(args);
    if (parsed.options && !parsed.options->from.empty() && !parsed.options->help)
        parsed = OptionsFromPicture(parsed.options->from, args);
    if (!parsed.options) {
        Complain(parsed.error);
        return kRefused;
    }
    const RenderOptions& o = *parsed.options;
    if (o.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return StdoutWritten() ? 0 : kFailed;
    }
    if (o.orbit) return RunOrbitCommand(o);

    // Drawing needs Qt's Gui, always on the offscreen platform: the picture
    // must not depend on a display, nor on what the caller's environment
    // asks for.
    const bool drawing = !o.output.empty() || !o.sweeps.plot.empty();
    int qtArgc = 3;
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, platformName, nullptr};
    std::unique_ptr<QGuiApplication> gui;
    QImage legendPicture;
    if (drawing) {
        gui = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
        if (o.legendPicture.empty()) {
            legendPicture = LoadLegendPicture(QCoreApplication::applicationDirPath());
        } else {
            std::string why;
            legendPicture = ReadPictureFile(o.legendPicture, why);
            if (legendPicture.isNull()) {
                Complain("--legend-picture: cannot read " + Quoted(o.legendPicture) + ": " + why);
                return kRefused;
            }
        }
    }

    if (o.sweeps.Active()) {
        return RunSweepCommand(o, interrupt, [&](FractalModel& m, const ModelParams& p, const std::string& file) {
            RenderOptions frame = o;
            frame.params = p;
            return WriteFrame(frame, m, legendPicture, interrupt, file);
        });
    }
    FractalModel model;
    model.SetParams(o.params);
    model.originX = o.originX;
    model.originY = o.originY;
    ComputeStatus status;
    {
        ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
        ComputeControl control;
        control.threads = o.threads;
        control.cancel = &interrupt.Flag();
        control.progress = progress.Callback();
        control.attractorEnds = o.fit;
        control.kindGrid = o.fit || ExportNeedsGrid(o);
        control.startPointEnds = ExportNeedsGrid(o);
        status = model.Compute(control);
    }
    if (status == ComputeStatus::Cancelled) {
        Complain(kInterrupted);
        return interrupt.Interrupted() ? interrupt.ExitStatus() : kFailed;
    }
    if (status == ComputeStatus::Refused) {
        Complain("the parameters or the origin were refused; nothing computed");
        return kRefused;
    }
    if (status != ComputeStatus::Done) {
        Complain("not enough memory for this grid");
        return kFailed;
    }
    PrintResults(o, model);
    if (!StdoutWritten()) return kFailed;
    if (!o.exportFile.empty()) {
        // A signal now only raises the flag; the writer removes its
        // temporary file before the command exits.
        interrupt.WriteFile(true);
        bool stopped = false;
        std::string error;
        if (!WriteExport(o, model, &interrupt.Flag(), stopped, error)) {
            Complain(stopped ? kInterrupted : error);
            return stopped ? interrupt.ExitStatus() : kFailed;
        }
        interrupt.WriteFile(false);
    }
    if (!drawing) return 0;

    return WriteFrame(o, model, legendPicture, interrupt, o.output);
}

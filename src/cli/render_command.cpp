#include "cli/render_command.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/analysis_output.h"
#include "cli/command_status.h"
#include "cli/export_command.h"
#include "cli/metrics_output.h"
#include "cli/progress_line.h"
#include "cli/sweep_command.h"
#include "data/counts_text.h"
#include "model/fractal_model.h"
#include "png/png_export.h"
#include "request/offscreen_gui.h"
#include "request/picture_file.h"
#include "request/request_view.h"

namespace orbitograph {

namespace {

// What drawing needs: Qt's Gui and the legend picture.
struct Drawing {
    std::unique_ptr<QGuiApplication> gui;
    QImage legendPicture;
};

// Starts drawing when anything is drawn; the exit status.
int StartDrawing(const RenderOptions& o, Drawing& d) {
    if (o.output.empty() && o.sweeps.plot.empty()) return 0;
    d.gui = StartOffscreenGui(kProgram);
    std::string why;
    d.legendPicture = LegendPictureFor(o.request.display, QCoreApplication::applicationDirPath(), why);
    if (!why.empty()) {
        Complain("--legend-picture: " + why);
        return kRefused;
    }
    return 0;
}

// Draws the frame of the computed model as the request says and adds its
// writing to jobs; the exit status.
int DrawFrameJob(const Request& r, FractalModel& model, const QImage& legendPicture, const std::string& file,
                 QImage& canvas, std::vector<FileJob>& jobs) {
    canvas = DrawFrame(r, model, legendPicture.isNull() ? nullptr : &legendPicture);
    if (canvas.isNull()) {
        Complain("not enough memory for a " + std::to_string(r.width) + "x" + std::to_string(r.height) +
                 " picture; nothing written");
        return kFailed;
    }
    jobs.push_back({file, [&canvas, description = DescribeFrame(r), file](const std::atomic<bool>* stop,
                                                                          FileBatch* batch, std::string&) {
                        return SavePngAtomically(canvas, std::filesystem::path(file), description, stop, batch);
                    }});
    return 0;
}

// The one model of the request; the exit status.
int ComputeModel(const RenderOptions& o, FractalModel& model, InterruptHandler& interrupt) {
    model.SetParams(o.request.params);
    model.originX = o.request.Origin().x;
    model.originY = o.request.Origin().y;
    ComputeStatus status;
    {
        ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
        ComputeControl control;
        control.threads = o.threads;
        control.cancel = &interrupt.Flag();
        control.progress = progress.Callback();
        control.attractorEnds = o.request.display.fit;
        control.kindGrid = o.request.display.fit || ExportNeedsGrid(o);
        control.startPointEnds = ExportNeedsGrid(o);
        AskForAnalysis(o, control);
        RequestMetricsGrid(o, control);
        status = model.Compute(control);
    }
    switch (status) {
        case ComputeStatus::Done: return 0;
        case ComputeStatus::Cancelled:
            Complain("interrupted; nothing written");
            return interrupt.Interrupted() ? interrupt.ExitStatus() : kFailed;
        case ComputeStatus::Refused:
            Complain("the parameters or the origin were refused; nothing computed");
            return kRefused;
        case ComputeStatus::OutOfMemory: break;
    }
    Complain("not enough memory for this grid");
    return kFailed;
}

void PrintResults(const RenderOptions& o, const FractalModel& model, const std::string& metrics) {
    if (o.counts) std::printf("%s\n", CountsJson(CountsOf(o.request.params, model)).c_str());
    if (o.report) {
        for (const std::string& line : model.report) {
            // The two separator lines consist of a line feed alone.
            std::fputs(line == "\n" ? "\n" : (line + "\n").c_str(), stdout);
        }
    }
    PrintAnalysis(o, model, metrics);
    if (!o.analysis && !metrics.empty()) std::printf("%s\n", metrics.c_str());
}

// The export and the picture are written as one: both or neither.
int RunSingle(const RenderOptions& o, const Drawing& drawing, InterruptHandler& interrupt) {
    FractalModel model;
    if (const int status = ComputeModel(o, model, interrupt); status != 0) return status;
    const std::optional<std::string> metrics = MetricsOutput(o, model);
    if (!metrics) return kFailed;
    PrintResults(o, model, *metrics);
    if (!StdoutWritten()) return kFailed;
    std::vector<FileJob> jobs;
    if (!o.exportFile.empty()) jobs.push_back(ExportJob(o, model));
    QImage canvas;
    if (!o.output.empty()) {
        if (const int status = DrawFrameJob(o.request, model, drawing.legendPicture, o.output, canvas, jobs);
            status != 0)
            return status;
    }
    return jobs.empty() ? 0 : WriteFilesInterruptibly(jobs, interrupt);
}

}  // namespace

int RunRenderCommand(const RenderOptions& o, InterruptHandler& interrupt) {
    Drawing drawing;
    if (const int status = StartDrawing(o, drawing); status != 0) return status;
    if (!o.sweeps.Active()) return RunSingle(o, drawing, interrupt);
    return RunSweepCommand(
        o, interrupt, [&](FractalModel& m, const ModelParams& p, const std::string& file, const std::string& written) {
            Request frame = o.request;
            frame.params = p;
            QImage canvas;
            std::vector<FileJob> jobs;
            const int status = DrawFrameJob(frame, m, drawing.legendPicture, file, canvas, jobs);
            return status != 0 ? status : WriteFilesInterruptibly(jobs, interrupt, written);
        });
}

}  // namespace orbitograph

#include "cli/sweep_command.h"

#include <unistd.h>
#include <QString>
#include <cstdio>
#include <filesystem>

#include "cli/command_status.h"
#include "cli/progress_line.h"
#include "data/plane_export.h"
#include "png/png_export.h"
#include "request/description.h"
#include "request/refusal_text.h"
#include "view/sweep_chart.h"

namespace orbitograph {

namespace {

// The status of a computation that returned nothing: interrupted, after
// `written` frames that stay in place.
int NotComputed(const InterruptHandler& interrupt, std::size_t written = 0) {
    Complain(written == 0 ? "interrupted; nothing written"
                          : "interrupted after " + std::to_string(written) + " frames; the rest not written");
    return interrupt.Interrupted() ? interrupt.ExitStatus() : kFailed;
}

ComputeControl Control(const RenderOptions& o, const InterruptHandler& interrupt, ProgressLine& progress) {
    ComputeControl control;
    control.threads = o.threads;
    control.cancel = &interrupt.Flag();
    control.progress = progress.Callback();
    return control;
}

// The axes as a line of the picture's text chunk.
QString DescribeAxes(const std::vector<const SweepAxis*>& axes, const RenderOptions& o) {
    std::string text;
    for (const SweepAxis* a : axes) {
        text += std::string(SweepParamName(a->param)) + "=" + SweepValueText(a->param, a->from) + ":" +
                SweepValueText(a->param, a->to) + ":" + std::to_string(a->count) + " ";
    }
    const PixelPoint origin = o.request.Origin();
    return QString::fromStdString(text + DescribeComputation(o.request.params, origin.x, origin.y));
}

int SavePicture(const QImage& image, const std::string& file, const QString& description, InterruptHandler& interrupt) {
    if (image.isNull()) {
        Complain("not enough memory for the picture " + Quoted(file));
        return kFailed;
    }
    return WriteFileInterruptibly(file, interrupt, [&](const std::atomic<bool>* stop, std::string&) {
        return SavePngAtomically(image, std::filesystem::path(file), description, stop);
    });
}

int PrintLines(const RenderOptions& o, const std::vector<SweepParam>& params,
               const std::vector<std::vector<double>>& rows, const std::vector<ListCounts>& counts) {
    if (o.sweeps.csv) std::printf("%s\n", SweepCsvHeader(params).c_str());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const std::string line =
            o.sweeps.csv ? SweepCsvLine(params, rows[i], counts[i]) : SweepJsonLine(params, rows[i], counts[i]);
        std::printf("%s\n", line.c_str());
    }
    return StdoutWritten() ? 0 : kFailed;
}

int RunSweep(const RenderOptions& o, const SweepAxis& axis, InterruptHandler& interrupt,
             const FrameWriter& writeFrame) {
    const std::vector<double> values = axis.Values();
    std::optional<std::vector<ListCounts>> counts;
    {
        ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
        counts = ComputeSweep(o.request.params, axis.param, values, Control(o, interrupt, progress));
    }
    if (!counts) return NotComputed(interrupt);
    std::vector<std::vector<double>> rows;
    for (const double v : values) rows.push_back({v});
    if (const int status = PrintLines(o, {axis.param}, rows, *counts); status != 0) return status;
    if (!o.output.empty()) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            FractalModel model;
            const ModelParams p = WithValue(o.request.params, axis.param, values[i]);
            model.SetParams(p);
            model.originX = o.request.Origin().x;
            model.originY = o.request.Origin().y;
            ComputeStatus status;
            {
                ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
                ComputeControl control = Control(o, interrupt, progress);
                // The fitted display draws from the exact end points and kinds.
                control.attractorEnds = o.request.display.fit;
                control.kindGrid = o.request.display.fit;
                status = model.Compute(control);
            }
            if (status == ComputeStatus::Cancelled) return NotComputed(interrupt, i);
            if (status == ComputeStatus::Refused) {
                Complain("the parameters of frame " + std::to_string(i) + " were refused");
                return kRefused;
            }
            if (status != ComputeStatus::Done) {
                Complain("not enough memory for this grid");
                return kFailed;
            }
            if (const int written = writeFrame(model, p, FrameName(o.output, static_cast<std::int64_t>(i)));
                written != 0)
                return written;
        }
    }
    if (o.sweeps.plot.empty()) return 0;
    return SavePicture(DrawSweepChart(axis.param, values, *counts), o.sweeps.plot, DescribeAxes({&axis}, o), interrupt);
}

int RunPlane(const RenderOptions& o, const SweepAxis& a1, const SweepAxis& a2, InterruptHandler& interrupt) {
    const std::vector<double> v1 = a1.Values();
    const std::vector<double> v2 = a2.Values();
    std::optional<std::vector<ListCounts>> counts;
    {
        ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
        counts = ComputePlane(o.request.params, a1.param, v1, a2.param, v2, Control(o, interrupt, progress));
    }
    if (!counts) return NotComputed(interrupt);
    std::vector<std::vector<double>> rows;
    for (const double y : v2) {
        for (const double x : v1) rows.push_back({x, y});
    }
    if (const int status = PrintLines(o, {a1.param, a2.param}, rows, *counts); status != 0) return status;
    if (!o.exportFile.empty()) {
        const int written =
            WriteFileInterruptibly(o.exportFile, interrupt, [&](const std::atomic<bool>* stop, std::string& why) {
                return WritePlaneNpz(std::filesystem::path(o.exportFile), v1, v2, *counts, why, stop);
            });
        if (written != 0) return written;
    }
    if (o.output.empty()) return 0;
    return SavePicture(DrawParamPlane(a1.param, v1, a2.param, v2, *counts, o.sweeps.planeScale), o.output,
                       DescribeAxes({&a1, &a2}, o), interrupt);
}

}  // namespace

int RunSweepCommand(const RenderOptions& o, InterruptHandler& interrupt, const FrameWriter& writeFrame) {
    if (o.sweeps.sweep) return RunSweep(o, *o.sweeps.sweep, interrupt, writeFrame);
    return RunPlane(o, *o.sweeps.plane1, *o.sweeps.plane2, interrupt);
}

}  // namespace orbitograph

#include "cli/sweep_command.h"

#include <unistd.h>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <new>

#include "cli/analysis_output.h"
#include "cli/command_status.h"
#include "cli/progress_line.h"
#include "data/plane_export.h"
#include "data/track_text.h"
#include "png/png_export.h"
#include "request/description.h"
#include "request/refusal_text.h"
#include "request/set_analysis.h"
#include "view/sweep_chart.h"

namespace orbitograph {

namespace {

// The status of a computation that returned nothing: interrupted, after
// what `written` says stays in place.
int NotComputed(const InterruptHandler& interrupt, const std::string& written = {}) {
    Complain("interrupted; " + (written.empty() ? "nothing written" : written + ", the rest not written"));
    return interrupt.Interrupted() ? interrupt.ExitStatus() : kFailed;
}

// What the first `count` frames of a sweep left: "3 frames written ('f0.png'
// to 'f2.png')"; empty for none.
std::string FramesWritten(const std::string& pattern, std::size_t count) {
    if (count == 0) return {};
    const std::string first = Quoted(FrameName(pattern, 0));
    if (count == 1) return "1 frame written (" + first + ")";
    return std::to_string(count) + " frames written (" + first + " to " +
           Quoted(FrameName(pattern, static_cast<std::int64_t>(count) - 1)) + ")";
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

// The writing of a picture for WriteFilesInterruptibly; image must outlive it.
FileJob PictureJob(const QImage& image, const std::string& file, const QString& description) {
    return {file, [&image, file, description](const std::atomic<bool>* stop, FileBatch* batch, std::string&) {
                return SavePngAtomically(image, std::filesystem::path(file), description, stop, batch);
            }};
}

int SavePictures(const QImage& image, std::vector<FileJob> jobs, InterruptHandler& interrupt,
                 const std::string& written = {}) {
    if (image.isNull()) {
        Complain("not enough memory for the picture " + Quoted(jobs.back().file) + "; nothing written" +
                 (written.empty() ? "" : "; " + written));
        return kFailed;
    }
    return WriteFilesInterruptibly(jobs, interrupt, written);
}

// True when every value is computed in full for its analysis or metrics.
bool Analysed(const RenderOptions& o) { return o.analysis || o.metrics.wanted || o.sweeps.continueTracks; }

// The counts of every set and, when the options ask for more, the analysis
// and metrics; nothing when interrupted. Throws std::bad_alloc.
std::optional<std::vector<SetAnalysis>> ComputeSets(const RenderOptions& o, const std::vector<ModelParams>& sets,
                                                    const InterruptHandler& interrupt) {
    ProgressLine progress(isatty(STDERR_FILENO) ? stderr : nullptr);
    const ComputeControl control = Control(o, interrupt, progress);
    if (Analysed(o)) {
        const SetAnalysisRequest request{o.analysis || o.sweeps.continueTracks, o.request.attractorDelta, o.metrics};
        return AnalyseSets(sets, request, control);
    }
    std::optional<std::vector<ListCounts>> counts = ComputeCountsOfSets(sets, control);
    if (!counts) return std::nullopt;
    std::vector<SetAnalysis> out(counts->size());
    for (std::size_t i = 0; i < out.size(); ++i) out[i].counts = (*counts)[i];
    return out;
}

int PrintLines(const RenderOptions& o, const std::vector<SweepParam>& params,
               const std::vector<std::vector<double>>& rows, const std::vector<SetAnalysis>& sets) {
    const auto cycles = [&](const SetAnalysis& s) {
        return o.analysis ? static_cast<std::int64_t>(s.attractors.size()) : std::int64_t{-1};
    };
    const auto metrics = [](const SetAnalysis& s) { return s.metrics ? &*s.metrics : nullptr; };
    if (o.sweeps.csv) {
        const std::string extra = sets.empty() ? "" : SetCsvHeader(o.analysis, metrics(sets.front()));
        std::printf("%s%s\n", SweepCsvHeader(params).c_str(), extra.c_str());
    }
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const SetAnalysis& s = sets[i];
        std::string line = o.sweeps.csv ? SweepCsvLine(params, rows[i], s.counts) + SetCsvFields(cycles(s), metrics(s))
                                        : SweepJsonLine(params, rows[i], s.counts);
        if (!o.sweeps.csv) line.insert(line.size() - 1, SetJsonKeys(cycles(s), metrics(s)));
        std::printf("%s\n", line.c_str());
    }
    return StdoutWritten() ? 0 : kFailed;
}

int PrintTracks(const RenderOptions& o, SweepParam param, const std::vector<double>& values,
                const std::vector<TrackPoint>& points) {
    const std::string_view name = SweepParamName(param);
    if (o.sweeps.csv) std::printf("%s\n", TrackCsvHeader(name).c_str());
    for (const TrackPoint& t : points) {
        const std::string value = SweepValueText(param, values[static_cast<std::size_t>(t.value)]);
        const std::string line = o.sweeps.csv ? TrackCsvLine(value, t) : TrackJsonLine(name, value, t);
        std::printf("%s\n", line.c_str());
    }
    return StdoutWritten() ? 0 : kFailed;
}

int RunSweep(const RenderOptions& o, const SweepAxis& axis, InterruptHandler& interrupt,
             const FrameWriter& writeFrame) {
    const std::vector<double> values = axis.Values();
    std::vector<ModelParams> sets;
    for (const double v : values) sets.push_back(WithValue(o.request.params, axis.param, v));
    std::optional<std::vector<SetAnalysis>> analysed = ComputeSets(o, sets, interrupt);
    if (!analysed) return NotComputed(interrupt);
    const std::vector<ListCounts> counts = CountsOf(*analysed);
    std::vector<TrackPoint> tracks;
    if (o.sweeps.continueTracks) {
        tracks = ContinueAttractors(Catalogues(sets, std::move(*analysed)), o.sweeps.tolerance);
        if (const int status = PrintTracks(o, axis.param, values, tracks); status != 0) return status;
    } else {
        std::vector<std::vector<double>> rows;
        for (const double v : values) rows.push_back({v});
        if (const int status = PrintLines(o, {axis.param}, rows, *analysed); status != 0) return status;
    }
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
                AskForAnalysis(o, control);
                status = model.Compute(control);
            }
            if (status == ComputeStatus::Cancelled) return NotComputed(interrupt, FramesWritten(o.output, i));
            if (status == ComputeStatus::Refused) {
                Complain("the parameters of frame " + std::to_string(i) + " were refused");
                return kRefused;
            }
            if (status != ComputeStatus::Done) {
                Complain("not enough memory for this grid");
                return kFailed;
            }
            const std::string name = FrameName(o.output, static_cast<std::int64_t>(i));
            if (const int status = writeFrame(model, p, name, FramesWritten(o.output, i)); status != 0) return status;
            // Drawing the next frame is not interruptible: a signal ends the command at once.
            if (const int status = EndAtOnceFromHere(interrupt, FramesWritten(o.output, i + 1) + ", the rest not");
                status != 0)
                return status;
        }
    }
    if (o.sweeps.plot.empty()) return 0;
    const QImage chart = o.sweeps.continueTracks ? DrawShareChart(axis.param, values, tracks)
                                                 : DrawSweepChart(axis.param, values, counts);
    return SavePictures(chart, {PictureJob(chart, o.sweeps.plot, DescribeAxes({&axis}, o))}, interrupt,
                        o.output.empty() ? "" : FramesWritten(o.output, values.size()));
}

int RunPlane(const RenderOptions& o, const SweepAxis& a1, const SweepAxis& a2, InterruptHandler& interrupt) {
    const std::vector<double> v1 = a1.Values();
    const std::vector<double> v2 = a2.Values();
    std::vector<ModelParams> sets;
    std::vector<std::vector<double>> rows;
    for (const double y : v2) {
        for (const double x : v1) {
            sets.push_back(WithValue(WithValue(o.request.params, a2.param, y), a1.param, x));
            rows.push_back({x, y});
        }
    }
    const std::optional<std::vector<SetAnalysis>> analysed = ComputeSets(o, sets, interrupt);
    if (!analysed) return NotComputed(interrupt);
    const std::vector<ListCounts> counts = CountsOf(*analysed);
    if (const int status = PrintLines(o, {a1.param, a2.param}, rows, *analysed); status != 0) return status;
    PlaneExtras extra;
    for (const SetAnalysis& s : *analysed) {
        if (o.analysis) extra.cycles.push_back(static_cast<std::int32_t>(s.attractors.size()));
        if (s.metrics) {
            extra.sb.push_back(s.metrics->sb);
            extra.sbb.push_back(s.metrics->sbb);
            extra.alpha.push_back(s.metrics->alpha);
        }
    }
    // The archive and the picture are written as one: both or neither.
    std::vector<FileJob> jobs;
    if (!o.exportFile.empty()) {
        jobs.push_back({o.exportFile, [&](const std::atomic<bool>* stop, FileBatch* batch, std::string& why) {
                            return WritePlaneNpz(std::filesystem::path(o.exportFile), v1, v2, counts, why, stop, batch,
                                                 &extra);
                        }});
    }
    QImage picture;
    if (!o.output.empty()) {
        picture = DrawParamPlane(a1.param, v1, a2.param, v2, counts, o.sweeps.planeScale);
        jobs.push_back(PictureJob(picture, o.output, DescribeAxes({&a1, &a2}, o)));
        if (picture.isNull()) return SavePictures(picture, jobs, interrupt);
    }
    return jobs.empty() ? 0 : WriteFilesInterruptibly(jobs, interrupt);
}

}  // namespace

int RunSweepCommand(const RenderOptions& o, InterruptHandler& interrupt, const FrameWriter& writeFrame) {
    try {
        if (o.sweeps.sweep) return RunSweep(o, *o.sweeps.sweep, interrupt, writeFrame);
        return RunPlane(o, *o.sweeps.plane1, *o.sweeps.plane2, interrupt);
    } catch (const std::bad_alloc&) {
        Complain("not enough memory for the computation; nothing more written");
        return kFailed;
    }
}

}  // namespace orbitograph

#include "cli/option_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/number_text.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

using Apply = decltype(CommandOption::apply);

template <class Get>
Apply BoundedInt(Get get, std::int32_t lo, std::int32_t hi) {
    return [get, lo, hi](RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
        const IntResult r = ParseLeadingInt(v);
        if (r.status != IntParse::Ok || r.value < lo || r.value > hi) {
            error = std::string(name) + ": expected an integer from " + FormatInt(lo) + " to " + FormatInt(hi) +
                    ", got " + Quoted(v);
            return false;
        }
        get(o) = r.value;
        return true;
    };
}

template <class Get>
Apply FileName(Get get) {
    return [get](RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
        if (const std::string why = FileNameRefusal(v); !why.empty()) {
            error = std::string(name) + ": " + why;
            return false;
        }
        get(o) = v;
        return true;
    };
}

template <class Get>
Apply Flag(Get get) {
    return [get](RenderOptions& o, std::string_view, const std::string&, std::string&) {
        get(o) = true;
        return true;
    };
}

// Two finite decimal numbers, each read as the parameters are.
bool StartPoint(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    const auto comma = std::min(v.find(','), v.size());
    const std::string_view text(v);
    const double x = ParseLeadingDouble(text.substr(0, comma)).value_or(NAN);
    const double y = comma < v.size() ? ParseLeadingDouble(text.substr(comma + 1)).value_or(NAN) : NAN;
    if (!std::isfinite(x) || !std::isfinite(y)) {
        error = std::string(name) + ": expected X0,Y0, two finite numbers, got " + Quoted(v);
        return false;
    }
    o.orbit = true;
    o.orbitX0 = x;
    o.orbitY0 = y;
    return true;
}

bool ExportName(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    const auto ends = [&v](std::string_view s) {
        return v.size() > s.size() && v.compare(v.size() - s.size(), s.size(), s) == 0;
    };
    if (!ends(".npz") && !ends(".csv")) {
        error = std::string(name) + ": expected a file name ending in .npz or .csv, got " + Quoted(v);
        return false;
    }
    o.exportFile = v;
    return true;
}

// A setting of the metrics, read by its reader of request/metrics_request.h.
template <bool (*read)(MetricsRequest&, std::string_view, std::string_view, std::string&)>
bool MetricsSetting(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    o.metricsTuned = true;
    return read(o.metrics, name, v, error);
}

bool Sweeps(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    return ApplySweepOption(o.sweeps, name, v, error);
}

// A row of the request's table, applied to the options' request.
CommandOption FromRequest(const FrameOption& row) {
    return {row.name, row.argument, row.help, row.section,
            [&row](RenderOptions& o, std::string_view, const std::string& value, std::string& error) {
                return row.read(o.request, value, error);
            }};
}

#define OPTION_FIELD(expr) \
    [](RenderOptions & o) -> auto& { return expr; }

std::vector<CommandOption> MakeTable() {
    using Section = OptionSection;
    std::vector<CommandOption> table;
    for (const FrameOption& row : FrameOptions()) {
        if (row.name == "--origin") {
            table.push_back({"--from", "PICTURE",
                             "the options that drew a picture this program saved; others given override",
                             Section::Model, FileName(OPTION_FIELD(o.from))});
            table.push_back({"--allow-large", "",
                             "compute a picture's request beyond 1e10 map steps or 4096x4096 pixels", Section::Model,
                             Flag(OPTION_FIELD(o.allowLarge))});
        }
        table.push_back(FromRequest(row));
        if (row.name == "--origin") {
            table.push_back({"--threads", "N", "worker threads, 1 to 1024 [every core]", Section::Model,
                             BoundedInt(OPTION_FIELD(o.threads), 1, kMaxThreads)});
        }
    }
    const CommandOption output[] = {
        {"--output", "FILE", "write the picture as PNG under exactly this name (a regular file; '-' is refused)",
         Section::Output, FileName(OPTION_FIELD(o.output))},
        {"-o", "FILE", "the same as --output", Section::Output, FileName(OPTION_FIELD(o.output))},
        {"--export", "FILE.npz|FILE.csv",
         "the grid for NumPy (labels, coordinates, end points, attractors, meta) or one CSV row of counts",
         Section::Output, ExportName},
        {"--counts", "", "one JSON line with the size of every list", Section::Output, Flag(OPTION_FIELD(o.counts))},
        {"--report", "", "the report lines, UTF-8", Section::Output, Flag(OPTION_FIELD(o.report))},
        {"--analysis", "",
         "one JSON line: the attractors (id, period, smallest state x, y, basin), the escaped and unsettled start "
         "points; --export FILE.npz adds every orbit's exit step, cycle start, period and attractor; with --sweep or "
         "--plane: the number of attractors on every line",
         Section::Output, Flag(OPTION_FIELD(o.analysis))},
        {"--orbit", "X0,Y0", "print the orbit of this start point as CSV (no picture)", Section::Output, StartPoint},
        {"--orbit-limit", "K", "print at most K rows of the orbit [all]", Section::Output,
         BoundedInt(OPTION_FIELD(o.orbitLimit), 0, 2147483647)},
        {"--sweep", "P=FROM:TO:N",
         "counts for N values of a, dc, kc or iterations, a line each; -o f_%04d.png: a frame each (finished "
         "frames stay when interrupted)",
         Section::Output, Sweeps},
        {"--plane", "P1=..,P2=..",
         "counts for every pair of two such ranges; -o draws the plane, --export FILE.npz keeps the counts",
         Section::Output, Sweeps},
        {"--plane-scale", "K", "pixels per pair on each side of the plane picture, 1 to 64 [1]", Section::Output,
         Sweeps},
        {"--format", "json|csv", "the lines of a sweep or a plane [json]", Section::Output, Sweeps},
        {"--plot", "FILE", "the sweep's fractions of each kind (with --continue: of each attractor) as a chart, PNG",
         Section::Output, Sweeps},
        {"--continue", "",
         "with --sweep: follow the attractors from value to value, a line per value and track (track, period, x, y, "
         "share) instead of the counts",
         Section::Output, Sweeps},
        {"--continue-tolerance", "T", "the largest distance between the cycles of one track, exclusive [0.05]",
         Section::Output, Sweeps},
        {"--metrics", "",
         "one JSON line: the entropies Sb and Sbb of boxes, the shares f of uncertain points, alpha; "
         "with --sweep or --plane: these keys on every line",
         Section::Output, Flag(OPTION_FIELD(o.metrics.wanted))},
        {"--metrics-box", "B", "the side of the entropy's boxes in grid points [5]", Section::Output,
         MetricsSetting<ReadMetricsBox>},
        {"--metrics-k", "K1,K2,..", "the distances of f in grid steps, increasing [1,2,4,8]", Section::Output,
         MetricsSetting<ReadMetricsDistances>},
        {"--metrics-of", "kinds|attractor",
         "the labels measured: the kind or the attractor of every start point [kinds]", Section::Output,
         MetricsSetting<ReadMetricsOf>},
        {"--help", "", "this text", Section::Output, Flag(OPTION_FIELD(o.help))},
    };
    table.insert(table.end(), std::begin(output), std::end(output));
    return table;
}

#undef OPTION_FIELD

}  // namespace

const std::vector<CommandOption>& OptionTable() {
    static const std::vector<CommandOption> table = MakeTable();
    return table;
}

}  // namespace orbitograph

#include "cli/option_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace orbitograph {

namespace {

using Section = CommandOption::Section;
using Apply = decltype(CommandOption::apply);

// "WxH" with decimal digits only, each side within 1..kMaxCanvasSide.
bool ParseSize(const std::string& v, std::int32_t& width, std::int32_t& height) {
    const auto x = v.find('x');
    if (x == std::string::npos) return false;
    auto side = [](const std::string& digits, std::int32_t& out) {
        if (digits.empty() || digits.size() > 6) return false;
        std::int32_t n = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + (c - '0');
        }
        if (n < 1 || n > kMaxCanvasSide) return false;
        out = n;
        return true;
    };
    std::int32_t w = 0;
    std::int32_t h = 0;
    if (!side(v.substr(0, x), w) || !side(v.substr(x + 1), h)) return false;
    width = w;
    height = h;
    return true;
}

template <class Get>
Apply Real(Get get) {
    return [get](RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
        const std::optional<double> d = ParseLeadingDouble(v);
        if (!d) {
            error = std::string(name) + ": expected a number, got " + Quoted(v);
            return false;
        }
        get(o) = *d;
        return true;
    };
}

template <class Get>
Apply Direction(Get get) {
    return [get](RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
        if (v != "inward" && v != "outward") {
            error = std::string(name) + ": expected inward or outward, got " + Quoted(v);
            return false;
        }
        get(o) = v == "outward" ? 1 : 0;
        return true;
    };
}

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
Apply Text(Get get) {
    return [get](RenderOptions& o, std::string_view, const std::string& v, std::string&) {
        get(o) = v;
        return true;
    };
}

template <class Get>
Apply FileName(Get get) {
    return [get](RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
        if (v.empty()) {
            error = std::string(name) + ": expected a file name";
            return false;
        }
        if (v == "-") {
            error = std::string(name) +
                    ": standard input and output are not supported; name a file ('./-' for one called -)";
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

bool Iterations(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    const IntResult r = ParseLeadingInt(v);
    if (r.status == IntParse::NoNumber) {
        error = std::string(name) + ": expected an integer, got " + Quoted(v);
        return false;
    }
    if (r.status == IntParse::OutOfRange) {
        error = std::string(name) + ": " + Quoted(v) + " is outside -2147483648..2147483647";
        return false;
    }
    o.params.iterations = r.value;
    return true;
}

bool Origin(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    const auto comma = v.find(',');
    const IntResult x = ParseLeadingInt(v.substr(0, comma == std::string::npos ? 0 : comma));
    const IntResult y =
        comma == std::string::npos ? IntResult{IntParse::NoNumber, 0} : ParseLeadingInt(v.substr(comma + 1));
    if (x.status != IntParse::Ok || y.status != IntParse::Ok || !OriginAcceptable(x.value, y.value)) {
        error = std::string(name) + ": expected X,Y with integer magnitudes up to " + FormatInt(kMaxOriginMagnitude) +
                ", got " + Quoted(v);
        return false;
    }
    o.originX = x.value;
    o.originY = y.value;
    o.originGiven = true;
    return true;
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

bool Size(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    if (ParseSize(v, o.width, o.height)) return true;
    error =
        std::string(name) + ": expected WxH with each from 1 to " + FormatInt(kMaxCanvasSide) + ", got " + Quoted(v);
    return false;
}

bool Single(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    if (v == "attractors")
        o.panels = PanelChoice::Attractors;
    else if (v == "basins")
        o.panels = PanelChoice::Basins;
    else {
        error = std::string(name) + ": expected attractors or basins, got " + Quoted(v);
        return false;
    }
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

bool Sweeps(RenderOptions& o, std::string_view name, const std::string& v, std::string& error) {
    return ApplySweepOption(o.sweeps, name, v, error);
}

#define OPTION_FIELD(expr) \
    [](RenderOptions & o) -> auto& { return expr; }

std::vector<CommandOption> MakeTable() {
    const auto param = [](ParamField f) { return std::string_view(ParamOptionName(f)); };
    return {
        {param(ParamField::A), "V", "coefficient A [0.8]", Section::Model, Real(OPTION_FIELD(o.params.a))},
        {param(ParamField::Dc), "V", "magnitude Dc [0.5]", Section::Model, Real(OPTION_FIELD(o.params.dc))},
        {param(ParamField::Kc), "V", "magnitude Kc [0.8]", Section::Model, Real(OPTION_FIELD(o.params.kc))},
        {param(ParamField::DcOutward), "inward|outward", "direction of Dc [outward]", Section::Model,
         Direction(OPTION_FIELD(o.params.dcOutward))},
        {param(ParamField::KcOutward), "inward|outward", "direction of Kc [inward]", Section::Model,
         Direction(OPTION_FIELD(o.params.kcOutward))},
        {param(ParamField::Iterations), "N", "iterations per orbit, N + 1 steps [10]", Section::Model, Iterations},
        {param(ParamField::Step), "V", "grid step h [0.01]", Section::Model, Real(OPTION_FIELD(o.params.step))},
        {param(ParamField::X1), "V", "left edge of the start rectangle, in [-2, 2] [-2]", Section::Model,
         Real(OPTION_FIELD(o.params.x1))},
        {param(ParamField::X2), "V", "right edge [2]", Section::Model, Real(OPTION_FIELD(o.params.x2))},
        {param(ParamField::Y1), "V", "lower edge [-2]", Section::Model, Real(OPTION_FIELD(o.params.y1))},
        {param(ParamField::Y2), "V", "upper edge [2]", Section::Model, Real(OPTION_FIELD(o.params.y2))},
        {"--from", "PICTURE", "the options that drew a picture this program saved; others given override",
         Section::Model, FileName(OPTION_FIELD(o.from))},
        {"--origin", "X,Y", "model origin in pixels [the centre of --size]", Section::Model, Origin},
        {"--threads", "N", "worker threads, 1 to 1024 [every core]", Section::Model,
         BoundedInt(OPTION_FIELD(o.threads), 1, kMaxThreads)},
        {"--size", "WxH", "client area in pixels, 1 to 16384 each [1000x700]", Section::Picture, Size},
        {"--single", "attractors|basins", "one panel only [both side by side]", Section::Picture, Single},
        {"--no-params", "", "no parameter text", Section::Picture, Flag(OPTION_FIELD(o.noParams))},
        {"--grid", "", "the unit grid of each panel", Section::Picture, Flag(OPTION_FIELD(o.grid))},
        {"--legend", "", "the legend panel", Section::Picture, Flag(OPTION_FIELD(o.legend))},
        {"--a-symmetry", "", "the half-turn copy of the attractors", Section::Picture, Flag(OPTION_FIELD(o.aSymmetry))},
        {"--fit", "", "panels fitted to the client area [one pixel per grid point]", Section::Picture,
         Flag(OPTION_FIELD(o.fit))},
        {"--font-size", "N", "parameter text size in pixels, 1 to 50 [13]", Section::Picture,
         BoundedInt(OPTION_FIELD(o.fontSize), 1, 50)},
        {"--legend-hx", "TEXT", "name of the characteristic Hx", Section::Picture,
         Text(OPTION_FIELD(o.legendFields.nameHx))},
        {"--legend-hy", "TEXT", "name of the characteristic Hy", Section::Picture,
         Text(OPTION_FIELD(o.legendFields.nameHy))},
        {"--legend-max-hx", "V", "largest Hx [0]", Section::Picture, Real(OPTION_FIELD(o.legendFields.maxHx))},
        {"--legend-min-hx", "V", "smallest Hx [0]", Section::Picture, Real(OPTION_FIELD(o.legendFields.minHx))},
        {"--legend-max-hy", "V", "largest Hy [0]", Section::Picture, Real(OPTION_FIELD(o.legendFields.maxHy))},
        {"--legend-min-hy", "V", "smallest Hy [0]", Section::Picture, Real(OPTION_FIELD(o.legendFields.minHy))},
        {"--legend-t", "TEXT", "name of region T", Section::Picture, Text(OPTION_FIELD(o.legendFields.regionT))},
        {"--legend-o", "TEXT", "name of region O", Section::Picture, Text(OPTION_FIELD(o.legendFields.regionO))},
        {"--legend-m", "TEXT", "name of region M", Section::Picture, Text(OPTION_FIELD(o.legendFields.regionM))},
        {"--legend-h", "TEXT", "name of region H", Section::Picture, Text(OPTION_FIELD(o.legendFields.regionH))},
        {"--legend-picture", "FILE", "legend picture [bitmap3.bmp here, else the installed one]", Section::Picture,
         FileName(OPTION_FIELD(o.legendPicture))},
        {"--output", "FILE", "write the picture as PNG under exactly this name (a regular file; '-' is refused)",
         Section::Output, FileName(OPTION_FIELD(o.output))},
        {"-o", "FILE", "the same as --output", Section::Output, FileName(OPTION_FIELD(o.output))},
        {"--export", "FILE.npz|FILE.csv",
         "the grid for NumPy (labels, coordinates, end points, attractors, meta) or one CSV row of counts",
         Section::Output, ExportName},
        {"--counts", "", "one JSON line with the size of every list", Section::Output, Flag(OPTION_FIELD(o.counts))},
        {"--report", "", "the report lines, UTF-8", Section::Output, Flag(OPTION_FIELD(o.report))},
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
        {"--plot", "FILE", "the sweep's fractions of each kind as a chart, PNG", Section::Output, Sweeps},
        {"--help", "", "this text", Section::Output, Flag(OPTION_FIELD(o.help))},
    };
}

#undef OPTION_FIELD

}  // namespace

const std::vector<CommandOption>& OptionTable() {
    static const std::vector<CommandOption> table = MakeTable();
    return table;
}

}  // namespace orbitograph

#include "cli/sweep_options.h"

#include <charconv>
#include <cmath>

#include "cli/analysis_output.h"
#include "cli/render_options.h"
#include "data/counts_text.h"
#include "model/number_text.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

// A number that is the whole text (surrounding white space refused too).
std::optional<double> WholeNumber(std::string_view text) {
    const std::size_t n = DecimalPrefixLength(text);
    if (n == 0 || n != text.size() || text.front() == ' ' || text.front() == '\t') return std::nullopt;
    return ParseLeadingDouble(text);
}

bool ParseAxis(std::string_view text, SweepAxis& axis) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return false;
    const std::optional<SweepParam> param = SweepParamByName(text.substr(0, eq));
    if (!param) return false;
    std::string_view rest = text.substr(eq + 1);
    const auto c1 = rest.find(':');
    const auto c2 = c1 == std::string_view::npos ? c1 : rest.find(':', c1 + 1);
    if (c2 == std::string_view::npos) return false;
    const std::optional<double> from = WholeNumber(rest.substr(0, c1));
    const std::optional<double> to = WholeNumber(rest.substr(c1 + 1, c2 - c1 - 1));
    const std::string_view countText = rest.substr(c2 + 1);
    std::int32_t count = 0;
    const auto [end, ec] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (!from || !to || ec != std::errc() || end != countText.data() + countText.size() || countText.empty() ||
        count < 1 || count > kMaxSweepValues)
        return false;
    axis = {*param, *from, *to, count};
    return true;
}

std::string AxisError(std::string_view name, const std::string& value) {
    return std::string(name) +
           ": expected PARAM=FROM:TO:COUNT with PARAM one of a, dc, kc, iterations and COUNT from 1 to " +
           FormatInt(kMaxSweepValues) + ", got " + Quoted(value);
}

// Every value of the axis must give parameters that the computation accepts.
std::string CheckAxis(std::string_view option, const SweepAxis& axis, const ModelParams& base,
                      std::optional<double> delta) {
    if (axis.count == 1 && axis.from != axis.to) return std::string(option) + ": one value needs FROM equal to TO";
    for (const double v : axis.Values()) {
        const bool intRange = v >= -2147483648.0 && v <= 2147483647.0;
        if (!std::isfinite(v) || (axis.param == SweepParam::Iterations && !intRange) ||
            CheckParameters(WithValue(base, axis.param, v))) {
            return std::string(option) + ": the value " + SweepValueText(axis.param, v) + " of " +
                   std::string(SweepParamName(axis.param)) + " is refused" +
                   (axis.param == SweepParam::Iterations ? " (integers from -2147483648 to 2147483647)"
                                                         : " (finite numbers only)");
        }
        if (delta) {
            if (const auto refused = CheckAnalysis(WithValue(base, axis.param, v), *delta))
                return std::string(option) + ": the attractors at " + std::string(SweepParamName(axis.param)) + " " +
                       SweepValueText(axis.param, v) + ": " + AnalysisRefusalText(*refused);
        }
    }
    return {};
}

// The merge distance when every value is analysed (also for frames coloured
// by the analysis); none when none is.
std::optional<double> AnalysedWith(const RenderOptions& o) {
    const bool analysed =
        NeedsAnalysis(o) || o.sweeps.continueTracks || (o.metrics.wanted && o.metrics.of == MetricsOf::Attractor);
    return analysed ? std::optional<double>(o.request.attractorDelta) : std::nullopt;
}

}  // namespace

bool ApplySweepOption(SweepOptions& s, std::string_view name, const std::string& value, std::string& error) {
    if (name == "--sweep") {
        SweepAxis axis;
        if (!ParseAxis(value, axis)) return error = AxisError(name, value), false;
        s.sweep = axis;
    } else if (name == "--plane") {
        const auto comma = value.find(',');
        SweepAxis a1, a2;
        if (comma == std::string::npos || !ParseAxis(std::string_view(value).substr(0, comma), a1) ||
            !ParseAxis(std::string_view(value).substr(comma + 1), a2)) {
            return error = std::string(name) + ": expected P1=FROM:TO:COUNT,P2=FROM:TO:COUNT, got " + Quoted(value),
                   false;
        }
        if (a1.param == a2.param) return error = std::string(name) + ": the two parameters must differ", false;
        if (std::int64_t{a1.count} * a2.count > kMaxPlanePairs)
            return error = std::string(name) + ": more than " + FormatInt(kMaxPlanePairs) + " pairs", false;
        s.plane1 = a1;
        s.plane2 = a2;
    } else if (name == "--plane-scale") {
        const IntResult r = ParseLeadingInt(value);
        if (r.status != IntParse::Ok || r.value < 1 || r.value > kMaxPlaneScale || value.empty() ||
            value.find_first_not_of("0123456789") != std::string::npos)
            return error = std::string(name) + ": expected an integer from 1 to " + FormatInt(kMaxPlaneScale) +
                           ", got " + Quoted(value),
                   false;
        s.planeScale = r.value;
    } else if (name == "--format") {
        if (value != "json" && value != "csv")
            return error = std::string(name) + ": expected json or csv, got " + Quoted(value), false;
        s.csv = value == "csv";
    } else if (name == "--continue") {
        s.continueTracks = true;
    } else if (name == "--continue-tolerance") {
        const std::optional<double> t = WholeNumber(value);
        if (!t || !(*t >= 0.0))
            return error = std::string(name) + ": expected a number >= 0, got " + Quoted(value), false;
        s.tolerance = *t;
        s.toleranceGiven = true;
    } else if (name == "--plot") {
        if (value.empty() || value == "-") return error = std::string(name) + ": expected a file name", false;
        s.plot = value;
    }
    return true;
}

std::string CheckSweepOptions(const RenderOptions& o) {
    const SweepOptions& s = o.sweeps;
    if (s.sweep && s.plane1) return "--sweep and --plane cannot be combined";
    if (s.toleranceGiven && !s.continueTracks) return "--continue-tolerance needs --continue";
    if (s.continueTracks && !s.sweep) return "--continue needs --sweep";
    if (s.continueTracks && (o.analysis || o.metrics.wanted))
        return "--continue prints the attractors' tracks; --analysis and --metrics add to the lines of counts, "
               "without it";
    if (!s.Active()) {
        if (!s.plot.empty()) return "--plot needs --sweep";
        return {};
    }
    if (o.counts || o.report)
        return "--counts and --report do not apply to a sweep or a plane: every line holds the counts";
    if (s.plane1 && !s.plot.empty()) return "--plot needs --sweep; a plane is drawn with -o";
    if (!o.exportFile.empty() &&
        (s.sweep || o.exportFile.size() < 4 || o.exportFile.compare(o.exportFile.size() - 4, 4, ".npz") != 0))
        return "--export: with --sweep or --plane only a plane's .npz archive is written (the lines hold the counts)";
    if (s.sweep) {
        if (!o.output.empty() && !FramePatternValid(o.output))
            return "-o: with --sweep, expected a file name with exactly one %d (such as frame_%04d.png) and no other "
                   "%, got " +
                   Quoted(o.output);
        return CheckAxis("--sweep", *s.sweep, o.request.params, AnalysedWith(o));
    }
    if (std::int64_t{s.plane1->count} * s.planeScale > kMaxCanvasSide ||
        std::int64_t{s.plane2->count} * s.planeScale > kMaxCanvasSide)
        return "--plane-scale: the picture would be wider or taller than " + FormatInt(kMaxCanvasSide) + " pixels";
    if (std::string why = CheckAxis("--plane", *s.plane1, o.request.params, AnalysedWith(o)); !why.empty()) return why;
    return CheckAxis("--plane", *s.plane2, WithValue(o.request.params, s.plane1->param, s.plane1->from),
                     AnalysedWith(o));
}

bool FramePatternValid(std::string_view pattern) {
    int conversions = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        ++i;
        while (i < pattern.size() && std::string_view("-+ 0").find(pattern[i]) != std::string_view::npos) ++i;
        const std::size_t widthStart = i;
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') ++i;
        if (i - widthStart > 2 ||
            (i > widthStart && std::stoi(std::string(pattern.substr(widthStart, i - widthStart))) > 20))
            return false;
        if (i >= pattern.size() || (pattern[i] != 'd' && pattern[i] != 'i')) return false;
        ++conversions;
    }
    return conversions == 1;
}

std::string FrameName(std::string_view pattern, std::int64_t number) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        bool left = false, zero = false, plus = false, space = false;
        for (++i; std::string_view("-+ 0").find(pattern[i]) != std::string_view::npos; ++i) {
            left |= pattern[i] == '-';
            zero |= pattern[i] == '0';
            plus |= pattern[i] == '+';
            space |= pattern[i] == ' ';
        }
        std::size_t width = 0;
        for (; pattern[i] >= '0' && pattern[i] <= '9'; ++i)
            width = width * 10 + static_cast<std::size_t>(pattern[i] - '0');
        std::string digits = std::to_string(number < 0 ? -number : number);
        const std::string sign = number < 0 ? "-" : plus ? "+" : space ? " " : "";
        const std::size_t length = sign.size() + digits.size();
        const std::size_t pad = width > length ? width - length : 0;
        if (left)
            out += sign + digits + std::string(pad, ' ');
        else if (zero)
            out += sign + std::string(pad, '0') + digits;
        else
            out += std::string(pad, ' ') + sign + digits;
    }
    return out;
}

std::string SweepValueText(SweepParam p, double v) {
    if (p == SweepParam::Iterations && v >= -2147483648.0 && v <= 2147483647.0)
        return FormatInt(static_cast<std::int64_t>(v));
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string SweepJsonLine(const std::vector<SweepParam>& params, const std::vector<double>& values,
                          const ListCounts& c) {
    std::string out = "{";
    for (std::size_t k = 0; k < params.size(); ++k) {
        out += "\"" + std::string(SweepParamName(params[k])) + "\": " + SweepValueText(params[k], values[k]) + ", ";
    }
    const auto counts = CountValues(c);
    for (std::size_t k = 0; k < counts.size(); ++k) {
        out += "\"" + std::string(kCountKeys[k]) + "\": " + FormatInt(counts[k]) + (k + 1 < counts.size() ? ", " : "}");
    }
    return out;
}

std::string SweepCsvHeader(const std::vector<SweepParam>& params) {
    std::string out;
    for (const SweepParam p : params) out += std::string(SweepParamName(p)) + ",";
    for (std::size_t k = 0; k < std::size(kCountKeys); ++k)
        out += std::string(kCountKeys[k]) + (k + 1 < std::size(kCountKeys) ? "," : "");
    return out;
}

std::string SweepCsvLine(const std::vector<SweepParam>& params, const std::vector<double>& values,
                         const ListCounts& c) {
    std::string out;
    for (std::size_t k = 0; k < params.size(); ++k) out += SweepValueText(params[k], values[k]) + ",";
    const auto counts = CountValues(c);
    for (std::size_t k = 0; k < counts.size(); ++k) out += FormatInt(counts[k]) + (k + 1 < counts.size() ? "," : "");
    return out;
}

}  // namespace orbitograph

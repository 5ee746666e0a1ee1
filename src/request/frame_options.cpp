#include "request/frame_options.h"

#include <bit>
#include <cmath>

#include "model/number_text.h"
#include "request/option_rows.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

FrameOption Bound(std::string_view name, std::string help, double LegendTexts::*member) {
    FrameOption row = RealOption(name, std::move(help), OptionSection::Picture, Described::Bound,
                                 [member](Request& r, double v) { r.display.legendTexts.*member = v; });
    // A bound that overflows would be written as a text no description reads back.
    row.read = [name, read = row.read](Request& r, const std::string& text, std::string& error) {
        const std::optional<double> v = ParseLeadingDouble(text);
        if (v && !std::isfinite(*v)) return Refuse(error, name, "expected a finite number, got " + Quoted(text));
        return read(r, text, error);
    };
    row.write = [member](const Request& r) -> std::optional<std::string> {
        const double v = r.display.legendTexts.*member;
        // -0 differs from 0 in the text the legend shows.
        if (v == 0.0 && !std::signbit(v)) return std::nullopt;
        return FormatShortest(v);
    };
    return row;
}

FrameOption Text(std::string_view name, std::string help, std::string LegendTexts::*member) {
    FrameOption row =
        OptionRow(name, "TEXT", std::move(help), OptionSection::Picture, Described::Display, ValueKind::Text);
    row.read = [member, name](Request& r, const std::string& text, std::string& error) {
        if (!WellFormedUtf8(text)) return Refuse(error, name, "not well-formed UTF-8: " + Quoted(text));
        r.display.legendTexts.*member = text;
        return true;
    };
    row.set = [read = row.read](Request& r, const OptionValue& value, std::string& error) {
        return read(r, std::get<std::string>(value), error);
    };
    row.write = [member](const Request& r) -> std::optional<std::string> {
        const std::string& text = r.display.legendTexts.*member;
        if (text.empty()) return std::nullopt;
        return text;
    };
    return row;
}

// A display switch; on means the member holds `on`.
FrameOption Switch(std::string_view name, std::string help, bool DisplayRequest::*member, bool on = true) {
    FrameOption row = OptionRow(name, "", std::move(help), OptionSection::Picture, Described::Display, ValueKind::Flag);
    row.read = [member, on](Request& r, const std::string&, std::string&) {
        r.display.*member = on;
        return true;
    };
    row.set = [member, on](Request& r, const OptionValue& value, std::string&) {
        r.display.*member = std::get<bool>(value) ? on : !on;
        return true;
    };
    row.write = [member, on](const Request& r) -> std::optional<std::string> {
        if (r.display.*member != on) return std::nullopt;
        return std::string();
    };
    return row;
}

FrameOption FontSize() {
    constexpr std::int32_t lo = 1, hi = 50;
    FrameOption row = OptionRow("--font-size", "N", "parameter text size in pixels, 1 to 50 [13]",
                                OptionSection::Picture, Described::Display, ValueKind::Integer);
    const auto store = [name = row.name](Request& r, std::optional<std::int64_t> v, std::string_view shown,
                                         std::string& error) {
        if (!v || *v < lo || *v > hi)
            return Refuse(
                error, name,
                "expected an integer from " + FormatInt(lo) + " to " + FormatInt(hi) + ", got " + Quoted(shown));
        r.display.fontSize = static_cast<std::int32_t>(*v);
        return true;
    };
    row.read = [store](Request& r, const std::string& text, std::string& error) {
        const IntResult n = ParseLeadingInt(text);
        return store(r, n.status == IntParse::Ok ? std::optional<std::int64_t>(n.value) : std::nullopt, text, error);
    };
    row.set = [store](Request& r, const OptionValue& value, std::string& error) {
        const std::int64_t n = std::get<std::int64_t>(value);
        return store(r, n, FormatInt(n), error);
    };
    row.write = [](const Request& r) -> std::optional<std::string> { return FormatInt(r.display.fontSize); };
    return row;
}

// A value of type Text that the row reads as the command line does.
void SetAsRead(FrameOption& row) {
    row.set = [read = row.read](Request& r, const OptionValue& value, std::string& error) {
        return read(r, std::get<std::string>(value), error);
    };
}

// One of the named values of an enumeration; a description leaves out the
// default, which need not be named.
template <class E>
FrameOption Choice(std::string_view name, std::string_view argument, std::string help, E DisplayRequest::*member,
                   std::vector<std::pair<std::string_view, E>> choices) {
    FrameOption row =
        OptionRow(name, argument, std::move(help), OptionSection::Picture, Described::Display, ValueKind::Text);
    std::string expected;
    for (std::size_t i = 0; i < choices.size(); ++i)
        expected += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + std::string(choices[i].first);
    row.read = [name, member, choices, expected](Request& r, const std::string& text, std::string& error) {
        for (const auto& [word, value] : choices) {
            if (text != word) continue;
            r.display.*member = value;
            return true;
        }
        return Refuse(error, name, "expected " + expected + ", got " + Quoted(text));
    };
    SetAsRead(row);
    row.write = [member, choices](const Request& r) -> std::optional<std::string> {
        for (const auto& [word, value] : choices) {
            if (value == r.display.*member && value != DisplayRequest{}.*member) return std::string(word);
        }
        return std::nullopt;
    };
    return row;
}

// The merge distance of attractor cycles: a number from 0 to inf. The
// description gives it with a colouring by attractor, the only picture it
// changes. Not for Python, whose compute() takes it with the analysis.
FrameOption AttractorDelta() {
    FrameOption row = OptionRow("--analysis-delta", "D",
                                "attractor cycles within D join one attractor (--analysis, --colour-by attractor), 0 "
                                "to inf [" +
                                    FormatShortest(kDefaultAttractorDelta) + "]",
                                OptionSection::Picture, Described::Display, ValueKind::Real);
    const auto store = [name = row.name](Request& r, std::optional<double> v, std::string_view shown,
                                         std::string& error) {
        if (!v || !(*v >= 0.0)) return Refuse(error, name, "expected a number from 0 to inf, got " + Quoted(shown));
        r.attractorDelta = *v;
        return true;
    };
    row.read = [store](Request& r, const std::string& text, std::string& error) {
        return store(r, text == "inf" ? std::optional(HUGE_VAL) : ParseLeadingDouble(text), text, error);
    };
    row.write = [](const Request& r) -> std::optional<std::string> {
        const double d = r.attractorDelta;
        if (r.display.colourBy != BasinColouring::Attractor ||
            std::bit_cast<std::uint64_t>(d) == std::bit_cast<std::uint64_t>(kDefaultAttractorDelta))
            return std::nullopt;
        return std::isinf(d) ? std::string("inf") : FormatShortest(d);
    };
    return row;
}

FrameOption LegendPicture() {
    FrameOption row = OptionRow("--legend-picture", "FILE", "legend picture [bitmap3.bmp here, else the installed one]",
                                OptionSection::Picture, Described::No, ValueKind::Text);
    row.read = [name = row.name](Request& r, const std::string& text, std::string& error) {
        if (const std::string why = FileNameRefusal(text); !why.empty()) return Refuse(error, name, why);
        r.display.legendPicture = text;
        return true;
    };
    SetAsRead(row);
    return row;
}

std::vector<FrameOption> MakeTable() {
    std::vector<FrameOption> table;
    for (const ParamRow& row : kParamTable) table.push_back(ParamOption(row));
    table.push_back(OriginOption());
    table.push_back(SizeOption());
    table.push_back(Choice("--single", "attractors|basins", "one panel only [both side by side]",
                           &DisplayRequest::panels,
                           {{"attractors", PanelChoice::Attractors}, {"basins", PanelChoice::Basins}}));
    table.push_back(Switch("--no-params", "no parameter text", &DisplayRequest::parameterText, false));
    table.push_back(Switch("--grid", "the unit grid of each panel", &DisplayRequest::grid));
    table.push_back(Switch("--legend", "the legend panel", &DisplayRequest::legend));
    table.push_back(Switch("--a-symmetry", "the half-turn copy of the attractors", &DisplayRequest::aSymmetry));
    table.push_back(
        Switch("--fit", "panels fitted to the client area [one pixel per grid point]", &DisplayRequest::fit));
    table.push_back(FontSize());
    table.push_back(Choice("--colour-by", "kinds|attractor|exit|period",
                           "colour the basins by the kind of end, the attractor, the exit step or the period [kinds]",
                           &DisplayRequest::colourBy,
                           {{"kinds", BasinColouring::Kinds},
                            {"attractor", BasinColouring::Attractor},
                            {"exit", BasinColouring::ExitStep},
                            {"period", BasinColouring::Period}}));
    table.push_back(AttractorDelta());
    table.push_back(ProbeOption());
    table.push_back(Text("--legend-hx", "name of the characteristic Hx", &LegendTexts::nameHx));
    table.push_back(Text("--legend-hy", "name of the characteristic Hy", &LegendTexts::nameHy));
    table.push_back(Bound("--legend-max-hx", "largest Hx [0]", &LegendTexts::maxHx));
    table.push_back(Bound("--legend-min-hx", "smallest Hx [0]", &LegendTexts::minHx));
    table.push_back(Bound("--legend-max-hy", "largest Hy [0]", &LegendTexts::maxHy));
    table.push_back(Bound("--legend-min-hy", "smallest Hy [0]", &LegendTexts::minHy));
    table.push_back(Text("--legend-t", "name of region T", &LegendTexts::regionT));
    table.push_back(Text("--legend-o", "name of region O", &LegendTexts::regionO));
    table.push_back(Text("--legend-m", "name of region M", &LegendTexts::regionM));
    table.push_back(Text("--legend-h", "name of region H", &LegendTexts::regionH));
    table.push_back(LegendPicture());
    return table;
}

}  // namespace

const std::vector<FrameOption>& FrameOptions() {
    static const std::vector<FrameOption> table = MakeTable();
    return table;
}

const FrameOption* FindFrameOption(std::string_view name) {
    for (const FrameOption& row : FrameOptions()) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

}  // namespace orbitograph

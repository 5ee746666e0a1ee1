#include "cli/render_options.h"

#include <algorithm>
#include <utility>

#include "cli/option_table.h"
#include "model/number_text.h"

namespace orbitograph {

namespace {

// Length of the well-formed UTF-8 sequence at s[i] that encodes a printable
// character (not a C1 control), or 0.
std::size_t PrintableUtf8(std::string_view s, std::size_t i) {
    const auto byte = [&s](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > s.size()) return 0;
    std::uint32_t c = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        c = (c << 6) | (byte(i + k) & 0x3Fu);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0x80 && c <= 0x9F)) return 0;
    return length;
}

}  // namespace

std::string RefusalText(const ParamError& e) {
    switch (e.reason) {
        case ParamReason::NotFinite: return "must be a finite number";
        case ParamReason::NoDirection: return "must be inward or outward";
        case ParamReason::StepTooSmall: return "must be a finite number not below " + FormatGeneral(kMinStep, 15);
        case ParamReason::EdgeOutOfRange: return "must be a number from -2 to 2";
        case ParamReason::TooManyPoints:
            return "too fine: the grid has more than " + FormatInt(kMaxStartPoints) +
                   " start points (each takes up to 16 bytes of memory); increase the step or reduce the rectangle";
    }
    return {};
}

std::string Quoted(std::string_view bytes) {
    std::string out = "'";
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\' || c == '\'') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t n = c >= 0x80 ? PrintableUtf8(bytes, i) : 0; n > 0) {
            out.append(bytes.substr(i, n));
            i += n;
        } else {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            ++i;
        }
    }
    return out + "'";
}

std::string RenderUsage() {
    std::string text =
        "Usage: orbitograph-render [options]\n"
        "Computes the attractor and basin spaces of the map\n"
        "  x' = A(x^2 - y^2) + Cx,  y' = 2Axy + Cy\n"
        "and prints the results.\n";
    const std::pair<CommandOption::Section, const char*> sections[] = {
        {CommandOption::Section::Model, "Model parameters (defaults in brackets):"},
        {CommandOption::Section::Picture, "Picture (as the main window shows it):"},
        {CommandOption::Section::Output, "Output:"},
    };
    for (const auto& [section, title] : sections) {
        text += "\n" + std::string(title) + "\n";
        for (const CommandOption& option : OptionTable()) {
            if (option.section != section) continue;
            std::string left = "  " + std::string(option.name);
            if (!option.argument.empty()) left += " " + std::string(option.argument);
            left.resize(std::max<std::size_t>(left.size() + 2, 29), ' ');
            text += left + std::string(option.help) + "\n";
        }
    }
    return text +
           "\n"
           "On a terminal a progress line is shown on standard error. Ctrl+C or\n"
           "SIGTERM ends the run at any stage: no file is written or replaced and the\n"
           "exit status is 130 (143). Exit status 1: a failure while running, such as\n"
           "a write that failed (the target keeps its old contents); 2: a refused\n"
           "option or input file.\n";
}

std::string CountsJson(std::int64_t startPoints, std::int64_t attractors, std::int64_t infinity, std::int64_t zero,
                       std::int64_t t, std::int64_t o, std::int64_t m, std::int64_t h) {
    return "{\"start_points\": " + FormatInt(startPoints) + ", \"attractors\": " + FormatInt(attractors) +
           ", \"infinity\": " + FormatInt(infinity) + ", \"zero\": " + FormatInt(zero) + ", \"T\": " + FormatInt(t) +
           ", \"O\": " + FormatInt(o) + ", \"M\": " + FormatInt(m) + ", \"H\": " + FormatInt(h) + "}";
}

OptionsResult ParseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const auto& table = OptionTable();
        const auto option = std::find_if(table.begin(), table.end(), [&](const CommandOption& candidate) {
            return candidate.name == name && (!candidate.argument.empty() || !inlineValue);
        });
        if (option == table.end()) return {std::nullopt, "unknown option " + Quoted(args[i]) + " (see --help)"};
        if (!option->argument.empty() && !inlineValue) {
            if (i + 1 >= args.size()) return {std::nullopt, name + ": missing value"};
            value = args[++i];
        }
        std::string error;
        if (!option->apply(o, option->name, value, error)) return {std::nullopt, error};
    }
    if (o.help) return {o, {}};
    if (o.orbit && (!o.output.empty() || o.counts || o.report || !o.exportFile.empty() || o.sweeps.Active()))
        return {std::nullopt,
                "--orbit: prints the orbit alone; it cannot be combined with --output, --counts, --report, --export, "
                "--sweep or --plane"};
    if (o.orbitLimit >= 0 && !o.orbit) return {std::nullopt, "--orbit-limit: needs --orbit"};
    if (!o.originGiven) {
        o.originX = o.width / 2;
        o.originY = o.height / 2;
    }
    if (auto e = CheckParameters(o.params))
        return {std::nullopt, std::string(ParamOptionName(e->field)) + ": " + RefusalText(*e)};
    if (std::string why = CheckSweepOptions(o); !why.empty()) return {std::nullopt, why};
    return {o, {}};
}

}  // namespace orbitograph

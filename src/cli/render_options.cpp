#include "cli/render_options.h"

#include <functional>
#include <map>

#include "model/number_text.h"

namespace orbitograph {

namespace {

// The reason of a refused parameter, after its option's name.
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

const char* FieldOption(ParamField f) {
    switch (f) {
        case ParamField::A: return "--a";
        case ParamField::DcOutward: return "--dc-direction";
        case ParamField::KcOutward: return "--kc-direction";
        case ParamField::Dc: return "--dc";
        case ParamField::Kc: return "--kc";
        case ParamField::Iterations: return "--iterations";
        case ParamField::Step: return "--step";
        case ParamField::X1: return "--x1";
        case ParamField::X2: return "--x2";
        case ParamField::Y1: return "--y1";
        case ParamField::Y2: return "--y2";
    }
    return "?";
}

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
    return "Usage: orbitograph-render [options]\n"
           "Computes the attractor and basin spaces of the map\n"
           "  x' = A(x^2 - y^2) + Cx,  y' = 2Axy + Cy\n"
           "and prints the results.\n"
           "\n"
           "Model parameters (defaults in brackets):\n"
           "  --a V                      coefficient A [0.8]\n"
           "  --dc V                     magnitude Dc [0.5]\n"
           "  --kc V                     magnitude Kc [0.8]\n"
           "  --dc-direction inward|outward   direction of Dc [outward]\n"
           "  --kc-direction inward|outward   direction of Kc [inward]\n"
           "  --iterations N             iterations per orbit, N + 1 steps [10]\n"
           "  --step V                   grid step h [0.01]\n"
           "  --x1 V --x2 V --y1 V --y2 V    start rectangle, each in [-2, 2] [-2 2 -2 2]\n"
           "  --origin X,Y               model origin in pixels [the centre of --size]\n"
           "  --threads N                worker threads, 1 to 1024 [every core]\n"
           "\n"
           "Picture (as the main window shows it):\n"
           "  --size WxH                 client area in pixels, 1 to 16384 each [1000x700]\n"
           "  --single attractors|basins one panel only [both side by side]\n"
           "  --no-params                no parameter text\n"
           "  --grid                     the unit grid of each panel\n"
           "  --legend                   the legend panel\n"
           "  --a-symmetry               the half-turn copy of the attractors\n"
           "  --fit                      panels fitted to the client area [one pixel per grid point]\n"
           "  --font-size N              parameter text size in pixels, 1 to 50 [13]\n"
           "  --legend-hx TEXT --legend-hy TEXT        names of the two characteristics\n"
           "  --legend-max-hx V --legend-min-hx V      bounds of Hx [0]\n"
           "  --legend-max-hy V --legend-min-hy V      bounds of Hy [0]\n"
           "  --legend-t TEXT --legend-o TEXT --legend-m TEXT --legend-h TEXT   region names\n"
           "  --legend-picture FILE      legend picture [bitmap3.bmp here, else the installed one]\n"
           "\n"
           "Output:\n"
           "  -o FILE, --output FILE     write the picture as PNG under exactly this name\n"
           "                             (a regular file; '-' is refused)\n"
           "  --counts                   one JSON line with the size of every list\n"
           "  --report                   the report lines, UTF-8\n"
           "  --help                     this text\n"
           "\n"
           "On a terminal a progress line is shown on standard error. Ctrl+C or\n"
           "SIGTERM ends the run at any stage: no file is written or replaced and the\n"
           "exit status is 130 (143). Exit status 1: a failure while running, such as\n"
           "a write that failed (the target keeps its old contents); 2: a refused\n"
           "option or input file.\n";
}

std::string CountsJson(std::int64_t startPoints, std::int64_t attractors, std::int64_t infinity,
                       std::int64_t zero, std::int64_t t, std::int64_t o, std::int64_t m, std::int64_t h) {
    return "{\"start_points\": " + FormatInt(startPoints) + ", \"attractors\": " + FormatInt(attractors) +
           ", \"infinity\": " + FormatInt(infinity) + ", \"zero\": " + FormatInt(zero) +
           ", \"T\": " + FormatInt(t) + ", \"O\": " + FormatInt(o) + ", \"M\": " + FormatInt(m) +
           ", \"H\": " + FormatInt(h) + "}";
}

OptionsResult ParseRenderOptions(const std::vector<std::string>& args) {
    RenderOptions o;
    std::string error;

    auto real = [&error](double& target, const std::string& name) {
        return [&target, &error, name](const std::string& v) {
            auto d = ParseLeadingDouble(v);
            if (!d) {
                error = name + ": expected a number, got " + Quoted(v);
                return false;
            }
            target = *d;
            return true;
        };
    };
    auto direction = [&error](std::int32_t& target, const std::string& name) {
        return [&target, &error, name](const std::string& v) {
            if (v == "inward") target = 0;
            else if (v == "outward") target = 1;
            else {
                error = name + ": expected inward or outward, got " + Quoted(v);
                return false;
            }
            return true;
        };
    };

    ModelParams& p = o.params;
    std::map<std::string, std::function<bool(const std::string&)>> withValue{
        {"--a", real(p.a, "--a")},
        {"--dc", real(p.dc, "--dc")},
        {"--kc", real(p.kc, "--kc")},
        {"--step", real(p.step, "--step")},
        {"--x1", real(p.x1, "--x1")},
        {"--x2", real(p.x2, "--x2")},
        {"--y1", real(p.y1, "--y1")},
        {"--y2", real(p.y2, "--y2")},
        {"--dc-direction", direction(p.dcOutward, "--dc-direction")},
        {"--kc-direction", direction(p.kcOutward, "--kc-direction")},
        {"--iterations",
         [&](const std::string& v) {
             IntResult r = ParseLeadingInt(v);
             if (r.status == IntParse::NoNumber) {
                 error = "--iterations: expected an integer, got " + Quoted(v);
                 return false;
             }
             if (r.status == IntParse::OutOfRange) {
                 error = "--iterations: " + Quoted(v) + " is outside -2147483648..2147483647";
                 return false;
             }
             p.iterations = r.value;
             return true;
         }},
        {"--origin",
         [&](const std::string& v) {
             const auto comma = v.find(',');
             IntResult x = ParseLeadingInt(v.substr(0, comma == std::string::npos ? 0 : comma));
             IntResult y = comma == std::string::npos ? IntResult{IntParse::NoNumber, 0}
                                                     : ParseLeadingInt(v.substr(comma + 1));
             if (x.status != IntParse::Ok || y.status != IntParse::Ok || !OriginAcceptable(x.value, y.value)) {
                 error = "--origin: expected X,Y with integer magnitudes up to " + FormatInt(kMaxOriginMagnitude) +
                         ", got " + Quoted(v);
                 return false;
             }
             o.originX = x.value;
             o.originY = y.value;
             o.originGiven = true;
             return true;
         }},
    };
    auto text = [](std::string& target) {
        return [&target](const std::string& v) {
            target = v;
            return true;
        };
    };
    auto boundedInt = [&error](std::int32_t& target, const std::string& name, std::int32_t lo, std::int32_t hi) {
        return [&target, &error, name, lo, hi](const std::string& v) {
            const IntResult r = ParseLeadingInt(v);
            if (r.status != IntParse::Ok || r.value < lo || r.value > hi) {
                error = name + ": expected an integer from " + FormatInt(lo) + " to " + FormatInt(hi) + ", got " + Quoted(v);
                return false;
            }
            target = r.value;
            return true;
        };
    };
    auto fileName = [&error](std::string& target, const std::string& name) {
        return [&target, &error, name](const std::string& v) {
            if (v.empty()) {
                error = name + ": expected a file name";
                return false;
            }
            if (v == "-") {
                error = name + ": standard input and output are not supported; name a file ('./-' for one called -)";
                return false;
            }
            target = v;
            return true;
        };
    };
    LegendOptions& legend = o.legendFields;
    withValue.insert({
        {"--size",
         [&](const std::string& v) {
             if (!ParseSize(v, o.width, o.height)) {
                 error = "--size: expected WxH with each from 1 to " + FormatInt(kMaxCanvasSide) + ", got " + Quoted(v);
                 return false;
             }
             return true;
         }},
        {"--single",
         [&](const std::string& v) {
             if (v == "attractors") o.panels = PanelChoice::Attractors;
             else if (v == "basins") o.panels = PanelChoice::Basins;
             else {
                 error = "--single: expected attractors or basins, got " + Quoted(v);
                 return false;
             }
             return true;
         }},
        {"--font-size", boundedInt(o.fontSize, "--font-size", 1, 50)},
        {"--threads", boundedInt(o.threads, "--threads", 1, kMaxThreads)},
        {"--legend-hx", text(legend.nameHx)},
        {"--legend-hy", text(legend.nameHy)},
        {"--legend-max-hx", real(legend.maxHx, "--legend-max-hx")},
        {"--legend-min-hx", real(legend.minHx, "--legend-min-hx")},
        {"--legend-max-hy", real(legend.maxHy, "--legend-max-hy")},
        {"--legend-min-hy", real(legend.minHy, "--legend-min-hy")},
        {"--legend-t", text(legend.regionT)},
        {"--legend-o", text(legend.regionO)},
        {"--legend-m", text(legend.regionM)},
        {"--legend-h", text(legend.regionH)},
        {"--legend-picture", fileName(o.legendPicture, "--legend-picture")},
        {"--output", fileName(o.output, "--output")},
        {"-o", fileName(o.output, "-o")},
    });
    std::map<std::string, bool*> flags{{"--counts", &o.counts},     {"--report", &o.report},
                                       {"--help", &o.help},         {"--no-params", &o.noParams},
                                       {"--grid", &o.grid},         {"--legend", &o.legend},
                                       {"--a-symmetry", &o.aSymmetry}, {"--fit", &o.fit}};

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        if (auto f = flags.find(name); f != flags.end() && !inlineValue) {
            *f->second = true;
            continue;
        }
        auto w = withValue.find(name);
        if (w == withValue.end()) return {std::nullopt, "unknown option " + Quoted(args[i]) + " (see --help)"};
        if (!inlineValue) {
            if (i + 1 >= args.size()) return {std::nullopt, name + ": missing value"};
            value = args[++i];
        }
        if (!w->second(value)) return {std::nullopt, error};
    }
    if (o.help) return {o, {}};
    if (!o.originGiven) {
        o.originX = o.width / 2;
        o.originY = o.height / 2;
    }
    if (auto e = CheckParameters(p)) return {std::nullopt, std::string(FieldOption(e->field)) + ": " + RefusalText(*e)};
    return {o, {}};
}

}  // namespace orbitograph

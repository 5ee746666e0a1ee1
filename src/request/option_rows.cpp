#include "request/option_rows.h"

#include <cmath>

#include "model/number_text.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

std::string Shown(double v) {
    if (std::isnan(v)) return "nan";
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return FormatShortest(v);
}

FrameOption Direction(const ParamRow& param) {
    FrameOption row =
        OptionRow(param.option, param.argument, {}, OptionSection::Model, Described::Computation, ValueKind::Flag);
    row.read = [&param](Request& r, const std::string& text, std::string& error) {
        if (text != "inward" && text != "outward")
            return Refuse(error, param.option, "expected inward or outward, got " + Quoted(text));
        r.params.*param.integer = text == "outward" ? 1 : 0;
        return true;
    };
    return row;
}

FrameOption Count(const ParamRow& param) {
    FrameOption row =
        OptionRow(param.option, param.argument, {}, OptionSection::Model, Described::Computation, ValueKind::Integer);
    row.read = [&param](Request& r, const std::string& text, std::string& error) {
        const IntResult n = ParseLeadingInt(text);
        if (n.status == IntParse::NoNumber)
            return Refuse(error, param.option, "expected an integer, got " + Quoted(text));
        if (n.status == IntParse::OutOfRange)
            return Refuse(error, param.option, Quoted(text) + " is outside -2147483648..2147483647");
        r.params.*param.integer = n.value;
        return true;
    };
    return row;
}

// Two integers with a separator; the rest of each part is ignored.
bool ReadPair(std::string_view text, char separator, IntResult& first, IntResult& second) {
    const auto at = text.find(separator);
    first = ParseLeadingInt(text.substr(0, at == std::string_view::npos ? 0 : at));
    second = at == std::string_view::npos ? IntResult{IntParse::NoNumber, 0} : ParseLeadingInt(text.substr(at + 1));
    return first.status == IntParse::Ok && second.status == IntParse::Ok;
}

// "WxH" with decimal digits only, each side within 1..kMaxCanvasSide.
bool ReadSize(std::string_view v, std::int32_t& width, std::int32_t& height) {
    const auto x = v.find('x');
    if (x == std::string_view::npos) return false;
    const auto side = [](std::string_view digits, std::int32_t& out) {
        if (digits.empty() || digits.size() > 6) return false;
        std::int32_t n = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + (c - '0');
        }
        out = n;
        return n >= 1 && n <= kMaxCanvasSide;
    };
    return side(v.substr(0, x), width) && side(v.substr(x + 1), height);
}

}  // namespace

FrameOption OptionRow(std::string_view name, std::string_view argument, std::string help, OptionSection section,
                      Described described, ValueKind kind) {
    std::string keyword(name.substr(2));
    for (char& c : keyword) c = c == '-' ? '_' : c;
    return {name, argument, std::move(help), section, described, kind, std::nullopt, std::move(keyword), {}, {}, {}};
}

bool Refuse(std::string& error, std::string_view name, const std::string& why) {
    error = std::string(name) + ": " + why;
    return false;
}

FrameOption RealOption(std::string_view name, std::string help, OptionSection section, Described described,
                       std::function<void(Request&, double)> put) {
    FrameOption row = OptionRow(name, "V", std::move(help), section, described, ValueKind::Real);
    const auto store = [name, put](Request& r, std::optional<double> v, std::string_view shown, std::string& error) {
        if (!v) return Refuse(error, name, "expected a number, got " + Quoted(shown));
        put(r, *v);
        return true;
    };
    row.read = [store](Request& r, const std::string& text, std::string& error) {
        return store(r, ParseLeadingDouble(text), text, error);
    };
    row.set = [store](Request& r, const OptionValue& value, std::string& error) {
        const double v = std::get<double>(value);
        return store(r, std::isfinite(v) ? std::optional(v) : std::nullopt, Shown(v), error);
    };
    return row;
}

FrameOption ParamOption(const ParamRow& param) {
    FrameOption row;
    switch (param.kind) {
        case ParamKind::Real:
            row = RealOption(param.option, {}, OptionSection::Model, Described::Computation,
                             [&param](Request& r, double v) { r.params.*param.real = v; });
            row.set = nullptr;
            break;
        case ParamKind::Direction: row = Direction(param); break;
        case ParamKind::Count: row = Count(param); break;
    }
    row.argument = param.argument;
    row.help = std::string(param.help) + " [" + ParamValueText(ModelParams{}, param.field) + "]";
    row.param = param.field;
    row.keyword = param.keyword;
    return row;
}

FrameOption SizeOption() {
    FrameOption row = OptionRow("--size", "WxH", "client area in pixels, 1 to 16384 each [1000x700]",
                                OptionSection::Picture, Described::Display, ValueKind::IntegerPair);
    row.read = [name = row.name](Request& r, const std::string& text, std::string& error) {
        std::int32_t width = 0, height = 0;
        if (!ReadSize(text, width, height))
            return Refuse(error, name,
                          "expected WxH with each from 1 to " + FormatInt(kMaxCanvasSide) + ", got " + Quoted(text));
        r.width = width;
        r.height = height;
        return true;
    };
    row.set = [read = row.read](Request& r, const OptionValue& value, std::string& error) {
        const auto [width, height] = std::get<std::array<std::int64_t, 2>>(value);
        return read(r, FormatInt(width) + "x" + FormatInt(height), error);
    };
    row.write = [](const Request& r) -> std::optional<std::string> {
        return FormatInt(r.width) + "x" + FormatInt(r.height);
    };
    return row;
}

FrameOption OriginOption() {
    FrameOption row = OptionRow("--origin", "X,Y", "model origin in pixels [the centre of --size]",
                                OptionSection::Model, Described::Computation, ValueKind::IntegerPair);
    const auto store = [name = row.name](Request& r, bool read, IntResult x, IntResult y, std::string_view shown,
                                         std::string& error) {
        if (!read || !OriginAcceptable(x.value, y.value))
            return Refuse(error, name,
                          "expected X,Y with integer magnitudes up to " + FormatInt(kMaxOriginMagnitude) + ", got " +
                              Quoted(shown));
        r.origin = PixelPoint{x.value, y.value};
        return true;
    };
    row.read = [store](Request& r, const std::string& text, std::string& error) {
        IntResult x{}, y{};
        const bool read = ReadPair(text, ',', x, y);
        return store(r, read, x, y, text, error);
    };
    row.set = [store](Request& r, const OptionValue& value, std::string& error) {
        const auto [x, y] = std::get<std::array<std::int64_t, 2>>(value);
        const auto in32 = [](std::int64_t v) {
            return IntResult{v >= INT32_MIN && v <= INT32_MAX ? IntParse::Ok : IntParse::OutOfRange,
                             static_cast<std::int32_t>(v)};
        };
        const IntResult ix = in32(x), iy = in32(y);
        return store(r, ix.status == IntParse::Ok && iy.status == IntParse::Ok, ix, iy,
                     FormatInt(x) + "," + FormatInt(y), error);
    };
    return row;
}

FrameOption ProbeOption() {
    FrameOption row = OptionRow("--probe", "X0,Y0", "the orbit of the start point (X0, Y0) over the attractor panel",
                                OptionSection::Picture, Described::Display, ValueKind::RealPair);
    const auto store = [name = row.name](Request& r, std::optional<double> x, std::optional<double> y,
                                         std::string_view shown, std::string& error) {
        if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
            return Refuse(error, name, "expected X0,Y0 with two finite numbers, got " + Quoted(shown));
        r.display.probe = std::array<double, 2>{*x, *y};
        return true;
    };
    row.read = [store](Request& r, const std::string& text, std::string& error) {
        const auto comma = text.find(',');
        if (comma == std::string::npos) return store(r, std::nullopt, std::nullopt, text, error);
        const std::string x = text.substr(0, comma), y = text.substr(comma + 1);
        // Whole numbers only: "0.5,0.5x" is refused, not read as 0.5, 0.5.
        const auto number = [](const std::string& part) {
            const bool whole = !part.empty() && part.front() != ' ' && DecimalPrefixLength(part) == part.size();
            return whole ? ParseLeadingDouble(part) : std::nullopt;
        };
        return store(r, number(x), number(y), text, error);
    };
    row.set = [store](Request& r, const OptionValue& value, std::string& error) {
        const auto [x, y] = std::get<std::array<double, 2>>(value);
        return store(r, x, y, Shown(x) + "," + Shown(y), error);
    };
    row.write = [](const Request& r) -> std::optional<std::string> {
        if (!r.display.probe) return std::nullopt;
        return FormatShortest((*r.display.probe)[0]) + "," + FormatShortest((*r.display.probe)[1]);
    };
    return row;
}

}  // namespace orbitograph

#include "request/description.h"

#include <set>

#include "model/number_text.h"
#include "request/frame_options.h"
#include "request/param_table.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

bool NeedsQuotes(std::string_view token) {
    return token.empty() || token.find_first_of(" \"\\") != std::string_view::npos;
}

std::string Token(std::string_view text) {
    std::string plain;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) plain += c;
    }
    if (!NeedsQuotes(plain)) return plain;
    std::string quoted = "\"";
    for (const char c : plain) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

bool WellFormedUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto lead = static_cast<unsigned char>(s[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (n == 0 || lead > 0xF4 || i + n > s.size()) return false;
        std::uint32_t c = n == 1 ? lead : lead & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) return false;
            c = (c << 6) | (b & 0x3Fu);
        }
        const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

}  // namespace

std::string DescribeComputation(const ModelParams& p, int originX, int originY) {
    std::string line;
    for (const ParamField f : kWrittenParamOrder)
        line += std::string(ParamRowOf(f).option) + " " + ParamValueText(p, f) + " ";
    return line + "--origin " + std::to_string(originX) + "," + std::to_string(originY);
}

std::string DescribeRequest(const Request& r) {
    const PixelPoint origin = r.Origin();
    std::string line = DescribeComputation(r.params, origin.x, origin.y);
    for (const Described group : {Described::Display, Described::Bound}) {
        for (const FrameOption& row : FrameOptions()) {
            if (row.described != group) continue;
            const std::optional<std::string> value = row.write(r);
            if (!value) continue;
            line += " " + std::string(row.name);
            if (!row.argument.empty()) line += " " + Token(*value);
        }
    }
    return line;
}

DescriptionTokens SplitDescription(std::string_view text) {
    if (!WellFormedUtf8(text)) return {std::nullopt, "not well-formed UTF-8"};
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        std::string token;
        if (text[i] == '"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return {std::nullopt, "a quote opened at character " + std::to_string(at + 1) + " is not closed"};
                const char c = text[i];
                if (c == '"') break;
                if (c == '\\') {
                    if (i + 1 >= text.size() || (text[i + 1] != '"' && text[i + 1] != '\\'))
                        return {std::nullopt,
                                "a backslash at character " + std::to_string(i + 1) + " escapes neither \" nor \\"};
                    ++i;
                }
                if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F)
                    return {std::nullopt, "a control character at character " + std::to_string(i + 1)};
                token += text[i];
            }
            ++i;  // past the closing quote
        } else {
            while (i < text.size() && text[i] != ' ') {
                const char c = text[i];
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    return {std::nullopt, "a control character at character " + std::to_string(i + 1)};
                if (c == '"' || c == '\\')
                    return {std::nullopt, std::string("a ") + (c == '"' ? "quote" : "backslash") +
                                              " inside a word at character " + std::to_string(i + 1)};
                token += c;
                ++i;
            }
            if (i == at) return {std::nullopt, "an empty word at character " + std::to_string(at + 1)};
        }
        tokens.push_back(std::move(token));
        if (i == text.size()) break;
        if (text[i] != ' ') return {std::nullopt, "no space after the quote ending at character " + std::to_string(i)};
        if (++i == text.size()) return {std::nullopt, "a space at the end"};
    }
    if (tokens.empty()) return {std::nullopt, "empty"};
    return {std::move(tokens), {}};
}

DescriptionRead ReadDescription(std::string_view text) {
    const auto malformed = [](const std::string& why) {
        return DescriptionRead{std::nullopt, false, "malformed description: " + why};
    };
    DescriptionTokens split = SplitDescription(text);
    if (!split.tokens) return malformed(split.error);
    const std::vector<std::string>& tokens = *split.tokens;
    // First the words alone, then what is missing, then the values.
    std::set<std::string> seen;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const FrameOption* row = FindFrameOption(tokens[i]);
        if (row == nullptr || row->described == Described::No)
            return malformed(Quoted(tokens[i]) + " is not an option that draws the frame");
        if (!seen.insert(tokens[i]).second) return malformed(Quoted(tokens[i]) + " is given twice");
        if (!row->argument.empty() && ++i >= tokens.size()) return malformed(tokens[i - 1] + " has no value");
    }
    std::vector<std::string_view> required;
    for (int f = 0; f <= static_cast<int>(ParamField::Y2); ++f)
        required.push_back(ParamRowOf(static_cast<ParamField>(f)).option);
    required.push_back("--origin");
    for (const std::string_view name : required) {
        if (!seen.contains(std::string(name))) return malformed("it does not give " + std::string(name));
    }
    Request r;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const FrameOption& row = *FindFrameOption(tokens[i]);
        std::string error;
        if (!row.read(r, row.argument.empty() ? std::string() : tokens[++i], error)) return malformed(error);
    }
    if (const std::optional<ParamError> e = CheckParameters(r.params))
        return malformed(std::string(ParamRowOf(e->field).option) + ": " + RefusalText(*e));
    return {std::move(r), seen.contains("--size"), {}};
}

}  // namespace orbitograph

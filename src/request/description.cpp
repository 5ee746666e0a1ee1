#include "request/description.h"

#include <cctype>
#include <cstdio>
#include <set>
#include <utility>

#include "model/number_text.h"
#include "request/frame_options.h"
#include "request/param_table.h"
#include "request/refusal_text.h"

namespace orbitograph {

namespace {

// The code point of well-formed UTF-8 at s[i], its length in n; a byte that
// begins no such sequence gives U+FFFD and n = 1.
char32_t DecodeAt(std::string_view s, std::size_t i, std::size_t& n) {
    const auto lead = static_cast<unsigned char>(s[i]);
    n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (lead < 0x80) return lead;
    if (i + n > s.size() || !WellFormedUtf8(s.substr(i, n))) {
        n = 1;
        return 0xFFFD;
    }
    char32_t c = lead & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const std::size_t n = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    const unsigned char lead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(lead[n] | (c >> (6 * (n - 1))));
    for (std::size_t k = n - 1; k > 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * (k - 1))) & 0x3F));
}

bool NeedsQuotes(std::string_view token) {
    if (token.empty() || token.find_first_of(" \"\\") != std::string_view::npos) return true;
    for (std::size_t i = 0, n = 0; i < token.size(); i += n) {
        if (EscapedInDescription(DecodeAt(token, i, n))) return true;
    }
    return false;
}

std::string Token(std::string_view text) {
    if (!NeedsQuotes(text)) return std::string(text);
    std::string quoted = "\"";
    for (std::size_t i = 0, n = 0; i < text.size(); i += n) {
        const char32_t c = DecodeAt(text, i, n);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (EscapedInDescription(c) || c == 0xFFFD) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\u{%X}", static_cast<unsigned>(c));
            quoted += hex;
        } else {
            quoted.append(text.substr(i, n));
        }
    }
    return quoted + "\"";
}

// The escape \u{HEX} at text[i] (the backslash): its character appended to
// token and i moved to the closing brace; false when it is not one.
bool ReadCodePoint(std::string_view text, std::size_t& i, std::string& token) {
    if (i + 3 >= text.size() || text[i + 1] != 'u' || text[i + 2] != '{') return false;
    char32_t c = 0;
    std::size_t k = i + 3;
    for (; k < text.size() && k - (i + 3) <= 6 && std::isxdigit(static_cast<unsigned char>(text[k])); ++k)
        c = c * 16 + static_cast<char32_t>(text[k] <= '9' ? text[k] - '0' : (text[k] | 0x20) - 'a' + 10);
    const std::size_t digits = k - (i + 3);
    if (digits == 0 || digits > 6 || k >= text.size() || text[k] != '}') return false;
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    AppendUtf8(token, c);
    i = k;
    return true;
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

DescriptionTokens Refused(DescriptionReason reason, std::size_t at = 0, std::string value = {}) {
    DescriptionTokens t;
    t.error.reason = reason;
    t.error.at = at;
    t.error.value = std::move(value);
    return t;
}

// A quoted token from text[i] (the opening quote); i ends past the closing one.
DescriptionTokens QuotedToken(std::string_view text, std::size_t& i, std::string& token) {
    const std::size_t at = i;
    for (++i;; ++i) {
        if (i >= text.size()) return Refused(DescriptionReason::UnclosedQuote, at + 1);
        const char c = text[i];
        if (c == '"') break;
        if (IsControl(c)) return Refused(DescriptionReason::ControlCharacter, i + 1);
        if (c != '\\') {
            token += c;
            continue;
        }
        if (i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
            token += text[++i];
        } else if (!ReadCodePoint(text, i, token)) {
            return Refused(DescriptionReason::BadEscape, i + 1);
        }
    }
    ++i;  // past the closing quote
    return {};
}

}  // namespace

bool EscapedInDescription(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c <= 0xA0)) return true;
    const std::pair<char32_t, char32_t> ranges[] = {
        {0xAD, 0xAD},     {0x34F, 0x34F},   {0x61C, 0x61C},   {0x115F, 0x1160},   {0x1680, 0x1680},   {0x180B, 0x180E},
        {0x2000, 0x200F}, {0x2028, 0x202F}, {0x205F, 0x206F}, {0x3000, 0x3000},   {0x3164, 0x3164},   {0xFE00, 0xFE0F},
        {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFFB}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto& [low, high] : ranges) {
        if (c >= low && c <= high) return true;
    }
    return false;
}

std::string DescriptionErrorText(const DescriptionError& e) {
    const std::string at = std::to_string(e.at);
    switch (e.reason) {
        case DescriptionReason::None: return {};
        case DescriptionReason::NotUtf8: return "not well-formed UTF-8";
        case DescriptionReason::Empty: return "empty";
        case DescriptionReason::UnclosedQuote: return "a quote opened at character " + at + " is not closed";
        case DescriptionReason::BadEscape:
            return "a backslash at character " + at + " escapes neither \" nor \\ nor names a character as \\u{HEX}";
        case DescriptionReason::ControlCharacter: return "a control character at character " + at;
        case DescriptionReason::QuoteInWord:
            return std::string("a ") + (e.value == "\"" ? "quote" : "backslash") + " inside a word at character " + at;
        case DescriptionReason::EmptyWord: return "an empty word at character " + at;
        case DescriptionReason::NoSpaceAfterQuote: return "no space after the quote ending at character " + at;
        case DescriptionReason::SpaceAtEnd: return "a space at the end";
        case DescriptionReason::NotAnOption: return Quoted(e.word) + " is not an option that draws the frame";
        case DescriptionReason::GivenTwice: return Quoted(e.word) + " is given twice";
        case DescriptionReason::NoValue: return e.word + " has no value";
        case DescriptionReason::Missing: return "it does not give " + e.word;
        case DescriptionReason::BadValue: return e.detail;
        case DescriptionReason::Parameter: return e.word + ": " + RefusalText(*e.param);
    }
    return {};
}

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
    if (!WellFormedUtf8(text)) return Refused(DescriptionReason::NotUtf8);
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = i;
        std::string token;
        if (text[i] == '"') {
            if (DescriptionTokens refused = QuotedToken(text, i, token);
                refused.error.reason != DescriptionReason::None)
                return refused;
        } else {
            for (; i < text.size() && text[i] != ' '; ++i) {
                const char c = text[i];
                if (IsControl(c)) return Refused(DescriptionReason::ControlCharacter, i + 1);
                if (c == '"' || c == '\\') return Refused(DescriptionReason::QuoteInWord, i + 1, std::string(1, c));
                token += c;
            }
            if (i == at) return Refused(DescriptionReason::EmptyWord, at + 1);
        }
        tokens.push_back(std::move(token));
        if (i == text.size()) break;
        if (text[i] != ' ') return Refused(DescriptionReason::NoSpaceAfterQuote, i);
        if (++i == text.size()) return Refused(DescriptionReason::SpaceAtEnd);
    }
    if (tokens.empty()) return Refused(DescriptionReason::Empty);
    return {std::move(tokens), {}};
}

DescriptionRead ReadDescription(std::string_view text) {
    const auto malformed = [](DescriptionError e) {
        std::string line = "malformed description: " + DescriptionErrorText(e);
        return DescriptionRead{std::nullopt, false, std::move(line), std::move(e)};
    };
    const auto refused = [&malformed](DescriptionReason reason, std::string word) {
        DescriptionError e;
        e.reason = reason;
        e.word = std::move(word);
        return malformed(std::move(e));
    };
    DescriptionTokens split = SplitDescription(text);
    if (!split.tokens) return malformed(std::move(split.error));
    const std::vector<std::string>& tokens = *split.tokens;
    // First the words alone, then what is missing, then the values.
    std::set<std::string> seen;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const FrameOption* row = FindFrameOption(tokens[i]);
        if (row == nullptr || row->described == Described::No)
            return refused(DescriptionReason::NotAnOption, tokens[i]);
        if (!seen.insert(tokens[i]).second) return refused(DescriptionReason::GivenTwice, tokens[i]);
        if (!row->argument.empty() && ++i >= tokens.size()) return refused(DescriptionReason::NoValue, tokens[i - 1]);
    }
    std::vector<std::string_view> required;
    for (int f = 0; f <= static_cast<int>(ParamField::Y2); ++f)
        required.push_back(ParamRowOf(static_cast<ParamField>(f)).option);
    required.push_back("--origin");
    for (const std::string_view name : required) {
        if (!seen.contains(std::string(name))) return refused(DescriptionReason::Missing, std::string(name));
    }
    Request r;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const FrameOption& row = *FindFrameOption(tokens[i]);
        const std::string value = row.argument.empty() ? std::string() : tokens[++i];
        DescriptionError e;
        if (!row.read(r, value, e.detail)) {
            e.reason = DescriptionReason::BadValue;
            e.word = std::string(row.name);
            e.value = value;
            return malformed(std::move(e));
        }
    }
    if (const std::optional<ParamError> p = CheckParameters(r.params)) {
        DescriptionError e;
        e.reason = DescriptionReason::Parameter;
        e.word = std::string(ParamRowOf(p->field).option);
        e.param = p;
        return malformed(std::move(e));
    }
    return {std::move(r), seen.contains("--size"), {}, {}};
}

}  // namespace orbitograph

#include "view/frame_description.h"

#include <cmath>

#include "model/number_text.h"
#include "view/png_export.h"

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

QString DescribeFrame(const ViewState& v, const ModelParams& p, int originX, int originY, int width, int height) {
    std::string line = DescribeComputation(p, originX, originY).toStdString();
    const auto add = [&line](std::string_view option, const std::string& value) {
        line += " " + std::string(option);
        if (!value.empty()) line += " " + value;
    };
    add("--size", std::to_string(width) + "x" + std::to_string(height));
    const DisplaySwitches& d = v.m_switches;
    const LegendFields& l = v.m_legend;
    if (!d.m_twoModes) add("--single", v.BasinsAlone() ? "basins" : "attractors");
    if (!d.m_showParams) add("--no-params", {});
    if (d.m_showGrid) add("--grid", {});
    if (d.m_showLegend) add("--legend", {});
    if (d.m_aSymmetry) add("--a-symmetry", {});
    if (d.m_fitWindow) add("--fit", {});
    add("--font-size", std::to_string(d.m_fontSize));
    const std::pair<const char*, const QString*> texts[] = {{"--legend-hx", &l.m_nameHx}, {"--legend-hy", &l.m_nameHy},
                                                            {"--legend-t", &l.m_regionT}, {"--legend-o", &l.m_regionO},
                                                            {"--legend-m", &l.m_regionM}, {"--legend-h", &l.m_regionH}};
    for (const auto& [option, text] : texts) {
        if (!text->isEmpty()) add(option, Token(text->toStdString()));
    }
    const std::pair<const char*, double> bounds[] = {{"--legend-max-hx", l.m_maxHx},
                                                     {"--legend-min-hx", l.m_minHx},
                                                     {"--legend-max-hy", l.m_maxHy},
                                                     {"--legend-min-hy", l.m_minHy}};
    for (const auto& [option, value] : bounds) {
        // -0 differs from 0 in the text the legend shows.
        if (value != 0.0 || std::signbit(value)) add(option, FormatShortest(value));
    }
    return QString::fromStdString(line);
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

}  // namespace orbitograph

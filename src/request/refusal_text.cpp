#include "request/refusal_text.h"

#include <cstdint>

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

std::string AnalysisRefusalText(AnalysisRefusal r) {
    switch (r) {
        case AnalysisRefusal::DeltaNotValid: return "the merge distance must be a number from 0 to inf";
        case AnalysisRefusal::TooManyPoints:
            return "too fine for the analysis: the grid has more than " + FormatInt(kMaxAnalysisStartPoints) +
                   " start points (each takes 16 bytes more); increase the step or reduce the rectangle";
        case AnalysisRefusal::TooManyIterations:
            return "too many iterations for the analysis: its step numbers are 32-bit; take at most " +
                   FormatInt(std::int64_t{INT32_MAX} - 1);
    }
    return {};
}

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

std::string FileNameRefusal(std::string_view name) {
    if (name.empty()) return "expected a file name";
    if (name == "-") return "standard input and output are not supported; name a file ('./-' for one called -)";
    return {};
}

}  // namespace orbitograph

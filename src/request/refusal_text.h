#pragma once

#include <string>
#include <string_view>

#include "model/grid_analysis.h"
#include "model/model_params.h"

namespace orbitograph {

// Why a parameter was refused, in English, to follow its name
// ("must be a finite number").
std::string RefusalText(const ParamError& e);

// Why an analysis was refused, in English, to follow the name of the option
// that asked for it.
std::string AnalysisRefusalText(AnalysisRefusal r);

// A value as refusals echo it: in single quotes, printable UTF-8 kept,
// a quote or backslash preceded by a backslash, and every other byte (control
// characters, a byte that is not well-formed UTF-8) written as \xNN, so no
// value can reach the terminal as an escape sequence.
std::string Quoted(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (no overlong form, no
// surrogate, nothing above U+10FFFF).
bool WellFormedUtf8(std::string_view s);

// Why a file name given as a value is refused ("expected a file name",
// or "-", which would mean a standard stream); empty when it is not.
std::string FileNameRefusal(std::string_view name);

}  // namespace orbitograph

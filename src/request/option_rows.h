#pragma once

// The makers of the option table's rows that are not the display's own:
// shared by request/frame_options.cpp and made in request/option_rows.cpp.

#include <functional>
#include <string>
#include <string_view>

#include "request/frame_options.h"
#include "request/param_table.h"

namespace orbitograph {

// A row without its functions; the keyword is the name's.
FrameOption OptionRow(std::string_view name, std::string_view argument, std::string help, OptionSection section,
                      Described described, ValueKind kind);

// Sets error to "NAME: why" and returns false.
bool Refuse(std::string& error, std::string_view name, const std::string& why);

// A number read as the parameters dialog reads its fields (a prefix beyond
// the double range reads as an infinity); from Python any finite number.
FrameOption RealOption(std::string_view name, std::string help, OptionSection section, Described described,
                       std::function<void(Request&, double)> put);

// The row of a model parameter (not for Python: the module takes the
// parameters through kParamTable).
FrameOption ParamOption(const ParamRow& param);

// --size WxH and --origin X,Y; from Python a pair of integers.
FrameOption SizeOption();
FrameOption OriginOption();

// --probe X0,Y0: two finite numbers, written in their shortest exact form;
// from Python a pair of numbers.
FrameOption ProbeOption();

}  // namespace orbitograph

#pragma once

// The options that set a request: one row each, from which the command's
// parser and usage text, the picture's description (written and read back)
// and the Python module's keywords are made. A new display option is a
// member of DisplayRequest and one more row of the table
// (request/frame_options.cpp), made by the helper of its kind: a switch, a
// choice of named values (such as a colouring of the basins), a number, a
// text; a value of a new kind (a start point X0,Y0 of a probed orbit) needs
// a helper and, for Python, a ValueKind.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "request/request.h"

namespace orbitograph {

// Where an option stands in the usage text.
enum class OptionSection { Model, Picture, Output };

// Where a picture's description writes an option.
enum class Described {
    No,           // never: it does not change the frame (the legend picture's file)
    Computation,  // always and first: the parameters, then the origin (DescribeComputation)
    Display,      // when not at its default, after the computation, in table order
    Bound,        // the same, after every Display row (the legend's bounds)
};

// What a keyword argument of the Python module gives an option.
enum class ValueKind { Flag, Integer, Real, Text, IntegerPair, RealPair };
using OptionValue =
    std::variant<bool, std::int64_t, double, std::string, std::array<std::int64_t, 2>, std::array<double, 2>>;

struct FrameOption {
    std::string_view name;      // "--grid"
    std::string_view argument;  // the usage text's placeholder ("WxH"); empty for a flag
    std::string help;           // the usage text's line
    OptionSection section;
    Described described;
    ValueKind kind;
    std::optional<ParamField> param;  // set for the eleven model parameters
    std::string keyword;              // Python's: a parameter's from kParamTable, else the name
                                      // without "--" with '_' for '-'
    // Takes the value as text (empty for a flag): true, or false with error
    // set to one line naming the option ("--size: expected WxH ...").
    std::function<bool(Request&, const std::string& text, std::string& error)> read;
    // Takes a value of the row's kind (a flag's state: true on, false off),
    // with the same refusals. Null for the model's parameters, which the
    // Python module takes through kParamTable.
    std::function<bool(Request&, const OptionValue& value, std::string& error)> set;
    // For a Display or Bound row: the value as a description writes it
    // (empty for a flag that is on), unset when the option is left out.
    // DescribeComputation writes the Computation rows.
    std::function<std::optional<std::string>(const Request&)> write;
};

// Every option, in the order of the usage text: the parameters and the
// origin (OptionSection::Model), then the picture's (OptionSection::Picture).
const std::vector<FrameOption>& FrameOptions();

// The row of that exact name, or null.
const FrameOption* FindFrameOption(std::string_view name);

}  // namespace orbitograph

#pragma once

// The one list of the eleven model parameters: how every front end names,
// shows, writes and reads each of them. The command's options and usage
// text, the description saved pictures carry, the exported data, the Python
// module's keywords and the parameters dialog's labels are all made from it;
// its defaults are checked against ModelParams{} when it is compiled.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "model/model_params.h"

namespace orbitograph {

enum class ParamKind {
    Real,       // a finite double
    Direction,  // 0 inward, 1 outward: "inward"/"outward" as text, a bool in Python
    Count,      // a 32-bit integer
};

struct ParamRow {
    ParamField field;
    ParamKind kind;
    std::string_view name;               // in exported data: "dc_direction"
    std::string_view option;             // on the command line: "--dc-direction", the name with '-' for '_'
    std::string_view keyword;            // in Python: "dc_outward"
    std::string_view argument;           // the usage text's placeholder: "inward|outward"
    std::string_view help;               // the usage text, ahead of the default in brackets
    std::string_view label;              // the parameters dialog's static text, UTF-8
    double ModelParams::*real;           // the member of a Real; else null
    std::int32_t ModelParams::*integer;  // the member of a Direction or Count; else null
    double defaultValue;                 // as ModelParams{} holds it
    double lowest;                       // the values a field may take on its own, both
    double highest;                      // included (the grid's size is checked as a whole)
};

inline constexpr double kLargestReal = std::numeric_limits<double>::max();

// In the order of the usage text and of the Python functions' keywords.
inline constexpr ParamRow kParamTable[] = {
    {ParamField::A, ParamKind::Real, "a", "--a", "a", "V", "coefficient A",
     "Введите значение параметра А:", &ModelParams::a, nullptr, 0.8, -kLargestReal, kLargestReal},
    {ParamField::Dc, ParamKind::Real, "dc", "--dc", "dc", "V", "magnitude Dc", "Dc=", &ModelParams::dc, nullptr, 0.5,
     -kLargestReal, kLargestReal},
    {ParamField::Kc, ParamKind::Real, "kc", "--kc", "kc", "V", "magnitude Kc", "Kc=", &ModelParams::kc, nullptr, 0.8,
     -kLargestReal, kLargestReal},
    {ParamField::DcOutward, ParamKind::Direction, "dc_direction", "--dc-direction", "dc_outward", "inward|outward",
     "direction of Dc", "Направление воздействия Dc:", nullptr, &ModelParams::dcOutward, 1, 0, 1},
    {ParamField::KcOutward, ParamKind::Direction, "kc_direction", "--kc-direction", "kc_outward", "inward|outward",
     "direction of Kc", "Направление воздействия Kc:", nullptr, &ModelParams::kcOutward, 0, 0, 1},
    {ParamField::Iterations, ParamKind::Count, "iterations", "--iterations", "iterations", "N",
     "iterations per orbit, N + 1 steps", "Число итераций:", nullptr, &ModelParams::iterations, 10,
     std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
    {ParamField::Step, ParamKind::Real, "step", "--step", "step", "V", "grid step h", "Шаг:", &ModelParams::step,
     nullptr, 0.01, kMinStep, kLargestReal},
    {ParamField::X1, ParamKind::Real, "x1", "--x1", "x1", "V", "left edge of the start rectangle, in [-2, 2]",
     "Х1=", &ModelParams::x1, nullptr, -2.0, -kEdgeLimit, kEdgeLimit},
    {ParamField::X2, ParamKind::Real, "x2", "--x2", "x2", "V", "right edge", "Х2=", &ModelParams::x2, nullptr, 2.0,
     -kEdgeLimit, kEdgeLimit},
    {ParamField::Y1, ParamKind::Real, "y1", "--y1", "y1", "V", "lower edge", "Y1=", &ModelParams::y1, nullptr, -2.0,
     -kEdgeLimit, kEdgeLimit},
    {ParamField::Y2, ParamKind::Real, "y2", "--y2", "y2", "V", "upper edge", "Y2=", &ModelParams::y2, nullptr, 2.0,
     -kEdgeLimit, kEdgeLimit},
};

constexpr const ParamRow& ParamRowOf(ParamField f) {
    for (const ParamRow& row : kParamTable) {
        if (row.field == f) return row;
    }
    return kParamTable[0];  // unreachable: every field has a row (checked below)
}

// The parameters in the order a picture's description and the exported data
// write them.
inline constexpr ParamField kWrittenParamOrder[] = {ParamField::A,    ParamField::Dc,        ParamField::DcOutward,
                                                    ParamField::Kc,   ParamField::KcOutward, ParamField::Iterations,
                                                    ParamField::Step, ParamField::X1,        ParamField::X2,
                                                    ParamField::Y1,   ParamField::Y2};

constexpr double ParamValue(const ModelParams& p, const ParamRow& row) {
    return row.real != nullptr ? p.*row.real : p.*row.integer;
}

// One parameter's value as the command line reads it back exactly: a real
// as its shortest round-trip decimal with a point (whatever the locale), the
// iteration count in decimal, a direction as "inward" (0) or "outward".
std::string ParamValueText(const ModelParams& p, ParamField f);

namespace param_table_checks {

constexpr bool EveryFieldOnce() {
    for (int f = 0; f <= static_cast<int>(ParamField::Y2); ++f) {
        int rows = 0;
        for (const ParamRow& row : kParamTable) rows += row.field == static_cast<ParamField>(f) ? 1 : 0;
        if (rows != 1) return false;
    }
    return std::size(kParamTable) == std::size(kWrittenParamOrder);
}

constexpr bool DefaultsAreTheModels() {
    for (const ParamRow& row : kParamTable) {
        if (ParamValue(ModelParams{}, row) != row.defaultValue) return false;
        if (row.defaultValue < row.lowest || row.defaultValue > row.highest) return false;
    }
    return true;
}

constexpr bool MembersMatchKinds() {
    for (const ParamRow& row : kParamTable) {
        if ((row.kind == ParamKind::Real) != (row.real != nullptr && row.integer == nullptr)) return false;
    }
    return true;
}

// "--" and the name with '-' for '_'.
constexpr bool OptionsAreTheNames() {
    for (const ParamRow& row : kParamTable) {
        if (row.option.size() != row.name.size() + 2 || !row.option.starts_with("--")) return false;
        for (std::size_t i = 0; i < row.name.size(); ++i) {
            if (row.option[i + 2] != (row.name[i] == '_' ? '-' : row.name[i])) return false;
        }
    }
    return true;
}

}  // namespace param_table_checks

static_assert(param_table_checks::EveryFieldOnce());
static_assert(param_table_checks::DefaultsAreTheModels());
static_assert(param_table_checks::MembersMatchKinds());
static_assert(param_table_checks::OptionsAreTheNames());

}  // namespace orbitograph

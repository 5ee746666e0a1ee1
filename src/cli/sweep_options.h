#pragma once

// The command's options for sweeps of one parameter and planes of two, and
// the text of their results.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/continuation.h"
#include "model/sweep.h"

namespace orbitograph {

struct RenderOptions;

// PARAM=FROM:TO:COUNT.
struct SweepAxis {
    SweepParam param = SweepParam::A;
    double from = 0.0;
    double to = 0.0;
    std::int32_t count = 1;
    std::vector<double> Values() const { return SweepValues(from, to, count, param); }
};

// Most pairs of a plane.
inline constexpr std::int64_t kMaxPlanePairs = 1'000'000;
// Largest cell of the plane picture, pixels.
inline constexpr std::int32_t kMaxPlaneScale = 64;

struct SweepOptions {
    std::optional<SweepAxis> sweep;
    std::optional<SweepAxis> plane1;
    std::optional<SweepAxis> plane2;
    bool csv = false;
    std::string plot;  // the chart, PNG; empty: none
    std::int32_t planeScale = 1;
    bool continueTracks = false;  // --continue: the attractors' tracks instead of the counts
    double tolerance = kDefaultContinueTolerance;
    bool toleranceGiven = false;
    bool Active() const { return sweep.has_value() || plane1.has_value(); }
};

// Takes the value of --sweep, --plane, --plane-scale, --format, --plot,
// --continue or --continue-tolerance;
// on a refusal returns false with one line naming the option.
bool ApplySweepOption(SweepOptions& s, std::string_view name, const std::string& value, std::string& error);

// The checks that need every option: the combinations, every value of the
// axes (each must make parameters that the computation accepts) and the
// frame pattern. Empty when all is well, otherwise one line.
std::string CheckSweepOptions(const RenderOptions& o);

// A printf-style file name pattern with exactly one integer conversion:
// '%', flags from "-+ 0", a width up to 20, then 'd' or 'i'; any other '%'
// (a "%%" too) refuses it. The pattern is only ever read by FrameName,
// never handed to printf.
bool FramePatternValid(std::string_view pattern);
std::string FrameName(std::string_view pattern, std::int64_t number);

// The value as the output shows it: the shortest text that reads back to
// the same double; an iteration count as an integer.
std::string SweepValueText(SweepParam p, double v);

// One result line: the parameter names with their values first, then the
// counts in the order of the --counts line; JSON or CSV (with its header).
std::string SweepJsonLine(const std::vector<SweepParam>& params, const std::vector<double>& values,
                          const ListCounts& c);
std::string SweepCsvHeader(const std::vector<SweepParam>& params);
std::string SweepCsvLine(const std::vector<SweepParam>& params, const std::vector<double>& values, const ListCounts& c);

}  // namespace orbitograph

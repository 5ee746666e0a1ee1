#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/model_params.h"

namespace orbitograph {

// Everything the headless command can be told.
struct RenderOptions {
    ModelParams params;
    std::int32_t originX = 500;
    std::int32_t originY = 350;
    bool originGiven = false;
    bool counts = false;
    bool report = false;
    bool help = false;
};

struct OptionsResult {
    std::optional<RenderOptions> options;
    std::string error;  // one line, set when options is empty
};

// Parses argv[1..]; parameters are read as the parameters dialog reads its
// fields and then checked with CheckParameters.
OptionsResult ParseRenderOptions(const std::vector<std::string>& args);

std::string RenderUsage();

// The --counts line: one JSON object with fixed keys in fixed order.
std::string CountsJson(std::int64_t startPoints, std::int64_t attractors, std::int64_t infinity,
                       std::int64_t zero, std::int64_t t, std::int64_t o, std::int64_t m, std::int64_t h);

}  // namespace orbitograph

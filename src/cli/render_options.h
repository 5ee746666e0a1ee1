#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/sweep_options.h"
#include "request/metrics_request.h"
#include "request/request.h"

namespace orbitograph {

// Everything the headless command can be told: the request (what to
// compute and how to draw it) and what the command does with it.
struct RenderOptions {
    Request request;
    bool counts = false;
    bool report = false;
    bool analysis = false;  // --analysis: print the attractor catalogue (cli/analysis_output.h)
    bool help = false;
    std::int32_t threads = 0;  // worker threads; 0: every core
    std::string output;        // empty: no picture is written
    std::string exportFile;    // .npz or .csv; empty: nothing exported
    std::string from;          // a picture whose description comes ahead of the options
    bool allowLarge = false;   // --from computes beyond WithinQuietBounds

    // --orbit X0,Y0: print that start point's orbit as CSV instead.
    bool orbit = false;
    double orbitX0 = 0.0;
    double orbitY0 = 0.0;
    std::int32_t orbitLimit = -1;  // most orbit rows printed; -1: all
    SweepOptions sweeps;           // --sweep, --plane and their outputs
    MetricsRequest metrics;        // --metrics and its settings
    bool metricsTuned = false;     // a setting of the metrics was given
};

struct OptionsResult {
    std::optional<RenderOptions> options;
    std::string error;  // one line, set when options is empty
};

// Parses argv[1..] over `start`; parameters are read as the parameters
// dialog reads its fields and then checked with CheckParameters.
OptionsResult ParseRenderOptions(const std::vector<std::string>& args, RenderOptions start = {});

std::string RenderUsage();

}  // namespace orbitograph

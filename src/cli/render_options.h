#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/sweep_options.h"
#include "model/model_params.h"

namespace orbitograph {

// Which point panels the picture shows.
enum class PanelChoice { Both, Attractors, Basins };

// The legend's names and bounds as given on the command line (UTF-8).
struct LegendOptions {
    std::string nameHx;
    std::string nameHy;
    double maxHx = 0.0;
    double minHx = 0.0;
    double maxHy = 0.0;
    double minHy = 0.0;
    std::string regionT;
    std::string regionO;
    std::string regionM;
    std::string regionH;
};

// Largest client width or height the command draws, pixels.
inline constexpr std::int32_t kMaxCanvasSide = 16384;

// Most worker threads the command accepts.
inline constexpr std::int32_t kMaxThreads = 1024;

// Everything the headless command can be told.
struct RenderOptions {
    ModelParams params;
    // The model origin: the centre of the client area unless given.
    std::int32_t originX = 500;
    std::int32_t originY = 350;
    bool originGiven = false;
    bool counts = false;
    bool report = false;
    bool help = false;
    std::int32_t threads = 0;  // worker threads; 0: every core

    // The picture: client size and display switches, as the main window
    // would have them.
    std::int32_t width = 1000;
    std::int32_t height = 700;
    PanelChoice panels = PanelChoice::Both;
    bool noParams = false;
    bool grid = false;
    bool legend = false;
    bool aSymmetry = false;
    bool fit = false;  // the display that fits the window
    std::int32_t fontSize = 13;
    LegendOptions legendFields;
    std::string legendPicture;  // empty: the picture installed with the program
    std::string output;         // empty: no picture is written
    std::string exportFile;     // .npz or .csv; empty: nothing exported
    std::string from;           // a picture whose description comes ahead of the options

    // --orbit X0,Y0: print that start point's orbit as CSV instead.
    bool orbit = false;
    double orbitX0 = 0.0;
    double orbitY0 = 0.0;
    std::int32_t orbitLimit = -1;  // most orbit rows printed; -1: all
    SweepOptions sweeps;           // --sweep, --plane and their outputs
};

struct OptionsResult {
    std::optional<RenderOptions> options;
    std::string error;  // one line, set when options is empty
};

// Parses argv[1..]; parameters are read as the parameters dialog reads its
// fields and then checked with CheckParameters.
OptionsResult ParseRenderOptions(const std::vector<std::string>& args);

std::string RenderUsage();

// Why a parameter was refused, in English, to follow its name
// ("must be a finite number").
std::string RefusalText(const ParamError& e);

// A value as refusals echo it: in single quotes, printable UTF-8 kept,
// a quote or backslash preceded by a backslash, and every other byte (control
// characters, a byte that is not well-formed UTF-8) written as \xNN, so no
// value can reach the terminal as an escape sequence.
std::string Quoted(std::string_view bytes);

// The --counts line: one JSON object with fixed keys in fixed order.
std::string CountsJson(std::int64_t startPoints, std::int64_t attractors, std::int64_t infinity, std::int64_t zero,
                       std::int64_t t, std::int64_t o, std::int64_t m, std::int64_t h);

}  // namespace orbitograph

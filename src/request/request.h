#pragma once

// A request: what to compute and how to draw it, as the window, the
// headless command and the Python module each fill it (from their state,
// from argv, from keyword arguments). Plain data without Qt; texts are
// UTF-8. Every option that sets a part of it is a row of the option table
// (request/frame_options.h), which also reads it from and writes it to a
// picture's description (request/description.h).

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/grid_analysis.h"
#include "model/model_params.h"

namespace orbitograph {

// Largest client width or height drawn, pixels.
inline constexpr std::int32_t kMaxCanvasSide = 16384;

// Most worker threads a front end accepts.
inline constexpr std::int32_t kMaxThreads = 1024;

// Which point panels the picture shows.
enum class PanelChoice { Both, Attractors, Basins };

// What colours the basin panel: the kind of each orbit's end (the classic
// picture), or a value of its analysis (model/grid_analysis.h): the number
// of its attractor, its exit step, its period.
enum class BasinColouring { Kinds, Attractor, ExitStep, Period };

// A pixel position in the client area.
struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The legend's names and bounds.
struct LegendTexts {
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
    friend bool operator==(const LegendTexts&, const LegendTexts&) = default;
};

// How the picture is drawn, with the main window's defaults at start-up.
// New displays and overlays (a colouring of the basins, a probed orbit)
// join here, each with its row in the option table.
struct DisplayRequest {
    PanelChoice panels = PanelChoice::Both;
    bool parameterText = true;
    bool grid = false;
    bool legend = false;
    bool aSymmetry = false;
    bool fit = false;  // the display that fits the window, not one pixel per grid point
    std::int32_t fontSize = 13;
    LegendTexts legendTexts;
    std::string legendPicture;  // a file; empty: the picture installed with the program
    BasinColouring colourBy = BasinColouring::Kinds;
    // The start point (x0, y0) of an orbit drawn over the attractor panel;
    // unset: none. Finite.
    std::optional<std::array<double, 2>> probe;
    friend bool operator==(const DisplayRequest&, const DisplayRequest&) = default;
};

struct Request {
    ModelParams params;
    // The client area, pixels.
    std::int32_t width = 1000;
    std::int32_t height = 700;
    // The model origin; unset: the centre of the client area.
    std::optional<PixelPoint> origin;
    DisplayRequest display;
    // Attractor cycles this close make one attractor (grid_analysis.h): for
    // an analysis and a colouring by attractor.
    double attractorDelta = kDefaultAttractorDelta;

    PixelPoint Origin() const { return origin.value_or(PixelPoint{width / 2, height / 2}); }
    friend bool operator==(const Request&, const Request&) = default;
};

}  // namespace orbitograph

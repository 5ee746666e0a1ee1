#pragma once

#include <QImage>
#include <string>
#include <utility>
#include <vector>

#include "python/grid_data.h"
#include "request/frame_options.h"
#include "request/request.h"

namespace orbitograph::python {

// The keywords of render(): every option of the request but the model's
// parameters, which come from the computed grid, as (keyword, kind) with
// the kind "flag", "integer", "real", "text" or "pair".
std::vector<std::pair<std::string, std::string>> DisplayOptions();

// The row of a display keyword, or null.
const FrameOption* DisplayOption(const std::string& keyword);

// The colour of each basin kind in the picture, by label code, 0xAARRGGBB.
std::vector<std::pair<int, std::uint32_t>> BasinColours();

struct DisplayValue {
    const FrameOption* row;
    OptionValue value;
};

// The request for the grid's parameters with these display values set in
// order. Throws std::invalid_argument with the option's refusal.
Request RequestFor(const GridData& grid, const std::vector<DisplayValue>& values);

// True when the grid's lists were computed for the request's origin;
// otherwise the grid must be computed again for it before drawing.
bool ListsFitOrigin(const GridData& grid, const Request& r);

// The frame the headless command draws for the request from the grid's
// lists, as Format_RGBA8888. The legend picture is the named one or, as for
// the command, bitmap3.bmp from the current folder, from moduleDir or from
// the installed data. Throws std::invalid_argument when a named legend
// picture cannot be read and std::bad_alloc when the canvas cannot be made.
// Needs a QGuiApplication.
QImage DrawGridFrame(GridData& grid, const Request& r, const std::string& moduleDir);

}  // namespace orbitograph::python

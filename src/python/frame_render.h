#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "cli/render_options.h"
#include "python/grid_data.h"

namespace orbitograph::python {

// The options of the headless command that draw the picture (its Picture
// section, --size aside), as (name without "--", takes a value).
std::vector<std::pair<std::string, bool>> PictureOptions();

// The colour of each basin kind in the picture, by label code, 0xAARRGGBB.
std::vector<std::pair<int, std::uint32_t>> BasinColours();

// The headless command's options for these command-line words ("--size=WxH",
// "--grid", ...) with the grid's parameters. Throws std::invalid_argument
// with the command's message for refused options.
RenderOptions ParsePictureOptions(const GridData& grid, const std::vector<std::string>& args);

// True when the grid's lists were computed for the options' origin (given,
// or the centre of the size); otherwise the grid must be computed again for
// it before drawing.
bool ListsFitOrigin(const GridData& grid, const RenderOptions& o);

// The frame the headless command draws for these options from the grid's
// lists, as Format_RGBA8888. The legend picture is the named one or, as for
// the command, bitmap3.bmp from the current folder, from moduleDir or from
// the installed data. Throws std::invalid_argument when a named legend
// picture cannot be read and std::bad_alloc when the canvas cannot be made.
// Needs a QGuiApplication.
QImage DrawFrame(GridData& grid, const RenderOptions& o, const std::string& moduleDir);

}  // namespace orbitograph::python

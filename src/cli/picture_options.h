#pragma once

#include <string>
#include <vector>

#include "cli/render_options.h"

namespace orbitograph {

// The options for --from: the request a picture's description names (with
// the picture's own dimensions when it names no --size, as older pictures'
// do), then args over it, so that every option given overrides the
// picture's. Refusals name the file and what is wrong; a request beyond
// WithinQuietBounds is refused with its cost unless --allow-large is given.
OptionsResult OptionsFromPicture(const std::string& file, const std::vector<std::string>& args);

}  // namespace orbitograph

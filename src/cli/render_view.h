#pragma once

#include "cli/render_options.h"
#include "view/view_state.h"

namespace orbitograph {

// The main window's view state for these options: parameters, display
// switches, legend fields and the origin the lists were computed with.
ViewState ViewFor(const RenderOptions& o);

}  // namespace orbitograph

#pragma once

#include "cli/interrupt_handler.h"
#include "cli/render_options.h"

namespace orbitograph {

// The command for options that ask for neither --help nor --orbit: one
// model computed, its counts and report printed, its grid exported and its
// frame drawn as the options say; or a sweep or a plane. Draws on Qt's
// offscreen platform, which it starts itself. Returns the exit status,
// having reported any failure on one line.
int RunRenderCommand(const RenderOptions& o, InterruptHandler& interrupt);

}  // namespace orbitograph

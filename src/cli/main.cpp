// orbitograph-render: the headless command.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_status.h"
#include "cli/interrupt_handler.h"
#include "cli/orbit_command.h"
#include "cli/picture_options.h"
#include "cli/render_command.h"
#include "cli/render_options.h"
#include "request/offscreen_gui.h"

using namespace orbitograph;

namespace {

// The options of the command line, ahead of them those of the picture
// --from names.
OptionsResult ParseCommandLine(const std::vector<std::string>& args) {
    OptionsResult parsed = ParseRenderOptions(args);
    if (parsed.options && !parsed.options->from.empty() && !parsed.options->help)
        return OptionsFromPicture(parsed.options->from, args);
    return parsed;
}

}  // namespace

int main(int argc, char** argv) {
    QuietQtNotices(kProgram);
    InterruptHandler interrupt(InterruptedLine("nothing written"));
    const OptionsResult parsed = ParseCommandLine({argv + 1, argv + argc});
    if (!parsed.options) {
        Complain(parsed.error);
        return kRefused;
    }
    const RenderOptions& o = *parsed.options;
    if (o.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return StdoutWritten() ? 0 : kFailed;
    }
    if (o.orbit) return RunOrbitCommand(o, interrupt);
    return RunRenderCommand(o, interrupt);
}

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/render_options.h"
#include "request/frame_options.h"

namespace orbitograph {

// One option of orbitograph-render: the parser, the usage text (and through
// it the manual page) are made from the table of these.
struct CommandOption {
    std::string_view name;      // "--a", "-o"
    std::string_view argument;  // "V", "FILE"; empty for a flag
    std::string help;           // one line of the usage text
    OptionSection section;
    // Takes the value (empty for a flag) into the options; on a refusal it
    // returns false with error set to one line naming the option.
    std::function<bool(RenderOptions& o, std::string_view name, const std::string& value, std::string& error)> apply;
};

// Every option, in the order of the usage text: the request's
// (request/frame_options.h) with the command's own among them.
const std::vector<CommandOption>& OptionTable();

}  // namespace orbitograph

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/render_options.h"
#include "cli/render_view.h"

namespace orbitograph {

// The description a picture saved by this program carries (its text chunk
// of key kPngTextKey), read from the file with exactly these name bytes;
// only a regular file is read. width and height are the picture's. On
// failure returns false with why set to one line naming what is wrong.
struct PictureDescription {
    std::string text;  // UTF-8
    int width = 0;
    int height = 0;
};
bool ReadPictureDescription(const std::string& file, PictureDescription& out, std::string& why);

// The options a description names, checked strictly: its tokens (see
// SplitDescription) must be options that draw a frame (the model's
// parameters, --origin, --size and the picture's switches, texts and
// bounds), each at most once, with every model parameter and --origin
// present, and values the command accepts. Nothing else is read from it.
// The tokens are returned for the caller to put ahead of its own options.
struct DescriptionOptions {
    std::vector<std::string> tokens;
    bool sizeGiven = false;
    std::string error;  // one line, set when the description is refused
};
DescriptionOptions CheckDescription(std::string_view text);

// The command line for --from: the picture's description (with --size of
// the picture's own dimensions ahead of it when it names none, as older
// pictures do), then args, so that every option given overrides the
// picture's. Refusals name the file and what is wrong.
OptionsResult OptionsFromPicture(const std::string& file, const std::vector<std::string>& args);

}  // namespace orbitograph

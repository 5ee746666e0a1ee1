#include "cli/picture_options.h"

#include "request/description.h"
#include "request/frame_options.h"
#include "request/picture_file.h"
#include "request/refusal_text.h"

namespace orbitograph {

OptionsResult OptionsFromPicture(const std::string& file, const std::vector<std::string>& args) {
    PictureDescription picture;
    std::string why;
    if (!ReadPictureDescription(file, picture, why)) return {std::nullopt, "--from: " + Quoted(file) + ": " + why};
    const DescriptionRead read = ReadDescription(picture.text);
    if (!read.request) return {std::nullopt, "--from: " + Quoted(file) + ": " + read.error};
    RenderOptions start;
    start.request = *read.request;
    const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    if (!read.sizeGiven && !FindFrameOption("--size")->read(start.request, size, why)) return {std::nullopt, why};
    return ParseRenderOptions(args, std::move(start));
}

}  // namespace orbitograph

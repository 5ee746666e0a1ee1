#include "cli/picture_options.h"

#include "model/number_text.h"
#include "request/description.h"
#include "request/frame_options.h"
#include "request/picture_file.h"
#include "request/refusal_text.h"
#include "request/request_cost.h"

namespace orbitograph {

OptionsResult OptionsFromPicture(const std::string& file, const std::vector<std::string>& args) {
    const PictureDescription picture = ReadPictureDescription(file);
    if (picture.reason != PictureReason::None)
        return {std::nullopt,
                "--from: " + Quoted(file) + ": " + PictureReasonText(picture.reason, picture.systemError)};
    std::string why;
    const DescriptionRead read = ReadDescription(picture.text);
    if (!read.request) return {std::nullopt, "--from: " + Quoted(file) + ": " + read.error};
    RenderOptions start;
    start.request = *read.request;
    const std::string size = std::to_string(picture.width) + "x" + std::to_string(picture.height);
    if (!read.sizeGiven && !FindFrameOption("--size")->read(start.request, size, why)) return {std::nullopt, why};
    OptionsResult parsed = ParseRenderOptions(args, std::move(start));
    if (parsed.options && !parsed.options->allowLarge) {
        const RequestCost cost = CostOf(parsed.options->request);
        if (!WithinQuietBounds(cost))
            return {std::nullopt, "--from: " + Quoted(file) + ": the picture asks for " +
                                      CostText(cost, parsed.options->request) + ", beyond " +
                                      FormatGeneral(kMaxQuietMapSteps, 3) + " map steps or " +
                                      FormatInt(kMaxQuietCanvasPixels) + " pixels; --allow-large computes it"};
    }
    return parsed;
}

}  // namespace orbitograph

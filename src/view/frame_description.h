#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_params.h"
#include "view/view_state.h"

namespace orbitograph {

// Everything that draws a frame, as the options of orbitograph-render on
// one line: the computation (see DescribeComputation), then --size, the
// display switches that are on (--single for one panel, --no-params, --grid,
// --legend, --a-symmetry, --fit), --font-size, and the legend's texts and
// bounds that differ from their empty or zero defaults. Tokens are separated
// by one space; a token that is empty or holds a space, a double quote or a
// backslash is written in double quotes, with \" and \\ inside. Control
// characters in the legend's texts are dropped: the line must stay one line.
QString DescribeFrame(const ViewState& view, const ModelParams& p, int originX, int originY, int width, int height);

struct DescriptionTokens {
    std::optional<std::vector<std::string>> tokens;
    std::string error;  // one line, set when tokens is empty
};

// Splits a description written as above back into its tokens, strictly:
// exactly one space between tokens and none at either end, quotes only
// around a whole token and closed, only \" and \\ as escapes, no control
// characters, UTF-8 that is well formed. Nothing is interpreted beyond that.
DescriptionTokens SplitDescription(std::string_view text);

}  // namespace orbitograph

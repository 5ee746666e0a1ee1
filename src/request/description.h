#pragma once

// The description a saved picture carries: its request as the options of
// orbitograph-render on one line, which the command's --from and the
// window's "Открыть параметры из рисунка..." read back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_params.h"
#include "request/request.h"

namespace orbitograph {

// The computation: every parameter (in kWrittenParamOrder) and the origin,
// the options that compute the same lists.
std::string DescribeComputation(const ModelParams& p, int originX, int originY);

// The whole request: the computation, then the options of every row that is
// Described::Display and not at its default, in table order (--size and
// --font-size always), then those that are Described::Bound. Tokens are
// separated by one space; a value that is empty or holds a space, a double
// quote or a backslash is written in double quotes, with \" and \\ inside.
// Control characters in texts are dropped: the line must stay one line.
std::string DescribeRequest(const Request& r);

struct DescriptionTokens {
    std::optional<std::vector<std::string>> tokens;
    std::string error;  // one line, set when tokens is empty
};

// Splits a description written as above back into its tokens, strictly:
// exactly one space between tokens and none at either end, quotes only
// around a whole token and closed, only \" and \\ as escapes, no control
// characters, UTF-8 that is well formed. Nothing is interpreted beyond that.
DescriptionTokens SplitDescription(std::string_view text);

struct DescriptionRead {
    std::optional<Request> request;
    bool sizeGiven = false;  // older pictures' descriptions have no --size
    std::string error;       // one line beginning "malformed description: ", set when request is empty
};

// The request a description names, read strictly: its tokens must be
// options that a description writes, each at most once, with every model
// parameter and --origin present, and values the command accepts; the
// parameters must pass CheckParameters. Whatever it does not give keeps the
// default of Request{}.
DescriptionRead ReadDescription(std::string_view text);

}  // namespace orbitograph

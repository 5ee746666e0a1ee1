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
// separated by one space. A value that is empty or holds a space, a double
// quote, a backslash or a character EscapedInDescription names is written
// in double quotes, with \" and \\ inside and every such character as
// \u{HEX} (its code point in hexadecimal): the line stays one line of
// visible characters and plain spaces, and every text comes back whole,
// whatever a tool that shows or copies the line does to white space.
std::string DescribeRequest(const Request& r);

// The characters a description writes as \u{HEX}: controls (C0, DEL, C1),
// every space but U+0020 (no-break, ideographic, thin, ...), line and
// paragraph separators, and invisible formatting characters.
bool EscapedInDescription(char32_t c);

// Why a description was refused; `at` (1-based, in bytes) and `word` say
// where and what.
enum class DescriptionReason {
    None,
    // The line itself (at):
    NotUtf8,
    Empty,
    UnclosedQuote,
    BadEscape,
    ControlCharacter,
    QuoteInWord,
    EmptyWord,
    NoSpaceAfterQuote,
    SpaceAtEnd,
    // Its words (word):
    NotAnOption,
    GivenTwice,
    NoValue,
    Missing,
    BadValue,   // value: what was given; detail: the option's own refusal, in English
    Parameter,  // param: what the parameters' check refused
};

struct DescriptionError {
    DescriptionReason reason = DescriptionReason::None;
    std::size_t at = 0;
    std::string word;
    std::string value;
    std::string detail;
    std::optional<ParamError> param;
};

// The refusal as one line of English, after "malformed description: ".
std::string DescriptionErrorText(const DescriptionError& e);

struct DescriptionTokens {
    std::optional<std::vector<std::string>> tokens;
    DescriptionError error;  // set when tokens is empty
};

// Splits a description written as above back into its tokens, strictly:
// exactly one space between tokens and none at either end, quotes only
// around a whole token and closed, only \", \\ and \u{HEX} (1 to 6 hex
// digits naming a Unicode scalar value) as escapes, and only inside quotes,
// no control characters, UTF-8 that is well formed. Nothing is interpreted
// beyond that.
DescriptionTokens SplitDescription(std::string_view text);

struct DescriptionRead {
    std::optional<Request> request;
    bool sizeGiven = false;   // older pictures' descriptions have no --size
    std::string error;        // one line beginning "malformed description: ", set when request is empty
    DescriptionError reason;  // the same as a code and its details, for other languages
};

// The request a description names, read strictly: its tokens must be
// options that a description writes, each at most once, with every model
// parameter and --origin present, and values the command accepts; the
// parameters must pass CheckParameters. Whatever it does not give keeps the
// default of Request{}.
DescriptionRead ReadDescription(std::string_view text);

}  // namespace orbitograph

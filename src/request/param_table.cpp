#include "request/param_table.h"

#include "model/number_text.h"

namespace orbitograph {

std::string ParamValueText(const ModelParams& p, ParamField f) {
    const ParamRow& row = ParamRowOf(f);
    switch (row.kind) {
        case ParamKind::Real: return FormatShortest(p.*row.real);
        case ParamKind::Direction: return p.*row.integer == 0 ? "inward" : "outward";
        case ParamKind::Count: return FormatInt(p.*row.integer);
    }
    return {};
}

}  // namespace orbitograph

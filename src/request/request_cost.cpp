#include "request/request_cost.h"

#include <algorithm>

#include "model/number_text.h"

namespace orbitograph {

RequestCost CostOf(const Request& r) {
    RequestCost c;
    c.startPoints = CountStartPoints(r.params);
    c.steps = std::max<std::int64_t>(std::int64_t{r.params.iterations} + 1, 0);
    c.canvasPixels = std::int64_t{r.width} * r.height;
    return c;
}

bool WithinQuietBounds(const RequestCost& c) {
    return c.MapSteps() <= kMaxQuietMapSteps && c.canvasPixels <= kMaxQuietCanvasPixels;
}

std::string CostText(const RequestCost& c, const Request& r) {
    return FormatInt(c.startPoints) + " start points x " + FormatInt(c.steps) + " steps (" +
           FormatGeneral(c.MapSteps(), 3) + " map steps) on a " + FormatInt(r.width) + "x" + FormatInt(r.height) +
           " canvas";
}

}  // namespace orbitograph

#include <cstdio>
#include <string>
#include <vector>

#include "cli/render_options.h"
#include "model/fractal_model.h"

using namespace orbitograph;

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    OptionsResult parsed = ParseRenderOptions(args);
    if (!parsed.options) {
        std::fprintf(stderr, "orbitograph-render: %s\n", parsed.error.c_str());
        return 2;
    }
    const RenderOptions& o = *parsed.options;
    if (o.help) {
        std::fputs(RenderUsage().c_str(), stdout);
        return 0;
    }

    FractalModel model;
    model.SetParams(o.params);
    model.originX = o.originX;
    model.originY = o.originY;
    if (model.Compute() != ComputeStatus::Done) {
        std::fprintf(stderr, "orbitograph-render: not enough memory for this grid\n");
        return 1;
    }

    if (o.counts) {
        const std::int64_t startPoints = CountColumns(o.params) * CountRows(o.params);
        std::printf("%s\n", CountsJson(startPoints, std::ssize(model.attractors), std::ssize(model.basinInfinity),
                                       std::ssize(model.basinZero), std::ssize(model.basinT),
                                       std::ssize(model.basinO), std::ssize(model.basinM), std::ssize(model.basinH))
                                .c_str());
    }
    if (o.report) {
        for (const std::string& line : model.report) {
            // The two separator lines consist of a line feed alone.
            std::fputs(line == "\n" ? "\n" : (line + "\n").c_str(), stdout);
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

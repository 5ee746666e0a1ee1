#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_run.h"
#include "data/analysis_text.h"
#include "reference_analysis.h"
#include "request/description.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The --analysis line is the literal transcription's catalogue and counts,
// after the --counts line, for sets with one fixed point, two attractors
// kept apart and joined, no step, and infinities with every cycle joined
// (the engine's agreement over drawn sets is tested with the model).
TEST(AnalysisCommand, LineIsTheReferences) {
    const std::pair<ModelParams, const char*> rows[] = {
        {{.a = -0.0, .step = 0.3, .iterations = 4}, ""},
        {{.a = 0.6, .step = 0.23, .dcOutward = 0, .dc = 0.9, .kc = 0.3, .iterations = 300}, ""},
        {{.a = 0.6, .step = 0.23, .dcOutward = 0, .dc = 0.9, .kc = 0.3, .iterations = 300}, "0.7"},
        {{.step = 0.4, .iterations = -3}, "0"},
        {{.y1 = -0.5, .a = 1e150, .step = 0.35}, "inf"},
    };
    for (const auto& [p, delta] : rows) {
        const std::string args = DescribeComputation(p, 500, 350) + " --counts --analysis" +
                                 (*delta ? std::string(" --analysis-delta ") + delta : "");
        SCOPED_TRACE(args);
        const CommandRun run = RunRender(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const double d = *delta ? std::strtod(delta, nullptr) : kDefaultAttractorDelta;
        EXPECT_EQ(run.out.substr(run.out.find('\n') + 1), AnalysisJson(reference::Analyse(p, d)) + "\n");
    }
}

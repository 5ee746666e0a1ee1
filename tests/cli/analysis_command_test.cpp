#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/command_run.h"
#include "data/analysis_text.h"
#include "model/number_text.h"
#include "reference_analysis.h"
#include "request/description.h"
#include "support/draw.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

// A grid of at most about 12 points a side over part of the square.
ModelParams DrawnSet(Draw& d, int family) {
    for (;;) {
        ModelParams p;
        p.a = d.Sign() * d.Between(0.05, 2.0);
        p.dc = d.Sign() * d.Between(0.0, 1.3);
        p.kc = d.Sign() * d.Between(0.0, 1.3);
        p.dcOutward = d.Int(0, 1);
        p.kcOutward = d.Int(0, 1);
        p.iterations = d.Int(0, 300);
        switch (family) {
            case 0: p.a = d.Chance(0.5) ? 0.0 : -0.0; break;  // one fixed point
            case 1:                                           // inward: several attractors, long periods
                p.dcOutward = p.kcOutward = 0;
                p.dc = std::fabs(p.dc);
                p.kc = std::fabs(p.kc);
                break;
            case 2: p.iterations = -d.Int(1, 50); break;                     // no step
            case 3: p.a = d.Sign() * std::pow(10.0, d.Int(1, 200)); break;   // infinities and NaN
            case 4: p.dc = p.kc = d.Sign() * d.Between(50.0, 200.0); break;  // frozen by the guard
            default: break;
        }
        p.x1 = d.Between(-2.0, 1.0);
        p.x2 = d.Between(p.x1, 2.0);
        p.y1 = d.Between(-2.0, 1.0);
        p.y2 = d.Between(p.y1, 2.0);
        p.step = std::fmax(std::fmax(p.x2 - p.x1, p.y2 - p.y1), 0.01) / d.Between(2.0, 11.0);
        if (!CheckParameters(p)) return p;
    }
}

}  // namespace

// The --analysis line of drawn parameter sets of every family, with merge
// distances that join cycles (inf, 0.5) and that keep them apart (0), is
// the literal transcription's catalogue and counts, and with --counts it
// follows the counts line.
TEST(AnalysisCommand, LineIsTheReferences) {
    Draw d{19};
    const double deltas[] = {kDefaultAttractorDelta, 0.0, 0.5, HUGE_VAL};
    for (int i = 0; i < 24; ++i) {
        const ModelParams p = DrawnSet(d, i % 6);
        const double delta = deltas[(i / 6) % 4];
        const std::string args =
            DescribeComputation(p, 500, 350) + " --counts --analysis" +
            (i / 6 == 0 ? "" : " --analysis-delta " + (std::isinf(delta) ? std::string("inf") : FormatShortest(delta)));
        SCOPED_TRACE(args);
        const CommandRun run = RunRender(args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::size_t second = run.out.find('\n') + 1;
        EXPECT_EQ(run.out.substr(second), AnalysisJson(reference::Analyse(p, delta)) + "\n");
    }
}

// What the analysis cannot do is refused before anything is computed, in
// one line naming the option, with the status of a refused command line.
TEST(AnalysisCommand, RefusalsNameTheOption) {
    const std::pair<const char*, const char*> rows[] = {
        {"--analysis --analysis-delta -1", "--analysis-delta: expected a number from 0 to inf, got '-1'"},
        {"--analysis --analysis-delta nan", "--analysis-delta: expected a number"},
        {"--analysis --step 0.0005", "--analysis: too fine for the analysis"},
        {"--analysis --iterations 2147483647", "--analysis: too many iterations"},
        {"--colour-by period --iterations 2147483647 -o never.png", "--colour-by: too many iterations"},
        {"--colour-by attractors", "--colour-by: expected kinds, attractor, exit or period, got 'attractors'"},
        {"--analysis --sweep a=0:1:3", "--analysis: analyses one grid"},
        {"--analysis --orbit 0,0", "--orbit: prints the orbit alone"},
    };
    for (const auto& [args, message] : rows) {
        SCOPED_TRACE(args);
        const CommandRun run = RunRender(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(OneLine(run.err)) << run.err;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

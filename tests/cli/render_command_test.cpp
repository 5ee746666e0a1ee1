#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "cli/command_run.h"
#include "support/file_test_support.h"

using namespace orbitograph::test;

// The lists do not depend on how many threads compute them.
TEST(RenderCommand, CountsOfTheDefaultsWithAnyThreadCount) {
    for (const char* args : {"--counts", "--threads 1 --counts", "--threads=3 --counts"}) {
        const CommandRun r = RunRender(args);
        EXPECT_EQ(r.status, 0) << args;
        EXPECT_EQ(r.out,
                  "{\"start_points\": 160000, \"attractors\": 14640, \"infinity\": 145360, \"zero\": 0, "
                  "\"T\": 10088, \"O\": 4412, \"M\": 140, \"H\": 0}\n")
            << args;
    }
}

TEST(RenderCommand, ReportHasNineteenLinesWithBlankSeparators) {
    const CommandRun r = RunRender("--report --iterations -1");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 19);
    EXPECT_NE(r.out.find("Число итераций (N)=-1\nШаг (h)=0.01\n\nПространство аттракторов:\n"), std::string::npos);
    EXPECT_NE(r.out.find("=160000\n\nПространство бассейнов:\n"), std::string::npos);
}

// A refusal (of a single run, a sweep, a plane, the analysis or an orbit)
// exits with 2 before anything is computed or written, on one line whose
// echoed values cannot drive the terminal.
TEST(RenderCommand, RefusalsExitWithTwoWritingNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string out = " -o " + Quote(dir.filePath("frame.png"));
    const std::pair<std::string, const char*> rows[] = {
        {"--step 0", "--step"},
        {"--x1 3", "--x1"},
        {"--unknown", "--unknown"},
        {"--step 1e-300 --x1 1.5 --x2 1.5", "--step"},
        {"--threads 0", "--threads"},
        {"--threads 1025", "--threads"},
        {"--threads x", "--threads"},
        {"--export " + Quote(dir.filePath("g.txt")), "--export"},
        {"--export " + Quote(dir.path()), "--export"},
        {"--counts --legend-picture " + Quote(dir.filePath("none.bmp")) + out, "--legend-picture"},
        {"--sweep b=0:1:3", "--sweep: expected"},
        {"--sweep a=0:1:0", "--sweep: expected"},
        {"--sweep a=0:1", "--sweep: expected"},
        {"--sweep 'a=0:1:3 '", "--sweep: expected"},
        {"--sweep a=0:1:100001", "--sweep: expected"},
        {"--sweep a=0:1:1", "--sweep: one value"},
        {"--sweep a=-1e308:1e308:3", "--sweep: the value inf"},
        {"--sweep iterations=0:3e9:2", "--sweep: the value 3e+09"},
        {"--sweep a=0:1:3 --plane a=0:1:2,dc=0:1:2", "cannot be combined"},
        {"--plane a=0:1:2,a=0:1:2", "--plane: the two"},
        {"--plane a=0:1:2000,dc=0:1:2000", "--plane: more than"},
        {"--plane a=0:1:300,dc=0:1:2 --plane-scale 64 -o p.png", "--plane-scale"},
        {"--plot c.png", "--plot needs"},
        {"--sweep a=0:1:3 --counts", "--counts and --report"},
        {"--sweep a=0:1:3 -o frame.png", "-o: with --sweep"},
        {"--sweep a=0:1:3 -o 'f%s%d'", "-o: with --sweep"},
        {"--sweep a=0:1:3 --format xml", "--format"},
        {"--sweep a=0:1:3 --export s.npz", "--export: with --sweep"},
        {"--plane a=0:1:2,dc=0:1:2 --export p.csv", "--export: with --sweep"},
        {"--analysis --analysis-delta -1", "--analysis-delta: expected a number from 0 to inf, got '-1'"},
        {"--analysis --analysis-delta nan", "--analysis-delta: expected a number"},
        {"--analysis --step 0.0005", "--analysis: too fine for the analysis"},
        {"--analysis --iterations 2147483647", "--analysis: too many iterations"},
        {"--colour-by period --iterations 2147483647 -o never.png", "--colour-by: too many iterations"},
        {"--colour-by attractors", "--colour-by: expected kinds, attractor, exit or period, got 'attractors'"},
        {"--analysis --sweep iterations=1:2147483647:2", "--sweep: the attractors at iterations 2147483647: too many"},
        {"--colour-by exit --sweep iterations=1:2147483647:2 -o 'f%d.png'",
         "--sweep: the attractors at iterations 2147483647: too many"},
        {"--analysis --orbit 0,0", "--orbit: prints the orbit alone"},
        {"--orbit 1", "--orbit: expected"},
        {"--orbit inf,0", "--orbit: expected"},
        {"--orbit 0,x", "--orbit: expected"},
        {"--orbit 0,0 --counts", "--orbit: prints"},
        {"--orbit 0,0 --sweep a=0:1:2", "--orbit: prints"},
        {"--orbit-limit 3", "--orbit-limit: needs"},
        {"--orbit 0,0 --orbit-limit -1", "--orbit-limit: expected"},
        {"--x1 '\x1b[31mred'", "\\x"},
        {"'--\x1b]0;title\x07'", "\\x"},
        {"--legend-picture '\xc2\x9b"
         "2J'" +
             out,
         "\\x"},
    };
    for (const auto& [args, says] : rows) {
        SCOPED_TRACE(args);
        const CommandRun r = RunRender(args);
        ExpectFailure(r, 2, says);
        for (char c : r.err.substr(0, r.err.size() - 1)) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << r.err;
        EXPECT_EQ(r.err.find("\xc2\x9b"), std::string::npos) << r.err;
        EXPECT_TRUE(Entries(dir.path()).isEmpty());
    }
}

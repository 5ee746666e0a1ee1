#include <gtest/gtest.h>

#include <string>

#include "cli/command_run.h"

using orbitograph::test::CommandRun;
using orbitograph::test::RunRender;

TEST(RenderCommand, CountsOfTheDefaults) {
    const CommandRun r = RunRender("--counts");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\"start_points\": 160000, \"attractors\": 14640, \"infinity\": 145360, \"zero\": 0, "
              "\"T\": 10088, \"O\": 4412, \"M\": 140, \"H\": 0}\n");
}

TEST(RenderCommand, ReportHasNineteenLinesWithBlankSeparators) {
    const CommandRun r = RunRender("--report --iterations -1");
    ASSERT_EQ(r.status, 0);
    std::size_t lines = 0;
    for (char c : r.out) lines += c == '\n';
    EXPECT_EQ(lines, 19u);
    EXPECT_NE(r.out.find("Число итераций (N)=-1\nШаг (h)=0.01\n\nПространство аттракторов:\n"), std::string::npos);
    EXPECT_NE(r.out.find("=160000\n\nПространство бассейнов:\n"), std::string::npos);
}

TEST(RenderCommand, RefusalExitsWithTwoAndNoOutput) {
    for (const char* args : {"--step 0", "--x1 3", "--unknown", "--step 1e-300 --x1 1.5 --x2 1.5"}) {
        const CommandRun r = RunRender(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        EXPECT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

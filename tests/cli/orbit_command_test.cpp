#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/orbit_command.h"
#include "command_run.h"

using namespace orbitograph;

namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    if (!text.empty() && text.back() == sep) parts.emplace_back();
    return parts;
}

// A number column read back: the same double, or nan for a NaN.
bool ReadsAs(const std::string& text, double v) {
    return std::isnan(v) ? text == "nan" : std::strtod(text.c_str(), nullptr) == v;
}

}  // namespace

// The real command: every row reads back as the probe's row (an orbit that
// leaves the square, overflows and freezes as NaN, inf), the worked start of
// the default orbit and the limit (its refusals are the command's tests').
TEST(OrbitCommandTest, PrintsTheProbedRows) {
    const test::CommandRun run = test::RunRender("--orbit 0,0 --iterations 30");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Split(run.out, '\n');
    ASSERT_EQ(lines.size(), 34u);  // header, steps 0..31, the empty rest after the last newline
    EXPECT_EQ(lines[0], kOrbitCsvHeader);
    EXPECT_EQ(lines[2], "1,0.5,0.80000000000000004,0,0,0.5,0.80000000000000004,0");
    EXPECT_EQ(lines[3].substr(0, 43), "2,-0.81200000000000006,-0.15999999999999992");
    ModelParams p;
    p.iterations = 30;
    const auto probe = ProbeOrbit(p, 0.0, 0.0);
    bool frozen = false;
    for (const ProbeRow& row : probe->rows) {
        const std::vector<std::string> f = Split(lines[static_cast<std::size_t>(row.step) + 1], ',');
        ASSERT_EQ(f.size(), 8u) << row.step;
        EXPECT_TRUE(ReadsAs(f[1], row.x) && ReadsAs(f[2], row.y)) << row.step;
        EXPECT_EQ(f[3].empty(), !row.HasTerms()) << row.step;
        if (row.HasTerms()) {
            EXPECT_TRUE(ReadsAs(f[3], row.p) && ReadsAs(f[5], row.cx) && ReadsAs(f[6], row.cy)) << row.step;
        }
        EXPECT_EQ(f[7], row.frozen ? "1" : "0");
        frozen = frozen || row.frozen;
    }
    EXPECT_TRUE(frozen);
    EXPECT_EQ(Split(test::RunRender("--orbit=-1,0.5e0 --orbit-limit 3").out, '\n').size(), 5u);
}

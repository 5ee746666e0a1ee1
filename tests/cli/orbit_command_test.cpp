#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
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

std::string CsvOf(const ModelParams& p, double x0, double y0, std::int64_t limit) {
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(WriteOrbitCsv(f, p, x0, y0, limit));
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

// Every CSV row reads back, column by column, as the probe's row: states
// bit for bit (NaN as nan), the terms empty where no step was made.
TEST(OrbitCommandTest, CsvReadsBackAsTheProbedRows) {
    ModelParams escaping;  // the defaults: leaves the square, overflows, ends in NaN
    escaping.iterations = 30;
    ModelParams cycle;
    cycle.a = 1.0;
    cycle.dc = 1.0;
    cycle.dcOutward = 0;
    cycle.kc = 0.0;
    cycle.iterations = 7;
    ModelParams none;
    none.iterations = -5;
    struct Case {
        ModelParams p;
        double x0, y0;
        std::int64_t limit;
        std::size_t rows;
    };
    const Case cases[] = {
        {escaping, 0.0, 0.0, -1, 32}, {escaping, -150.0, 150.0, -1, 32}, {cycle, -1.0, 0.0, -1, 9},
        {cycle, 0.1, 0.2, 4, 4},      {none, 0.3, 0.4, -1, 1},           {escaping, 0.0, 0.0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.x0 << "," << c.y0 << " limit " << c.limit);
        const std::vector<std::string> lines = Split(CsvOf(c.p, c.x0, c.y0, c.limit), '\n');
        ASSERT_EQ(lines.size(), c.rows + 2);  // the header and, after the last newline, nothing
        EXPECT_EQ(lines.front(), kOrbitCsvHeader);
        EXPECT_EQ(lines.back(), "");
        const auto probe = ProbeOrbit(c.p, c.x0, c.y0);
        for (std::size_t k = 0; k < c.rows; ++k) {
            const std::vector<std::string> f = Split(lines[k + 1], ',');
            const ProbeRow& row = probe->rows[k];
            ASSERT_EQ(f.size(), 8u) << lines[k + 1];
            EXPECT_EQ(f[0], std::to_string(k));
            EXPECT_TRUE(SameBits(std::strtod(f[1].c_str(), nullptr), row.x) || (std::isnan(row.x) && f[1] == "nan"));
            EXPECT_TRUE(SameBits(std::strtod(f[2].c_str(), nullptr), row.y) || (std::isnan(row.y) && f[2] == "nan"));
            EXPECT_EQ(f[3].empty(), !row.HasTerms());
            if (row.HasTerms()) {
                EXPECT_EQ(OrbitCsvNumber(std::strtod(f[3].c_str(), nullptr)), OrbitCsvNumber(row.p));
                EXPECT_EQ(std::strtod(f[5].c_str(), nullptr), row.cx);
                EXPECT_EQ(std::strtod(f[6].c_str(), nullptr), row.cy);
            }
            EXPECT_EQ(f[7], row.frozen ? "1" : "0");
        }
    }
}

// The real command: the worked start of the default orbit, the limit, and
// refusals with one line and status 2.
TEST(OrbitCommandTest, CommandPrintsAndRefusesAsTheOthers) {
    const test::CommandRun run = test::RunRender("--orbit 0,0");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Split(run.out, '\n');
    ASSERT_EQ(lines.size(), 14u);  // header, steps 0..11, the empty tail
    EXPECT_EQ(lines[1], "0,0,0,,,,,0");
    EXPECT_EQ(lines[2], "1,0.5,0.80000000000000004,0,0,0.5,0.80000000000000004,0");
    EXPECT_EQ(lines[3].substr(0, 43), "2,-0.81200000000000006,-0.15999999999999992");
    EXPECT_EQ(lines[12].substr(0, 7), "11,4246");  // about (424686.73, 10036.67)
    EXPECT_EQ(Split(test::RunRender("--orbit=-1,0.5e0 --orbit-limit 3").out, '\n').size(), 5u);
    for (const char* refused : {"--orbit 1", "--orbit inf,0", "--orbit 0,x", "--orbit 0,0 --counts",
                                "--orbit-limit 3", "--orbit 0,0 --orbit-limit -1"}) {
        const test::CommandRun r = test::RunRender(refused);
        EXPECT_EQ(r.status, 2) << refused;
        EXPECT_TRUE(r.out.empty()) << refused;
        EXPECT_TRUE(test::OneLine(r.err)) << refused << ": " << r.err;
    }
}

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "cli/command_run.h"
#include "cli/render_options.h"
#include "support/file_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

// Accepted patterns name frames as printf would; anything else with a '%'
// is refused before a frame is computed.
TEST(SweepCommand, FramePatterns) {
    struct Row {
        const char* pattern;
        const char* frame7;  // nullptr: refused
    };
    const Row rows[] = {
        {"f_%04d.png", "f_0007.png"},
        {"%d", "7"},
        {"%-3d|", "7  |"},
        {"%+i.png", "+7.png"},
        {"% 3d", "  7"},
        {"x%s.png", nullptr},
        {"%d%d", nullptr},
        {"no.png", nullptr},
        {"%%%d", nullptr},
        {"%n.png", nullptr},
        {"%4ld", nullptr},
        {"%.3d", nullptr},
        {"%99d", nullptr},
        {"%*d", nullptr},
        {"f%", nullptr},
        {"%21d", nullptr},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FramePatternValid(r.pattern), r.frame7 != nullptr) << r.pattern;
        if (r.frame7) {
            EXPECT_EQ(FrameName(r.pattern, 7), r.frame7) << r.pattern;
        }
    }
}

// Every line is the --counts line of a single run of that value, after the
// parameter's own key; the CSV has the same columns; frame i is byte for
// byte the picture of a single run of value i.
TEST(SweepCommand, LinesAndFramesEqualSingleRuns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = "--step 0.05 --iterations 7 --size 300x200 --fit ";
    const auto sweep = RunRender(base + "--sweep dc=0.1:0.9:3 --threads 2 -o " + Quote(dir.filePath("f%02d.png")));
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto csv = RunRender(base + "--sweep dc=0.1:0.9:3 --format csv");
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "dc,start_points,attractors,infinity,zero,T,O,M,H");
    const char* values[] = {"0.1", "0.5", "0.9"};
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const QString single = dir.filePath(QString("single%1.png").arg(i));
        const auto one = RunRender(base + "--dc " + values[i] + " --counts -o " + Quote(single));
        ASSERT_EQ(one.status, 0);
        const std::string expected = "{\"dc\": " + std::string(values[i]) + ", " + one.out.substr(1);
        const std::size_t end = sweep.out.find('\n', at) + 1;
        EXPECT_EQ(sweep.out.substr(at, end - at), expected);
        at = end;
        const QString frame = dir.filePath(QString("f%1.png").arg(i, 2, 10, QChar('0')));
        EXPECT_EQ(Contents(frame), Contents(single)) << i;
    }
    EXPECT_EQ(at, sweep.out.size());
}

// The chart and the plane picture are written (their content is checked in
// the view's tests); a plane prints one line per pair, the first parameter
// varying fastest.
TEST(SweepCommand, ChartAndPlaneWritten) {
    QTemporaryDir dir;
    const auto chart = RunRender("--step 0.1 --sweep a=0.3:1.3:11 --plot " + Quote(dir.filePath("c.png")));
    EXPECT_EQ(chart.status, 0);
    EXPECT_FALSE(QImage(dir.filePath("c.png")).isNull());
    const auto plane =
        RunRender("--step 0.1 --plane a=0.3:1.3:3,kc=0:1:2 --plane-scale 5 -o " + Quote(dir.filePath("p.png")));
    ASSERT_EQ(plane.status, 0);
    EXPECT_EQ(std::count(plane.out.begin(), plane.out.end(), '\n'), 6);
    EXPECT_EQ(plane.out.substr(0, 24), "{\"a\": 0.3, \"kc\": 0, \"sta") << "first pair";
    EXPECT_FALSE(QImage(dir.filePath("p.png")).isNull());
}

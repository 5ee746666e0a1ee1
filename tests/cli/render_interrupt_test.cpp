#include <gtest/gtest.h>

#include <signal.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <tuple>
#include <vector>

#include "cli/command_run.h"
#include "cli/progress_line.h"
#include "support/file_test_support.h"

using namespace orbitograph::test;

namespace {

// True once the process has its own handler for the signal (SigCgt in
// /proc), so a signal sent now reaches the command rather than the default.
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
    }
    return false;
}

}  // namespace

// SIGINT and SIGTERM while computing; these and every other signal that ends
// a run while the picture (and beside it the export, the two written as one)
// is being encoded: the run ends with 128 + signal and nothing written or
// replaced, no temporary file left.
TEST(RenderInterrupt, SignalsEndTheRunWritingNothing) {
    // The signal, while the picture is encoded (else while computing), with an
    // export beside the picture.
    const std::tuple<int, bool, bool> rows[] = {
        {SIGINT, false, false}, {SIGTERM, false, false}, {SIGINT, true, false},
        {SIGTERM, true, true},  {SIGHUP, true, true},    {SIGALRM, true, false},
        {SIGUSR1, true, false}, {SIGUSR2, true, true},   {SIGPIPE, true, false}};
    for (const auto& [signal, whileEncoding, exported] : rows) {
        SCOPED_TRACE(testing::Message() << "signal " << signal << (whileEncoding ? " while encoding" : "")
                                        << (exported ? " with an export" : ""));
        // Orbits of x' = 2x^2 - 1 on the x axis neither escape nor settle for a
        // long time: 2e10 map steps that no exact shortcut avoids.
        const std::vector<std::string> slow{
            "--a",  "2", "--dc", "1",  "--dc-direction", "inward", "--kc",   "0",      "--y1",         "0",
            "--y2", "0", "--x1", "-1", "--x2",           "1",      "--step", "0.0001", "--iterations", "1000000"};
        // A picture of 64 M pixels takes seconds to encode.
        const std::vector<std::string> large{"--size", "16384x4096", "--step", "0.1"};
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString target = dir.filePath("frame.png");
        const QString exportTarget = dir.filePath("g.csv");
        ASSERT_TRUE(WriteFile(target, "old") && WriteFile(exportTarget, "old"));
        std::vector<std::string> args = whileEncoding ? large : slow;
        args.insert(args.end(), {"--counts", "-o", target.toStdString()});
        if (exported) args.insert(args.end(), {"--export", exportTarget.toStdString()});
        const pid_t pid = StartRender(args);
        ASSERT_GE(pid, 0);
        ASSERT_TRUE(Await([&] { return Catches(pid, signal); }, std::chrono::seconds(30)));
        // The temporary files exist only while the files are written.
        if (whileEncoding) {
            ASSERT_TRUE(Await([&] { return Entries(dir.path()).size() > 2; }));
        }
        kill(pid, signal);
        EXPECT_EQ(ExitStatus(pid), 128 + signal);
        EXPECT_EQ(Entries(dir.path()), (QStringList{"frame.png", "g.csv"}));
        EXPECT_EQ(Contents(target), "old");
        EXPECT_EQ(Contents(exportTarget), "old");
    }
}

// The progress line is drawn on a terminal only, and erased at the end.
TEST(RenderInterrupt, ProgressOnlyOnATerminal) {
    std::vector<std::string> args{"--counts", "--iterations", "200000", "--step",         "0.02",  "--a",
                                  "2",        "--dc",         "1",      "--dc-direction", "inward"};
    std::string line;
    for (const std::string& a : args) line += a + " ";
    const CommandRun quiet = RunRender(line);
    ASSERT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;

    int master = -1;
    const pid_t pid = StartRender(args, nullptr, nullptr, nullptr, &master);
    ASSERT_GE(pid, 0);
    const std::string seen = ReadAll(master);
    EXPECT_EQ(ExitStatus(pid), 0);
    EXPECT_NE(seen.find("computing"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\r\033[K"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\"start_points\": 40000"), std::string::npos) << seen;
}

// A progress thread that cannot start leaves the command without a progress
// line, never ends it.
TEST(RenderInterrupt, ProgressLineWithoutItsThread) {
    std::FILE* terminal = std::tmpfile();
    ASSERT_NE(terminal, nullptr);
    {
        orbitograph::ProgressLine line(terminal, [](std::function<void(std::stop_token)>) -> std::jthread {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        });
        EXPECT_FALSE(line.Callback());
    }
    EXPECT_EQ(std::ftell(terminal), 0);
    std::fclose(terminal);
}

// What an interrupted run leaves on standard output or on disk, its message
// says: an orbit's rows printed, a sweep's frames written (whole, named).
TEST(RenderInterrupt, InterruptedRunsSayWhatTheyLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string frames = dir.filePath("f%d.png").toStdString();
    struct Row {
        std::vector<std::string> args;
        std::string says;
        bool framesWritten;
    };
    const Row rows[] = {
        {{"--orbit", "0.5,0", "--a", "2", "--dc", "1", "--dc-direction", "inward", "--kc", "0", "--iterations",
          "2000000000"},
         "interrupted; the orbit's rows so far were printed, the rest not",
         false},
        {{"--sweep", "a=0.1:0.2:50", "--size", "16384x4096", "--step", "0.1", "-o", frames},
         "written ('" + dir.filePath("f0.png").toStdString() + "'",
         true},
    };
    for (Row row : rows) {
        SCOPED_TRACE(row.says);
        int out = -1, err = -1;
        const pid_t pid = StartRender(row.args, &out, &err);
        ASSERT_GE(pid, 0);
        // Once something is printed the command is past its options.
        char first;
        ASSERT_EQ(read(out, &first, 1), 1);
        if (row.framesWritten) {
            ASSERT_TRUE(Await([&] { return Entries(dir.path()).contains("f0.png"); }));
        }
        kill(pid, SIGTERM);
        EXPECT_EQ(ExitStatus(pid), 143);
        const std::string said = ReadAll(err);
        close(out);
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        for (const QString& name : Entries(dir.path())) EXPECT_FALSE(name.endsWith(".part")) << name.toStdString();
    }
}

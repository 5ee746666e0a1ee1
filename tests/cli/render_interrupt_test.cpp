#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_run.h"
#include "cli/progress_line.h"

using namespace orbitograph::test;

namespace {

// Orbits of x' = 2x^2 - 1 on the x axis neither escape nor settle for a long
// time: 2e10 map steps that no exact shortcut avoids, many seconds at any
// speed within reach.
const std::vector<std::string> kSlow{"--a", "2", "--dc", "1", "--dc-direction", "inward", "--kc", "0",
                                     "--y1", "0", "--y2", "0", "--x1", "-1", "--x2", "1", "--step", "0.0001",
                                     "--iterations", "1000000"};

// Starts the command with SIGINT and SIGTERM at their default actions
// (whatever the test runner ignores) and both streams discarded.
pid_t Spawn(std::vector<std::string> args) {
    args.insert(args.begin(), ORBITOGRAPH_RENDER);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    char* envp[] = {nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, ORBITOGRAPH_RENDER, &actions, &attributes, argv.data(), envp);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// Polls until the condition holds; false if it did not within the limit.
template <typename Condition>
bool Await(Condition condition, std::chrono::seconds limit = std::chrono::seconds(120)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// True once the process has its own handler for the signal (SigCgt in
// /proc), so a signal sent now reaches the command rather than the default.
bool Catches(pid_t pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0) return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
    }
    return false;
}

// The exit status, or -1 if the process ended otherwise or was still
// running after the limit (then it is killed).
int ExitStatus(pid_t pid) {
    int status = 0;
    const bool ended = Await([&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

}  // namespace

// A signal ends the run with 128 + signal and nothing written or replaced:
// early, while computing, or while the picture is being encoded.
TEST(RenderInterrupt, SignalsEndTheRunWritingNothing) {
    struct Row {
        int signal;
        bool whileEncoding;
    } rows[] = {{SIGINT, false}, {SIGTERM, false}, {SIGTERM, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.signal);
        SCOPED_TRACE(row.whileEncoding);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString target = dir.filePath("frame.png");
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        // A picture of 64 M pixels takes seconds to encode.
        std::vector<std::string> args =
            row.whileEncoding ? std::vector<std::string>{"--size", "16384x4096", "--step", "0.1"} : kSlow;
        args.insert(args.end(), {"--counts", "-o", target.toStdString()});
        const pid_t pid = Spawn(args);
        ASSERT_GT(pid, 0);
        ASSERT_TRUE(Await([&] { return Catches(pid, row.signal); }, std::chrono::seconds(30)));
        if (row.whileEncoding) {
            // The temporary file exists only while the picture is written.
            ASSERT_TRUE(Await([&] { return Entries(dir.path()).size() > 1; }));
        }
        kill(pid, row.signal);
        EXPECT_EQ(ExitStatus(pid), 128 + row.signal);
        EXPECT_EQ(Entries(dir.path()), QStringList{"frame.png"});
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "old");
    }
}

TEST(RenderInterrupt, ThreadCountDoesNotChangeTheResult) {
    const CommandRun one = RunRender("--threads 1 --counts --step 0.02");
    const CommandRun all = RunRender("--counts --step 0.02");
    const CommandRun three = RunRender("--threads=3 --counts --step 0.02");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, all.out);
    EXPECT_EQ(three.out, all.out);
    for (const char* bad : {"--threads 0", "--threads 1025", "--threads x"}) {
        const CommandRun r = RunRender(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST(RenderInterrupt, ProgressOnlyOnATerminal) {
    // Standard error redirected to a file: no progress line.
    const CommandRun quiet = RunRender("--counts --iterations 200000 --step 0.02 --a 2 --dc 1 --dc-direction inward");
    ASSERT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.err.empty()) << quiet.err;

    // On a pseudo-terminal the line appears and is erased at the end.
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(ORBITOGRAPH_RENDER, ORBITOGRAPH_RENDER, "--counts", "--iterations", "200000", "--step", "0.02", "--a",
              "2", "--dc", "1", "--dc-direction", "inward", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string seen;
    char buf[512];
    ssize_t n;
    while ((n = read(master, buf, sizeof buf)) > 0) seen.append(buf, static_cast<std::size_t>(n));
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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

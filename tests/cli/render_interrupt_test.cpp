#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_run.h"

using namespace orbitograph::test;

namespace {

// Orbits of x' = 2x^2 - 1 on the x axis neither escape nor settle for a long
// time: 2e10 map steps that no exact shortcut avoids, many seconds at any
// speed within reach.
const std::vector<std::string> kSlow{"--a", "2", "--dc", "1", "--dc-direction", "inward", "--kc", "0",
                                     "--y1", "0", "--y2", "0", "--x1", "-1", "--x2", "1", "--step", "0.0001",
                                     "--iterations", "1000000"};

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
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, ORBITOGRAPH_RENDER, &actions, nullptr, argv.data(), envp);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

constexpr int kStillRunning = -2;

// The exit status, -1 if the process ended otherwise, kStillRunning if it
// did not end within the time (then killed if asked).
int WaitFor(pid_t pid, std::chrono::seconds limit, bool killLate) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (killLate) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return kStillRunning;
}

}  // namespace

TEST(RenderInterrupt, CtrlCEndsWithoutWritingAFile) {
    for (int signal : {SIGINT, SIGTERM}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        std::vector<std::string> args = kSlow;
        args.insert(args.end(), {"--counts", "-o", dir.filePath("frame.png").toStdString()});
        const pid_t pid = Spawn(args);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        kill(pid, signal);
        // The engine looks at the flag between blocks of start points; in a
        // slow (sanitizer) build that can take long, and a second signal
        // ends the process at once, with the same status.
        int status = WaitFor(pid, std::chrono::seconds(20), false);
        if (status == kStillRunning) {
            kill(pid, signal);
            status = WaitFor(pid, std::chrono::seconds(20), true);
        }
        EXPECT_EQ(status, 128 + signal);
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
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

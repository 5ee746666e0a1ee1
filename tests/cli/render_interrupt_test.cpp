#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/command_run.h"
#include "cli/progress_line.h"
#include "support/file_test_support.h"

using namespace orbitograph::test;

namespace {

// The command's argument vector, made before forking: the child only calls
// what is safe after a fork.
std::vector<char*> Argv(std::vector<std::string>& args) {
    args.insert(args.begin(), ORBITOGRAPH_RENDER);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// In a child process: the command, every signal it catches at its default
// action (whatever the test runner ignores).
[[noreturn]] void ExecRender(char* const* argv) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE, SIGXFSZ})
        sigaction(s, &defaults, nullptr);
    execv(ORBITOGRAPH_RENDER, argv);
    _exit(127);
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

// The exit status, or -1 if the process ended otherwise or was still running
// after the limit (then it is killed).
int ExitStatus(pid_t pid) {
    int status = 0;
    if (!Await([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Everything until end of file; the descriptor is closed.
std::string ReadAll(int fd) {
    std::string all;
    char buf[512];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) all.append(buf, static_cast<std::size_t>(n));
    close(fd);
    return all;
}

// One run interrupted: the signal, while the picture is encoded (else while
// computing), with an export beside the picture.
struct SignalRow {
    int signal;
    bool whileEncoding;
    bool exported;
};

// The run ends with 128 + signal and nothing written or replaced, no
// temporary file left.
void ExpectNothingWritten(const SignalRow& row) {
    const auto [signal, whileEncoding, exported] = row;
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
    const std::vector<char*> argv = Argv(args);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        ExecRender(argv.data());
    }
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

}  // namespace

// SIGINT and SIGTERM while computing; these and every other signal that ends
// a run while the picture (and beside it the export, the two written as one)
// is being encoded.
TEST(RenderInterrupt, SignalsEndTheRunWritingNothing) {
    for (const SignalRow row :
         {SignalRow{SIGINT, false, false}, SignalRow{SIGTERM, false, false}, SignalRow{SIGINT, true, false},
          SignalRow{SIGTERM, true, true}, SignalRow{SIGHUP, true, true}, SignalRow{SIGALRM, true, false},
          SignalRow{SIGUSR1, true, false}, SignalRow{SIGUSR2, true, true}, SignalRow{SIGPIPE, true, false}})
        ExpectNothingWritten(row);
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

    const std::vector<char*> argv = Argv(args);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) ExecRender(argv.data());
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
        const std::vector<char*> argv = Argv(row.args);
        int err[2], out[2];
        ASSERT_EQ(pipe(err), 0);
        ASSERT_EQ(pipe(out), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            ExecRender(argv.data());
        }
        close(err[1]);
        close(out[1]);
        // Once something is printed the command is past its options.
        char first;
        ASSERT_EQ(read(out[0], &first, 1), 1);
        if (row.framesWritten) {
            ASSERT_TRUE(Await([&] { return Entries(dir.path()).contains("f0.png"); }));
        }
        kill(pid, SIGTERM);
        EXPECT_EQ(ExitStatus(pid), 143);
        const std::string said = ReadAll(err[0]);
        close(out[0]);
        EXPECT_NE(said.find(row.says), std::string::npos) << said;
        for (const QString& name : Entries(dir.path())) EXPECT_FALSE(name.endsWith(".part")) << name.toStdString();
    }
}

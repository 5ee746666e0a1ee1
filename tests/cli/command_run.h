#pragma once

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

namespace orbitograph::test {

struct CommandRun {
    int status;  // exit status, or -1 when the command did not exit normally
    std::string out;
    std::string err;
};

// A path quoted for the shell, as the bytes the file system takes.
inline std::string Quote(const QString& path) { return "'" + QFile::encodeName(path).toStdString() + "'"; }

// Text that is exactly one line, ended by its newline.
inline bool OneLine(const std::string& s) { return !s.empty() && s.find('\n') == s.size() - 1; }

// The run ended with this status, printed nothing on standard output and
// said `says` on one line.
inline void ExpectFailure(const CommandRun& r, int status, const std::string& says) {
    EXPECT_EQ(r.status, status);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
}

// Runs the real command through the shell with these arguments (already
// quoted for the shell), capturing both streams. With a clean environment it
// runs as on a machine without a display: no variables at all but those of
// `environment` ("NAME=value ...", shell-quoted).
inline CommandRun RunRender(const std::string& args, bool cleanEnvironment = false,
                            const std::string& environment = {}) {
    // A file of its own per run: test processes run in parallel.
    std::string errFile = testing::TempDir() + "render_err_XXXXXX";
    const int fd = mkstemp(errFile.data());
    if (fd < 0) return {-1, {}, {}};
    close(fd);
    const std::string cmd = std::string(cleanEnvironment ? "env -i " : "") + environment + " " + ORBITOGRAPH_RENDER +
                            " " + args + " 2>" + errFile;
    const auto readAll = [](FILE* f, std::string& to) {
        std::array<char, 4096> buf{};
        for (std::size_t n; f && (n = fread(buf.data(), 1, buf.size(), f)) > 0;) to.append(buf.data(), n);
        return f;
    };
    CommandRun r{};
    FILE* pipe = readAll(popen(cmd.c_str(), "r"), r.out);
    if (!pipe) return {-1, {}, {}};
    const int st = pclose(pipe);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    if (FILE* f = readAll(fopen(errFile.c_str(), "r"), r.err)) fclose(f);
    std::remove(errFile.c_str());
    return r;
}

// Starts the command with these arguments in a child process, after
// `prepare` there, every signal it catches at its default action (whatever
// the test runner ignores). Its standard output and error go to pipes whose
// read ends are put in `out` and `err`, or else to /dev/null; with
// `terminal`, both go to a new terminal whose other end is put there.
// -1 if it cannot start.
inline pid_t StartRender(std::vector<std::string> args, int* out = nullptr, int* err = nullptr,
                         void (*prepare)() = nullptr, int* terminal = nullptr) {
    args.insert(args.begin(), ORBITOGRAPH_RENDER);
    std::vector<char*> argv;  // made before forking: the child calls only what is safe after a fork
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int o[2] = {-1, -1}, e[2] = {-1, -1};
    if ((out && pipe2(o, O_CLOEXEC) != 0) || (err && pipe2(e, O_CLOEXEC) != 0)) return -1;
    const pid_t pid = terminal ? forkpty(terminal, nullptr, nullptr, nullptr) : fork();
    if (pid == 0) {
        if (!terminal) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(out ? o[1] : null, STDOUT_FILENO);
            dup2(err ? e[1] : null, STDERR_FILENO);
        }
        if (prepare) prepare();
        struct sigaction defaults {};
        defaults.sa_handler = SIG_DFL;
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE, SIGXFSZ})
            sigaction(s, &defaults, nullptr);
        execv(ORBITOGRAPH_RENDER, argv.data());
        _exit(127);
    }
    for (const int end : {o[1], e[1]}) {
        if (end >= 0) close(end);
    }
    if (out) *out = o[0];
    if (err) *err = e[0];
    return pid;
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

// The exit status, or -1 if the process ended otherwise or was still running
// after the limit (then it is killed).
inline int ExitStatus(pid_t pid) {
    int status = 0;
    if (!Await([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Everything until end of file; the descriptor is closed.
inline std::string ReadAll(int fd) {
    std::string all;
    char buf[512];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) all.append(buf, static_cast<std::size_t>(n));
    close(fd);
    return all;
}

}  // namespace orbitograph::test

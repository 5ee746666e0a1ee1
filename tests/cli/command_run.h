#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

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

}  // namespace orbitograph::test

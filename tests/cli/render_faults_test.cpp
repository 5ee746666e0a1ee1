#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "cli/command_run.h"
#include "support/file_test_support.h"

using namespace orbitograph::test;

// A disk that fills up while the picture is written: the old file stays whole.
TEST(RenderFaults, FullDiskKeepsTheOldFile) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        QByteArray at;
        ~Unmount() { umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};
    const QString old = dir.filePath("old.png");
    ASSERT_EQ(RunRender("--size 30x30 -o " + Quote(old)).status, 0);
    const QByteArray oldBytes = Contents(old);
    {
        QFile filler(dir.filePath("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    const QStringList before = Entries(dir.path());
    for (const char* size : {"20x20", "150x120"}) {
        SCOPED_TRACE(size);
        const CommandRun r = RunRender(std::string("--size ") + size + " -o " + Quote(old));
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
        EXPECT_EQ(Contents(old), oldBytes);
        EXPECT_EQ(Entries(dir.path()), before);
    }
}

// Only a regular file is replaced and only a regular file is read as a
// picture; anything else is refused at once and left as it was. (Which
// kinds of file count as regular is the picture writer's to test.)
TEST(RenderFaults, TargetsThatCannotBeWrittenAreLeftAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const std::string missing = dir.filePath("no/such/dir/frame.png").toStdString();
    // A picture cut short: the decoder's own complaint is not printed.
    const QString cut = dir.filePath("cut.png");
    ASSERT_EQ(RunRender("--size 50x50 -o " + Quote(cut)).status, 0);
    ASSERT_TRUE(WriteFile(cut, Contents(cut).left(100)));
    // The arguments, the exit status and what the error says.
    const std::tuple<std::string, int, std::string> rows[] = {
        {"-o " + Quote(pipe), 1, "not a regular file"},
        {"--legend --legend-picture " + Quote(pipe) + " -o " + Quote(dir.filePath("a.png")), 2, "not a regular file"},
        {"--legend --legend-picture " + Quote(cut) + " -o " + Quote(dir.filePath("a.png")), 2, "cannot read"},
        {"-o -", 2, "not supported"},
        {"--output=-", 2, "not supported"},
        {"-o '" + missing + "'", 1, missing},
    };
    const QStringList before = Entries(dir.path());
    for (const auto& [args, status, says] : rows) {
        SCOPED_TRACE(args);
        const CommandRun r = RunRender("--size 8x8 " + args);
        EXPECT_EQ(r.status, status);
        EXPECT_TRUE(r.out.empty());
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(Entries(dir.path()), before);
    }
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Output that standard output cannot take is a failure, said on one line.
TEST(RenderFaults, StandardOutputThatCannotBeWritten) {
    for (const char* args : {"--counts", "--report --step 0.1", "--help"}) {
        SCOPED_TRACE(args);
        const CommandRun r = RunRender(std::string(args) + " >/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("standard output"), std::string::npos) << r.err;
    }
}

// File names are bytes: the one file written is under exactly the bytes given.
TEST(RenderFaults, NamesKeepTheirBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string name = QFile::encodeName(dir.path()).toStdString() +
                             "/a\xff\xfe"
                             "b.png";
    const CommandRun written = RunRender("--size 8x8 -o '" + name + "'");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.err.empty()) << written.err;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(name.substr(0, name.rfind('/'))))
        names.push_back(entry.path().string());
    EXPECT_EQ(names, std::vector<std::string>{name});
    std::filesystem::remove(name);  // which Qt cannot name
}

// The export and the picture are one output: a target that cannot be
// written leaves every file as it was, and the message says so.
TEST(RenderFaults, ExportAndPictureAreWrittenTogether) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.png") && QDir(dir.path()).mkdir("d.csv"));
    for (const char* name : {"g.csv", "g.npz", "p.npz", "f.png"}) ASSERT_TRUE(WriteFile(dir.filePath(name), "old"));
    const auto in = [&](const char* name) { return Quote(dir.filePath(name)); };
    const std::string rows[] = {
        "--export " + in("g.csv") + " -o " + in("d.png"),
        "--export " + in("g.npz") + " -o " + in("d.png"),
        "--export " + in("d.csv") + " -o " + in("f.png"),
        "--plane a=0:1:2,dc=0:1:2 --export " + in("p.npz") + " -o " + in("d.png"),
    };
    const QStringList before = Entries(dir.path());
    for (const std::string& args : rows) {
        SCOPED_TRACE(args);
        const CommandRun r = RunRender("--step 0.5 " + args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
        EXPECT_EQ(Entries(dir.path()), before);
        for (const char* name : {"g.csv", "g.npz", "p.npz", "f.png"}) EXPECT_EQ(Contents(dir.filePath(name)), "old");
    }
}

// A file-size limit fails the write as any full disk would: status 1, one
// line, the old file whole and nothing left beside it, for every kind of
// output.
TEST(RenderFaults, FileSizeLimitIsAWriteFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto in = [&](const char* name) { return dir.filePath(name).toStdString(); };
    const std::vector<std::vector<std::string>> rows = {
        {"-o", in("old.png")},
        {"--export", in("old.csv")},
        {"--export", in("old.npz")},
        {"--sweep", "a=0:1:2", "-o", in("old%d.png")},
        {"--sweep", "a=0:1:2", "--plot", in("old.png")},
        {"--plane", "a=0:1:2,dc=0:1:2", "--export", in("old.npz")},
    };
    for (const char* name : {"old.png", "old.csv", "old.npz", "old0.png"})
        ASSERT_TRUE(WriteFile(dir.filePath(name), "old"));
    const QStringList before = Entries(dir.path());
    for (std::vector<std::string> args : rows) {
        SCOPED_TRACE(args.back());
        args.insert(args.begin(), {ORBITOGRAPH_RENDER, "--step", "0.5"});
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int err[2];
        ASSERT_EQ(pipe(err), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const rlimit limit{64, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            signal(SIGXFSZ, SIG_DFL);
            dup2(err[1], STDERR_FILENO);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execv(ORBITOGRAPH_RENDER, argv.data());
            _exit(127);
        }
        close(err[1]);
        std::string said;
        char buf[512];
        for (ssize_t n; (n = read(err[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<std::size_t>(n));
        close(err[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
        EXPECT_TRUE(OneLine(said)) << said;
        EXPECT_NE(said.find("File too large"), std::string::npos) << said;
        EXPECT_EQ(Entries(dir.path()), before);
        for (const char* name : {"old.png", "old.csv", "old.npz", "old0.png"})
            EXPECT_EQ(Contents(dir.filePath(name)), "old");
    }
}

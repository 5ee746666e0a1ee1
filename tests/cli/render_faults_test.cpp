#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
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
    // The arguments, the exit status and what the error says.
    const std::tuple<std::string, int, std::string> rows[] = {
        {"-o " + Quote(pipe), 1, "not a regular file"},
        {"--legend --legend-picture " + Quote(pipe) + " -o " + Quote(dir.filePath("a.png")), 2, "not a regular file"},
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

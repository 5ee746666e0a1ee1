#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "cli/command_run.h"
#include "support/file_test_support.h"

using namespace orbitograph::test;

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
        ExpectFailure(RunRender("--size 8x8 " + args), status, says);
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
        ExpectFailure(RunRender(std::string(args) + " >/dev/full"), 1, "standard output");
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
        EXPECT_NE(r.err.find("not a regular file; left as it was; nothing written"), std::string::npos) << r.err;
        EXPECT_EQ(Entries(dir.path()), before);
        for (const char* name : {"g.csv", "g.npz", "p.npz", "f.png"}) EXPECT_EQ(Contents(dir.filePath(name)), "old");
    }
}

// A write that fails (here past a file-size limit, as on a full disk) ends
// with status 1 and one line, the old file whole and nothing left beside it,
// for every kind of output, small (written at the end) or large.
TEST(RenderFaults, FileSizeLimitIsAWriteFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto in = [&](const char* name) { return dir.filePath(name).toStdString(); };
    const std::vector<std::vector<std::string>> rows = {
        {"-o", in("old.png")},
        {"--size", "20x20", "-o", in("old.png")},
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
        args.insert(args.begin(), {"--step", "0.5"});
        SCOPED_TRACE(testing::PrintToString(args));
        int err = -1;
        const pid_t pid = StartRender(args, nullptr, &err, [] {
            const rlimit limit{64, RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        ASSERT_GE(pid, 0);
        const std::string said = ReadAll(err);
        ExpectFailure({ExitStatus(pid), "", said}, 1, "File too large");
        EXPECT_EQ(Entries(dir.path()), before);
        for (const char* name : {"old.png", "old.csv", "old.npz", "old0.png"})
            EXPECT_EQ(Contents(dir.filePath(name)), "old");
    }
}

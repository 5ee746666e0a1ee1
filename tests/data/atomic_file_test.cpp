#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "data/atomic_file.h"
#include "data/folder_test_support.h"
#include "data/grid_export.h"
#include "data/npz_writer.h"
#include "model/compute_spaces.h"

using namespace orbitograph;
using namespace orbitograph::test;
namespace fs = std::filesystem;

namespace {

// Writes text through the atomic writer into the batch.
SaveResult Stage(const fs::path& target, const std::string& text, FileBatch& batch) {
    return WriteFileAtomically(
        target,
        [&](const ByteSink& sink) { return sink(text.data(), text.size()) ? Produced::Done : Produced::SinkFailed; },
        nullptr, &batch);
}

}  // namespace

// A raised stop flag ends a write with Stopped and the old file kept: the
// counts' row before a byte is written, the archive within a few megabytes
// of the moment it is raised (a 64 MB member; the flag raised once 1 MB is
// out).
TEST(AtomicFile, WritersStopSoonAfterTheFlag) {
    Folder folder;
    const fs::path old = folder.path / "old";
    ASSERT_TRUE(Put(old, "old"));
    const ModelParams p{.step = 0.5};
    const SpaceLists lists = ComputeSpaces(p, 500, 350).value();
    std::atomic<bool> raised{true};
    EXPECT_EQ(WriteGridCsv(old, {p, 500, 350, &lists, ""}, &raised).failure, SaveFailure::Stopped);
    EXPECT_EQ(Contents(old), "old");
    EXPECT_EQ(Entries(folder.path).size(), 1u);

    const std::vector<char> zeros(std::size_t{64} << 20);
    const std::vector<NpyMember> members = {{"big", "|u1", {zeros.size()}, zeros.data(), zeros.size()}};
    const int fd = memfd_create("archive", MFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::atomic<bool> stop{false};
    const auto size = [fd] {
        struct stat st {};
        fstat(fd, &st);
        return static_cast<std::size_t>(st.st_size);
    };
    std::jthread raiser([&](std::stop_token done) {
        while (!done.stop_requested() && size() < (std::size_t{1} << 20)) std::this_thread::yield();
        stop.store(true);
    });
    int systemError = 0;
    std::string error;
    EXPECT_EQ(WriteNpz(members, fd, systemError, error, &stop), Produced::Stopped) << error;
    raiser.request_stop();
    raiser.join();
    EXPECT_LT(size(), std::size_t{32} << 20);
    close(fd);
}

// A batch puts every file in place on its commit, or none when it goes away
// uncommitted; a rename that fails midway leaves the files before it in
// place, says how many, and removes the rest.
TEST(AtomicFile, ABatchCommitsEveryFileOrNone) {
    Folder folder;
    const fs::path a = folder.path / "a", b = folder.path / "b";
    ASSERT_TRUE(Put(a, "old a") && Put(b, "old b"));
    {
        FileBatch batch;
        ASSERT_TRUE(Stage(a, "new a", batch).Ok());
        ASSERT_TRUE(Stage(b, "new b", batch).Ok());
        EXPECT_EQ(Contents(a) + Contents(b), "old aold b");
        EXPECT_EQ(Entries(folder.path).size(), 4u);
    }
    EXPECT_EQ(Contents(a) + Contents(b), "old aold b");
    EXPECT_EQ(Entries(folder.path).size(), 2u);

    for (const bool breakSecond : {false, true}) {
        SCOPED_TRACE(breakSecond);
        FileBatch batch;
        ASSERT_TRUE(Stage(a, "new a", batch).Ok());
        ASSERT_TRUE(Stage(b, "new b", batch).Ok());
        // A folder put over the second target after its check.
        if (breakSecond) {
            ASSERT_TRUE(fs::remove(b) && fs::create_directory(b) && Put(b / "keep", ""));
        }
        std::size_t committed = 99;
        const SaveResult r = batch.Commit(committed);
        EXPECT_EQ(r.Ok(), !breakSecond);
        EXPECT_EQ(committed, breakSecond ? 1u : 2u);
        EXPECT_EQ(Contents(a), "new a");
        EXPECT_EQ(fs::is_directory(b) ? "folder" : Contents(b), breakSecond ? "folder" : "new b");
    }
    EXPECT_EQ(Entries(folder.path).size(), 2u);
    EXPECT_EQ(CheckTarget(b).failure, SaveFailure::NotRegularFile);
    EXPECT_TRUE(CheckTarget(a).Ok() && CheckTarget(folder.path / "absent").Ok());
}

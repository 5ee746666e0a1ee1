#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "data/analysis_text.h"
#include "data/folder_test_support.h"
#include "data/grid_export.h"
#include "data/plane_export.h"
#include "model/compute_spaces.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "reference_analysis.h"

using namespace orbitograph;
using namespace orbitograph::test;
namespace fs = std::filesystem;

namespace {

// A member of an archive as NumPy's format defines it, read independently of
// the writer: magic, version 1.0, a header padded to 64 bytes and ended by a
// line feed, then the raw data.
struct Npy {
    std::string name, descr, shape, data;
};

// The members in archive order; each must be stored uncompressed.
std::vector<Npy> ReadArchive(const fs::path& path) {
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, nullptr);
    if (!za) throw std::runtime_error("not a zip archive");
    const std::regex dict(R"(\{'descr': '([^']+)', 'fortran_order': False, 'shape': (\([0-9, ]*\)), \} *\n)");
    std::vector<Npy> members;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(zip_get_num_entries(za, 0)); ++i) {
        zip_stat_t st;
        zip_stat_index(za, i, 0, &st);
        EXPECT_EQ(st.comp_method, ZIP_CM_STORE) << st.name;
        std::string bytes(st.size, '\0');
        zip_file_t* f = zip_fopen_index(za, i, 0);
        EXPECT_EQ(zip_fread(f, bytes.data(), st.size), static_cast<zip_int64_t>(st.size));
        zip_fclose(f);
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x93NUMPY\x01\x00", 8)) << st.name;
        const std::size_t length = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
        EXPECT_EQ((10 + length) % 64, 0u) << st.name;
        std::smatch m;
        const std::string header = bytes.substr(10, length);
        EXPECT_TRUE(std::regex_match(header, m, dict)) << st.name << ": " << header;
        members.push_back({st.name, m[1], m[2], bytes.substr(10 + length)});
    }
    zip_close(za);
    return members;
}

template <typename Vector>
std::string Bytes(const Vector& v) {
    return {reinterpret_cast<const char*>(v.data()), v.size() * sizeof(v[0])};
}

std::string Shape(std::size_t a) { return "(" + std::to_string(a) + ",)"; }
std::string Shape(std::size_t a, std::size_t b) { return "(" + std::to_string(a) + ", " + std::to_string(b) + ")"; }

using Layout = std::tuple<std::string, std::string, std::string, std::size_t>;  // name, type, shape, bytes

}  // namespace

// Both archives: their members in order with their types and shapes, the
// data as computed; what does not fit the grid or the axes is refused.
TEST(NpzArchive, MembersInOrderWithTheirTypesAndShapes) {
    Folder folder;
    const ModelParams p{.step = 0.3};
    ComputeControl control;
    control.kindGrid = control.startPointEnds = true;
    const SpaceLists lists = ComputeSpaces(p, 500, 350, control).value();
    const GridExport e{p, 500, 350, &lists, "1.2.3"};
    std::string error;
    ASSERT_TRUE(WriteGridNpz(folder.path / "grid.npz", e, error).Ok()) << error;
    const std::vector<double> xs = AxisCoordinates(p.x1, p.x2, p.step), ys = AxisCoordinates(p.y1, p.y2, p.step);
    const std::size_t cols = xs.size(), rows = ys.size(), k = lists.attractors.size();
    const std::string meta = GridMetaJson(e);
    const Layout grid[] = {
        {"labels.npy", "|u1", Shape(rows, cols), rows * cols},
        {"x.npy", "<f8", Shape(cols), cols * 8},
        {"y.npy", "<f8", Shape(rows), rows * 8},
        {"end_x.npy", "<f8", Shape(rows, cols), rows * cols * 8},
        {"end_y.npy", "<f8", Shape(rows, cols), rows * cols * 8},
        {"attractors.npy", "<i4", Shape(k, 2), k * 8},
        {"meta.npy", "<U" + std::to_string(meta.size()), "()", meta.size() * 4},
    };
    std::vector<Npy> got = ReadArchive(folder.path / "grid.npz");
    ASSERT_EQ(got.size(), std::size(grid));
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_EQ(Layout(got[i].name, got[i].descr, got[i].shape, got[i].data.size()), grid[i]);
    EXPECT_EQ(got[1].data + got[2].data, Bytes(xs) + Bytes(ys));
    EXPECT_EQ(got[5].data, Bytes(lists.attractors));
    for (std::size_t i = 0; i < meta.size(); ++i)
        ASSERT_EQ(got[6].data.substr(4 * i, 4), std::string({meta[i], 0, 0, 0}));
    const SpaceLists bare = ComputeSpaces(p, 500, 350).value();
    EXPECT_THROW(WriteGridNpz(folder.path / "bare.npz", {p, 500, 350, &bare, ""}, error), std::invalid_argument);

    // The plane: the pair (i, j) at [j, i] of every count.
    const std::vector<double> v1 = {0.1, 0.2, 0.3}, v2 = {-1.0, 2.5};
    std::vector<ListCounts> counts;
    for (std::int64_t c = 0; c < 6; ++c) counts.push_back({c, c, c, c, 40 + c, c, c, c});
    ASSERT_TRUE(WritePlaneNpz(folder.path / "plane.npz", v1, v2, counts, error).Ok()) << error;
    got = ReadArchive(folder.path / "plane.npz");
    const char* const names[] = {"p1", "p2", "start_points", "attractors", "infinity", "zero", "T", "O", "M", "H"};
    ASSERT_EQ(got.size(), std::size(names));
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Layout expected = i < 2 ? Layout(names[i] + std::string(".npy"), "<f8", Shape(i == 0 ? 3 : 2), 24 - 8 * i)
                                      : Layout(names[i] + std::string(".npy"), "<i8", Shape(2, 3), 48);
        EXPECT_EQ(Layout(got[i].name, got[i].descr, got[i].shape, got[i].data.size()), expected);
    }
    EXPECT_EQ(got[0].data + got[1].data, Bytes(v1) + Bytes(v2));
    EXPECT_EQ(got[6].data, Bytes(std::vector<std::int64_t>{40, 41, 42, 43, 44, 45}));
    counts.pop_back();
    EXPECT_THROW(WritePlaneNpz(folder.path / "odd.npz", v1, v2, counts, error), std::invalid_argument);
    EXPECT_EQ(Entries(folder.path), (std::set<std::string>{"grid.npz", "plane.npz"}));
}

// With the analysis, the four columns follow the attractors, laid out as the
// labels, each the literal transcription's, and the meta ends with the merge
// distance and the catalogue (several attractors, some cycles joined). The
// columns' values over drawn sets are the model's tests'; the archive's
// meta read by NumPy, the Python module's.
TEST(NpzArchive, AnalysisColumnsAreTheReferences) {
    Folder folder;
    const ModelParams p{.a = 0.6, .step = 0.23, .dcOutward = 0, .dc = 0.9, .kc = 0.3, .iterations = 300};
    ComputeControl control;
    control.kindGrid = control.startPointEnds = control.analysis = true;
    control.attractorDelta = 0.7;
    const SpaceLists lists = ComputeSpaces(p, 500, 350, control).value();
    const GridExport e{p, 500, 350, &lists, "1.2.3", 0.7};
    std::string error;
    ASSERT_TRUE(WriteGridNpz(folder.path / "grid.npz", e, error).Ok()) << error;
    const std::vector<Npy> got = ReadArchive(folder.path / "grid.npz");
    ASSERT_EQ(got.size(), 11u);
    const GridAnalysis reference = reference::Analyse(p, 0.7);
    const auto cols = static_cast<std::size_t>(CountColumns(p)), rows = static_cast<std::size_t>(CountRows(p));
    const char* const names[] = {"exit_step.npy", "cycle_start.npy", "period.npy", "attractor.npy"};
    for (std::size_t k = 0; k < 4; ++k) {
        const Npy& m = got[6 + k];
        EXPECT_EQ(Layout(m.name, m.descr, m.shape, m.data.size()),
                  Layout(names[k], "<i4", Shape(rows, cols), rows * cols * 4));
        EXPECT_EQ(m.data, Bytes(GridRows(reference.Column(static_cast<AnalysisColumn>(k)), cols, rows))) << m.name;
    }
    EXPECT_TRUE(
        GridMetaJson(e).ends_with(", \"attractor_delta\": 0.7, \"analysis\": " + AnalysisJson(reference) + "}"));
}

// Every refusal or failure, however far the writing got, leaves the target as
// it was (absent, or its old bytes) and nothing beside it.
TEST(NpzArchive, FailuresLeaveTheTargetAsItWas) {
    Folder folder;
    const fs::path& dir = folder.path;
    // About 260 KB: larger than the small file system and the size limit.
    const std::vector<double> v1(64, 0.5), v2(64, 0.25);
    const std::vector<ListCounts> counts(64 * 64, ListCounts{1, 2, 3, 4, 5, 6, 7, 8});
    std::atomic<bool> raised{true};
    const bool root = geteuid() == 0;
    const auto old = [](const fs::path& p) { return Put(p, "old"); };
    struct Row {
        const char* name;
        fs::path target;
        std::function<bool()> make;  // false: cannot be made here
        SaveFailure failure;
        int error = 0;  // the system's error expected
        const std::atomic<bool>* stop = nullptr;
        rlim_t sizeLimit = RLIM_INFINITY;
    };
    const Row rows[] = {
        {"missing folder", dir / "missing/a.npz", [] { return true; }, SaveFailure::System, ENOENT},
        {"read-only folder", dir / "locked/a.npz",
         [&] {
             if (root) return folder.Mount(dir / "locked", "size=16k", MS_RDONLY);
             return fs::create_directory(dir / "locked") && chmod((dir / "locked").c_str(), 0555) == 0;
         },
         SaveFailure::System, root ? EROFS : EACCES},
        {"folder", dir / "folder", [&] { return fs::create_directory(dir / "folder"); }, SaveFailure::NotRegularFile},
        {"pipe", dir / "pipe", [&] { return mkfifo((dir / "pipe").c_str(), 0644) == 0; }, SaveFailure::NotRegularFile},
        {"device", dir / "null", [&] { return mknod((dir / "null").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0; },
         SaveFailure::NotRegularFile},
        {"dangling link", dir / "dangling", [&] { return symlink("nowhere", (dir / "dangling").c_str()) == 0; },
         SaveFailure::NotRegularFile},
        {"full disk", dir / "small/old.npz",
         [&] { return root && folder.Mount(dir / "small", "size=64k") && old(dir / "small/old.npz"); },
         SaveFailure::System, ENOSPC},
        {"file size limit", dir / "old.npz", [&] { return old(dir / "old.npz"); }, SaveFailure::System, EFBIG, nullptr,
         64 * 1024},
        {"stopped", dir / "old.npz", [] { return true; }, SaveFailure::Stopped, 0, &raised},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.make()) {
            std::printf("[  SKIPPED ] %s: cannot be made by this user\n", row.name);
            continue;
        }
        const fs::path parent = row.target.parent_path();
        const std::optional<std::set<std::string>> before =
            fs::exists(parent) ? std::optional(Entries(parent)) : std::nullopt;
        const std::string contents = fs::is_regular_file(row.target) ? Contents(row.target) : "";
        // Writes beyond the limit fail with EFBIG instead of raising SIGXFSZ.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limited{row.sizeLimit, saved.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
        std::string error;
        const SaveResult r = WritePlaneNpz(row.target, v1, v2, counts, error, row.stop);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_EQ(std::tuple(r.failure, r.systemError), std::tuple(row.failure, row.error)) << SaveFailureText(r);
        EXPECT_EQ(before ? std::optional(Entries(parent)) : std::nullopt, before);
        EXPECT_EQ(fs::is_regular_file(row.target) ? Contents(row.target) : "", contents);
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder") && fs::is_fifo(dir / "pipe") && fs::is_symlink(dir / "dangling"));

    // A link to a regular file stays a link; the file it names is replaced
    // and keeps its permission bits.
    ASSERT_TRUE(old(dir / "named.npz"));
    fs::create_symlink("named.npz", dir / "link.npz");
    fs::permissions(dir / "named.npz", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error;
    ASSERT_TRUE(WritePlaneNpz(dir / "link.npz", v1, v2, counts, error).Ok()) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.npz"));
    EXPECT_EQ(ReadArchive(dir / "named.npz").size(), 10u);
    EXPECT_EQ(fs::status(dir / "named.npz").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

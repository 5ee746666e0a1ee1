#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "data/grid_export.h"
#include "data/npz_writer.h"
#include "data/plane_export.h"
#include "model/compute_spaces.h"
#include "model/grid.h"

using namespace orbitograph;
namespace fs = std::filesystem;

namespace {

// A new folder, removed with what it holds (mounts undone) at the end.
struct Folder {
    fs::path path;
    std::vector<fs::path> mounts;
    Folder() {
        std::string name = (fs::temp_directory_path() / "npz_archive_test.XXXXXX").string();
        if (!mkdtemp(name.data())) throw std::runtime_error("no temporary folder");
        path = name;
    }
    ~Folder() {
        for (const fs::path& m : mounts) umount2(m.c_str(), MNT_DETACH);
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& e : fs::recursive_directory_iterator(path, ignored))
            if (e.is_directory()) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    // A folder of its own file system of this many bytes (root only).
    bool Mount(const fs::path& at, const char* options, unsigned long flags = 0) {
        fs::create_directory(at);
        if (mount("tmpfs", at.c_str(), "tmpfs", flags, options) != 0) return false;
        mounts.push_back(at);
        return true;
    }
};

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One member of an archive as NumPy's format defines it, read independently
// of the writer: magic, version 1.0, a header padded to 64 bytes and ended by
// a line feed, then the raw data.
struct Npy {
    std::string name;
    std::string descr;
    std::string shape;
    std::string data;
};

Npy ParseNpy(std::string name, const std::string& bytes) {
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x93NUMPY\x01\x00", 8)) << name;
    const std::size_t length = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
    const std::string header = bytes.substr(10, length);
    EXPECT_EQ((10 + length) % 64, 0u) << name;
    EXPECT_EQ(header.back(), '\n') << name;
    std::smatch m;
    const std::regex dict(R"(\{'descr': '([^']+)', 'fortran_order': False, 'shape': (\([0-9, ]*\)), \} *\n)");
    EXPECT_TRUE(std::regex_match(header, m, dict)) << name << ": " << header;
    return {std::move(name), m[1], m[2], bytes.substr(10 + length)};
}

// The members in archive order; each must be stored uncompressed.
std::vector<Npy> ReadArchive(const fs::path& path) {
    int error = 0;
    zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!za) throw std::runtime_error("not a zip archive");
    std::vector<Npy> members;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, static_cast<zip_uint64_t>(i), 0, &st);
        EXPECT_EQ(st.comp_method, ZIP_CM_STORE) << st.name;
        std::string bytes(st.size, '\0');
        zip_file_t* f = zip_fopen_index(za, static_cast<zip_uint64_t>(i), 0);
        EXPECT_EQ(zip_fread(f, bytes.data(), st.size), static_cast<zip_int64_t>(st.size));
        zip_fclose(f);
        members.push_back(ParseNpy(st.name, bytes));
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

}  // namespace

// Every header parses back to its type and shape, 0-d to 2-d.
TEST(NpzArchive, HeadersFollowTheNpyFormat) {
    const std::pair<NpyMember, const char*> rows[] = {
        {{"m", "<U12", {}}, "()"},
        {{"x", "<f8", {7}}, "(7,)"},
        {{"labels", "|u1", {401, 3}}, "(401, 3)"},
        {{"big", "<i8", {123456789012, 1, 5}}, "(123456789012, 1, 5)"},
    };
    for (const auto& [member, shape] : rows) {
        const Npy parsed = ParseNpy(member.name, NpyHeader(member));
        EXPECT_EQ(parsed.descr, member.descr);
        EXPECT_EQ(parsed.shape, shape);
        EXPECT_TRUE(parsed.data.empty());
    }
}

// The grid's archive: its members in order with their types and shapes, the
// coordinates and attractors as computed, and the description; a grid
// computed without its kinds and end points is refused with nothing written.
TEST(NpzArchive, GridMembersInOrder) {
    Folder folder;
    const ModelParams p{.step = 0.3};
    ComputeControl control;
    control.kindGrid = control.startPointEnds = true;
    const std::optional<SpaceLists> lists = ComputeSpaces(p, 500, 350, control);
    ASSERT_TRUE(lists.has_value());
    const GridExport e{p, 500, 350, &*lists, "1.2.3"};
    std::string error;
    ASSERT_TRUE(WriteGridNpz(folder.path / "grid.npz", e, error).Ok()) << error;
    const std::vector<double> xs = AxisCoordinates(p.x1, p.x2, p.step), ys = AxisCoordinates(p.y1, p.y2, p.step);
    const std::size_t cols = xs.size(), rows = ys.size();
    const std::string meta = GridMetaJson(e);
    const std::vector<Npy> got = ReadArchive(folder.path / "grid.npz");
    const std::tuple<const char*, std::string, std::string, std::size_t> expected[] = {
        {"labels.npy", "|u1", Shape(rows, cols), rows * cols},
        {"x.npy", "<f8", Shape(cols), cols * 8},
        {"y.npy", "<f8", Shape(rows), rows * 8},
        {"end_x.npy", "<f8", Shape(rows, cols), rows * cols * 8},
        {"end_y.npy", "<f8", Shape(rows, cols), rows * cols * 8},
        {"attractors.npy", "<i4", Shape(lists->attractors.size(), 2), lists->attractors.size() * 8},
        {"meta.npy", "<U" + std::to_string(meta.size()), "()", meta.size() * 4},
    };
    ASSERT_EQ(got.size(), std::size(expected));
    for (std::size_t i = 0; i < got.size(); ++i) {
        const auto& [name, descr, shape, size] = expected[i];
        using Layout = std::tuple<std::string, std::string, std::string, std::size_t>;
        EXPECT_EQ(Layout(got[i].name, got[i].descr, got[i].shape, got[i].data.size()),
                  Layout(name, descr, shape, size));
    }
    EXPECT_EQ(got[1].data, Bytes(xs));
    EXPECT_EQ(got[2].data, Bytes(ys));
    EXPECT_EQ(got[5].data, Bytes(lists->attractors));
    for (std::size_t i = 0; i < meta.size(); ++i)
        ASSERT_EQ(got[6].data.substr(4 * i, 4), std::string({meta[i], 0, 0, 0})) << i;

    const SpaceLists bare = *ComputeSpaces(p, 500, 350);
    EXPECT_THROW(WriteGridNpz(folder.path / "bare.npz", {p, 500, 350, &bare, ""}, error), std::invalid_argument);
    EXPECT_EQ(Entries(folder.path), std::set<std::string>{"grid.npz"});
}

// The plane's archive: both axes, then one int64 array per count, each
// [len(p2), len(p1)] with the pair (i, j) at [j, i]; counts that do not
// match the axes are refused.
TEST(NpzArchive, PlaneMembersInOrder) {
    Folder folder;
    const std::vector<double> v1 = {0.1, 0.2, 0.3}, v2 = {-1.0, 2.5};
    std::vector<ListCounts> counts;
    for (std::int64_t k = 0; k < 6; ++k) counts.push_back({k, 10 + k, 20 + k, 30 + k, 40 + k, 50 + k, 60 + k, 70 + k});
    std::string error;
    ASSERT_TRUE(WritePlaneNpz(folder.path / "plane.npz", v1, v2, counts, error).Ok()) << error;
    const std::vector<Npy> got = ReadArchive(folder.path / "plane.npz");
    const char* const names[] = {"p1", "p2", "start_points", "attractors", "infinity", "zero", "T", "O", "M", "H"};
    ASSERT_EQ(got.size(), std::size(names));
    for (std::size_t k = 0; k < got.size(); ++k) {
        SCOPED_TRACE(names[k]);
        EXPECT_EQ(got[k].name, std::string(names[k]) + ".npy");
        EXPECT_EQ(got[k].descr, k < 2 ? "<f8" : "<i8");
        EXPECT_EQ(got[k].shape, k == 0 ? Shape(3) : k == 1 ? Shape(2) : Shape(2, 3));
        if (k < 2) continue;
        std::vector<std::int64_t> expected;
        for (const ListCounts& c : counts) {
            const std::int64_t keys[] = {c.startPoints, c.attractors, c.infinity, c.zero, c.t, c.o, c.m, c.h};
            expected.push_back(keys[k - 2]);
        }
        EXPECT_EQ(got[k].data, Bytes(expected));
    }
    EXPECT_EQ(got[0].data, Bytes(v1));
    counts.pop_back();
    EXPECT_THROW(WritePlaneNpz(folder.path / "odd.npz", v1, v2, counts, error), std::invalid_argument);
}

// Every failure leaves the target as it was (absent, or its old bytes) and
// nothing beside it, however far the writing got.
TEST(NpzArchive, FailuresLeaveTheTargetAsItWas) {
    Folder folder;
    const fs::path& dir = folder.path;
    // About 300 KB: larger than the small file systems and limits below.
    const std::vector<double> v1(64, 0.5), v2(64, 0.25);
    const std::vector<ListCounts> counts(64 * 64, ListCounts{1, 2, 3, 4, 5, 6, 7, 8});
    std::atomic<bool> raised{true};
    const bool root = geteuid() == 0;
    struct Row {
        const char* name;
        fs::path target;
        std::function<bool()> make;  // false: cannot be made here
        SaveFailure failure;
        int error = 0;  // the system's error expected, 0 for none
        const std::atomic<bool>* stop = nullptr;
        rlim_t sizeLimit = RLIM_INFINITY;
    };
    const Row rows[] = {
        {"missing folder", dir / "missing" / "a.npz", [] { return true; }, SaveFailure::System, ENOENT},
        {"unwritable folder", dir / "locked" / "a.npz",
         [&] {
             if (root) return folder.Mount(dir / "locked", "size=16k", MS_RDONLY);
             return fs::create_directory(dir / "locked") && chmod((dir / "locked").c_str(), 0555) == 0;
         },
         SaveFailure::System, root ? EROFS : EACCES},
        {"target is a folder", dir / "folder", [&] { return fs::create_directory(dir / "folder"); },
         SaveFailure::NotRegularFile},
        {"full disk", dir / "small" / "old.npz",
         [&] {
             return root && folder.Mount(dir / "small", "size=64k") &&
                    (std::ofstream(dir / "small" / "old.npz") << "old");
         },
         SaveFailure::System, ENOSPC},
        {"file size limit", dir / "old.npz", [] { return true; }, SaveFailure::System, EFBIG, nullptr, 64 * 1024},
        {"stopped", dir / "old.npz", [] { return true; }, SaveFailure::Stopped, 0, &raised},
    };
    std::ofstream(dir / "old.npz") << "old";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.make()) {
            std::printf("[  SKIPPED ] %s: cannot be made by this user\n", row.name);
            continue;
        }
        const fs::path parent = row.target.parent_path();
        const bool existed = fs::exists(parent);
        const std::set<std::string> before = existed ? Entries(parent) : std::set<std::string>{};
        const std::string old = fs::is_regular_file(row.target) ? Contents(row.target) : "";
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
        EXPECT_EQ(r.failure, row.failure) << SaveFailureText(r);
        EXPECT_EQ(r.systemError, row.error) << SaveFailureText(r);
        if (existed) {
            EXPECT_EQ(Entries(parent), before);
        }
        if (!old.empty()) {
            EXPECT_EQ(Contents(row.target), old);
        }
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
}

#pragma once

#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace orbitograph::test {

// A new folder, removed with what it holds, its mounts undone first.
struct Folder {
    std::filesystem::path path;
    std::vector<std::filesystem::path> mounts;
    Folder() {
        std::string name = (std::filesystem::temp_directory_path() / "data_test.XXXXXX").string();
        if (!mkdtemp(name.data())) throw std::runtime_error("no temporary folder");
        path = name;
    }
    ~Folder() {
        for (const std::filesystem::path& m : mounts) umount2(m.c_str(), MNT_DETACH);
        std::error_code ignored;
        std::filesystem::permissions(path / "locked", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    // A small file system of its own at `at` (only root may mount).
    bool Mount(const std::filesystem::path& at, const char* options, unsigned long flags = 0) {
        if (!std::filesystem::create_directory(at) || mount("tmpfs", at.c_str(), "tmpfs", flags, options) != 0)
            return false;
        mounts.push_back(at);
        return true;
    }
};

// Every name in the folder.
inline std::set<std::string> Entries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

// The file's bytes; empty when it cannot be read.
inline std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Put(const std::filesystem::path& file, const std::string& text) {
    return static_cast<bool>(std::ofstream(file) << text);
}

}  // namespace orbitograph::test

#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orbitograph {

enum class SaveFailure {
    None,
    NoPicture,       // a null canvas: nothing is written
    NotRegularFile,  // the target exists and is neither a regular file nor a link to one
    Stopped,         // the stop flag was raised before the rename
    System,          // a system call failed; systemError holds its errno
};

struct SaveResult {
    SaveFailure failure = SaveFailure::None;
    int systemError = 0;
    bool Ok() const { return failure == SaveFailure::None; }
};

// The reason of a failure as one line of English (the system's text for a
// failed call).
std::string SaveFailureText(const SaveResult& result);

// Takes the bytes of a file in order; false when it cannot take them.
using ByteSink = std::function<bool(const char* data, std::size_t size)>;

// What a producer of a file's bytes reports.
enum class Produced { Done, SinkFailed, Stopped, NoMemory };

// Whether path may be written: absent, a regular file or a link to one
// (NotRegularFile otherwise, or the failure of the call that looked). What
// the writers below check first; a caller writing several files checks
// every target before writing any.
SaveResult CheckTarget(const std::filesystem::path& path);

// Finished files held beside their targets until every file of a set is
// written, then put in place together. A writer given a batch leaves its
// temporary file, complete and synced to disk, in the batch instead of
// renaming it. Whatever was not committed is removed when the batch goes
// away, leaving every target as it was.
class FileBatch {
public:
    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Renames every file over its target, in the order they were added, and
    // syncs their folders. On a failure the files before it stay in place
    // (committed tells how many) and the rest are removed.
    SaveResult Commit(std::size_t& committed);

    void Add(std::string temporary, std::filesystem::path target);

private:
    struct Pending {
        std::string temporary;
        std::filesystem::path target;
    };
    std::vector<Pending> m_files;
};

// Writes the bytes that produce gives to its sink under exactly this path.
// They go to a new file beside the target (the target of a symbolic link,
// which stays a link), every write is checked, the file is synced to disk
// and closed, and only then renamed over the target; the folder is synced
// after. Any failure removes the temporary file, so the target keeps its old
// contents (or stays absent) and nothing else is left. A target that exists
// and is not a regular file (a device, a pipe, a folder, a dangling link) is
// refused before anything is written. A replaced file's permission bits
// carry over; a new one gets 0666 less the umask. stop, when given, is read
// before producing, by produce as it likes, between every 8 MB synced to
// disk and once more before the rename: a raised flag ends the write with
// Stopped within that much work. With a batch the finished file waits in it
// for the batch's commit. Not safe against another process replacing the
// target between the check and the rename.
SaveResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<Produced(const ByteSink&)>& produce,
                               const std::atomic<bool>* stop = nullptr, FileBatch* batch = nullptr);

// The same for a producer that writes the file itself: it gets the new
// file's descriptor, open for writing at offset 0 (it may seek), and on a
// failure sets error to the errno of the call that failed (0 when none did).
// The descriptor stays the writer's: the producer must not close it.
SaveResult WriteFileAtomicallyToFd(const std::filesystem::path& path,
                                   const std::function<Produced(int fd, int& error)>& produce,
                                   const std::atomic<bool>* stop = nullptr, FileBatch* batch = nullptr);

}  // namespace orbitograph

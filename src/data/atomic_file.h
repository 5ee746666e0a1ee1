#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

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

// Writes the bytes that produce gives to its sink under exactly this path.
// They go to a new file beside the target (the target of a symbolic link,
// which stays a link), every write is checked, the file is synced to disk
// and closed, and only then renamed over the target; the folder is synced
// after. Any failure removes the temporary file, so the target keeps its old
// contents (or stays absent) and nothing else is left. A target that exists
// and is not a regular file (a device, a pipe, a folder, a dangling link) is
// refused before anything is written. A replaced file's permission bits
// carry over; a new one gets 0666 less the umask. stop, when given, is read
// once more before the rename (produce reads it as it likes). Not safe
// against another process replacing the target between the check and the
// rename.
SaveResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<Produced(const ByteSink&)>& produce,
                               const std::atomic<bool>* stop = nullptr);

// The same for a producer that writes the file itself: it gets the new
// file's descriptor, open for writing at offset 0 (it may seek), and on a
// failure sets error to the errno of the call that failed (0 when none did).
// The descriptor stays the writer's: the producer must not close it.
SaveResult WriteFileAtomicallyToFd(const std::filesystem::path& path,
                                   const std::function<Produced(int fd, int& error)>& produce,
                                   const std::atomic<bool>* stop = nullptr);

}  // namespace orbitograph

#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <filesystem>
#include <string>

#include "model/model_params.h"

namespace orbitograph {

// Key of the PNG text chunk that records how a picture was computed.
inline constexpr const char* kPngTextKey = "Orbitograph";

// One line naming every parameter of the computation and the origin, so the
// picture can be made again.
QString DescribeComputation(const ModelParams& p, int originX, int originY);

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

// The bytes by which the file system knows a name that Qt gives as text.
std::filesystem::path NativePath(const QString& name);

// Writes the canvas as PNG (see EncodePng) under exactly this path, with the
// description in a text chunk of key kPngTextKey. The picture goes to a new
// file beside the target (the target of a symbolic link, which stays a
// link), every write is checked, the file is synced to disk and closed, and
// only then renamed over the target; the folder is synced after. Any failure
// removes the temporary file, so the target keeps its old contents (or stays
// absent) and nothing else is left. A target that exists and is not a
// regular file (a device, a pipe, a folder, a dangling link) is refused
// before anything is written. A replaced file's permission bits carry over;
// a new one gets 0666 less the umask. stop, when given, is read before every
// row of the picture and once more before the rename. Not safe against
// another process replacing the target between the check and the rename.
SaveResult SavePngAtomically(const QImage& canvas, const std::filesystem::path& path, const QString& description,
                             const std::atomic<bool>* stop = nullptr);

}  // namespace orbitograph

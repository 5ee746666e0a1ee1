#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <filesystem>
#include <string>

#include "data/atomic_file.h"

namespace orbitograph {

// Key of the PNG text chunk that records how a picture was computed.
inline constexpr const char* kPngTextKey = "Orbitograph";

// The bytes by which the file system knows a name that Qt gives as text.
std::filesystem::path NativePath(const QString& name);

// Writes the canvas as PNG (see EncodePng) under exactly this path, with the
// description in a text chunk of key kPngTextKey, atomically as
// WriteFileAtomically says. stop, when given, is read before every row of
// the picture and as WriteFileAtomically reads it; with a batch the file
// waits in it for the batch's commit.
SaveResult SavePngAtomically(const QImage& canvas, const std::filesystem::path& path, const QString& description,
                             const std::atomic<bool>* stop = nullptr, FileBatch* batch = nullptr);

}  // namespace orbitograph

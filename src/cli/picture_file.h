#pragma once

#include <QByteArray>
#include <QImage>
#include <string>

namespace orbitograph {

// Reads a picture from the file with exactly these name bytes. Only a
// regular file (or a link to one) is read; anything else (a pipe, a device,
// a folder) is refused without waiting for it. On failure returns a null
// image and the reason as one line of English.
// The whole contents of a regular file (or a link to one) with exactly these
// name bytes, refusing anything else without waiting for it. On failure
// returns false with the reason as one line of English.
bool ReadRegularFile(const std::string& name, QByteArray& bytes, std::string& why);

QImage ReadPictureFile(const std::string& name, std::string& why);

}  // namespace orbitograph

#pragma once

#include <QImage>
#include <string>

namespace orbitograph {

// Reads a picture from the file with exactly these name bytes. Only a
// regular file (or a link to one) is read; anything else (a pipe, a device,
// a folder) is refused without waiting for it. On failure returns a null
// image and the reason as one line of English.
QImage ReadPictureFile(const std::string& name, std::string& why);

}  // namespace orbitograph

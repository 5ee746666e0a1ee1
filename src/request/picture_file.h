#pragma once

// Pictures read from files by name: a legend picture, and the description a
// picture saved by this program carries (Qt Gui).

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string>

#include "request/request.h"

namespace orbitograph {

// The whole contents of a regular file (or a link to one) with exactly these
// name bytes, refusing anything else (a pipe, a device, a folder) without
// waiting for it. On failure returns false with the reason as one line of
// English.
bool ReadRegularFile(const std::string& name, QByteArray& bytes, std::string& why);

// A picture from the regular file with exactly these name bytes, drawn one
// file pixel per canvas pixel whatever it says of its resolution. On failure
// returns a null image and the reason as one line of English.
QImage ReadPictureFile(const std::string& name, std::string& why);

// The legend picture the display asks for: its file (a failure sets why to
// "cannot read 'FILE': reason" and returns a null image), or when it names
// none the one LoadLegendPicture finds from programDir (a null image when
// there is none, which is no failure).
QImage LegendPictureFor(const DisplayRequest& display, const QString& programDir, std::string& why);

// The description a picture saved by this program carries (its text chunk
// of key kPngTextKey), read from the file with exactly these name bytes;
// only a regular file is read. width and height are the picture's. On
// failure returns false with why set to one line naming what is wrong.
struct PictureDescription {
    std::string text;  // UTF-8
    int width = 0;
    int height = 0;
};
bool ReadPictureDescription(const std::string& file, PictureDescription& out, std::string& why);

}  // namespace orbitograph

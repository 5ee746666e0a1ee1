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

// Why a picture's description could not be read.
enum class PictureReason {
    None,
    System,          // a call failed: systemError holds its errno (no such file, no permission)
    NotRegularFile,  // a folder, a pipe, a device
    NotPng,          // the file does not begin as a PNG picture does
    Malformed,       // its chunks are cut short or damaged
    NoDescription,   // no text chunk of key kPngTextKey
    TooLarge,        // the description is longer than kMaxPngTextBytes
    Compressed,      // the description is compressed, which this program never writes
};

// The description a picture saved by this program carries (its text chunk
// of key kPngTextKey, its bytes as written), read from the file with exactly
// these name bytes; only a regular file is read, and of it only the chunks
// before the description, their headers but for the description's (see
// ReadPngText). width and height are the picture's.
struct PictureDescription {
    std::string text;  // UTF-8
    int width = 0;
    int height = 0;
    PictureReason reason = PictureReason::None;
    int systemError = 0;
};
PictureDescription ReadPictureDescription(const std::string& file);

// The reason as one line of English ("not a PNG picture").
std::string PictureReasonText(PictureReason reason, int systemError);

}  // namespace orbitograph

#pragma once

#include <QImage>
#include <QString>

namespace orbitograph {

// File name of the legend picture, without a directory.
inline constexpr const char* kLegendPictureFile = "bitmap3.bmp";

// Loads the legend picture once: "bitmap3.bmp" in the current directory
// first, then the copy installed with the program (beside the executable,
// then the installed data folder). A null image when none can be read; the
// panel then takes its no-picture layout.
QImage LoadLegendPicture(const QString& applicationDir);

}  // namespace orbitograph

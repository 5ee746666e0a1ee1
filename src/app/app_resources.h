#pragma once

#include <QIcon>
#include <QString>

namespace orbitograph {

// Registers the program's embedded resources (icon, manual); safe to call
// more than once.
void InitAppResources();

// The program's icon, 16 x 16 and 32 x 32.
QIcon ProgramIcon();

// The manual's table of contents in the resource system.
inline constexpr const char* kHelpContentsUrl = "qrc:/help/index.html";

}  // namespace orbitograph

#pragma once

// Qt's Gui for the command and the module, which draw on the offscreen
// platform whatever the environment asks for: a picture must depend neither
// on a display nor on the caller's settings.

#include <QGuiApplication>
#include <memory>

namespace orbitograph {

// Qt's own notices (a missing runtime folder, font support, allocation
// limits) are not the caller's to see: every failure that matters is
// reported by the program itself. Only a fatal message is printed, as
// "PROGRAM: message" on standard error, before Qt ends the process.
// program must outlive every later message.
void QuietQtNotices(const char* program);

// Makes the application object on the offscreen platform, with Qt's notices
// quietened as above, unless the process has one already (then null). The
// caller keeps the object for as long as it draws.
std::unique_ptr<QGuiApplication> StartOffscreenGui(const char* program);

}  // namespace orbitograph

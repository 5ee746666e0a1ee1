#pragma once

#include <QString>

namespace orbitograph {

struct SaveResult;

// Why the file at path could not be written, in Russian: the common causes
// by name, any other by the system's error number. A missing entry is told
// apart from a folder that exists but takes no new file (such as /proc).
QString SaveFailureReason(const SaveResult& r, const QString& path);

}  // namespace orbitograph

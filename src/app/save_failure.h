#pragma once

#include <QString>

namespace orbitograph {

struct SaveResult;

// Why a file could not be written, in Russian for the common causes and in
// the system's own words otherwise.
QString SaveFailureReason(const SaveResult& r);

}  // namespace orbitograph

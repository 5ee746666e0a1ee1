#pragma once

#include <QImage>
#include <cstdint>

#include "model/report.h"

namespace orbitograph {

inline constexpr QRgb kParameterTextColour = 0xFF006400;

// Writes the report lines (UTF-8) in dark green Arial of fontSize pixels down
// the left edge: the first line's layout box at (0, 0), each next one at
// y = trunc(y + line spacing + 1). A size below 1 makes no font and draws
// nothing; an empty report draws nothing.
void DrawParameterText(QImage& canvas, const ReportLines& report, std::int32_t fontSize);

}  // namespace orbitograph

#pragma once

#include <cstdint>

namespace orbitograph {

// What the settings sheet edits: the five display switches, each 0 or 1
// (only exactly 1 counts as on), and the parameter text's font size in
// pixels. The defaults are the program's at start-up.
struct DisplaySwitches {
    std::int32_t m_twoModes = 1;
    std::int32_t m_showParams = 1;
    std::int32_t m_showLegend = 0;
    std::int32_t m_showGrid = 0;
    std::int32_t m_aSymmetry = 0;
    std::int32_t m_fontSize = 13;
    friend bool operator==(const DisplaySwitches&, const DisplaySwitches&) = default;
};

}  // namespace orbitograph

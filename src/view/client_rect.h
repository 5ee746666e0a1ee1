#pragma once

#include <cstdint>

namespace orbitograph {

// Client area of a repaint, pixels; left and top are always 0.
struct ClientRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const ClientRect&, const ClientRect&) = default;
};

}  // namespace orbitograph

#pragma once

#include <cstdint>
#include <vector>

#include "model/point_list.h"
#include "view/fitted_layers.h"

namespace orbitograph {

// Orbits ending in each pixel of the attractor panel, counted once and kept
// while the lists and the layout stay the same, so that a repaint or a
// readout under the cursor does not walk the end points again. Lists are
// recognised by their storage and size: whoever puts new lists in place
// calls Clear. For one thread at a time.
class EndCounts {
public:
    // The fitted display's density for a square of this side (with the copy's
    // when withCopy), as EndPointDensity counts it.
    const EndDensity& Density(const AttractorEnds& ends, std::int32_t side, bool withCopy);

    // The classic display: how many attractor pixels, moved right by shift,
    // are (x, y) of a client of the given size; 0 outside it.
    std::int64_t AtPixel(const PointList& attractors, std::int32_t shift, std::int32_t width, std::int32_t height,
                         std::int32_t x, std::int32_t y);

    void Clear();

private:
    struct Key {
        const void* data = nullptr;
        std::size_t size = 0;
        std::int32_t a = -1;  // side, or shift
        std::int32_t b = -1;  // width
        std::int32_t c = -1;  // height
        friend bool operator==(const Key&, const Key&) = default;
    };
    Key m_densityKey;
    bool m_densityCopy = false;
    EndDensity m_density;
    Key m_pixelKey;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace orbitograph

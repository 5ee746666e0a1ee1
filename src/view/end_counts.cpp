#include "view/end_counts.h"

namespace orbitograph {

const EndDensity& EndCounts::Density(const AttractorEnds& ends, std::int32_t side, bool withCopy) {
    const Key key{ends.x.data(), ends.size(), side};
    if (key != m_densityKey || (withCopy && !m_densityCopy)) {
        m_densityKey = {};
        m_density = EndPointDensity(ends, side, withCopy);
        m_densityKey = key;
        m_densityCopy = withCopy;
    }
    return m_density;
}

std::int64_t EndCounts::AtPixel(const PointList& attractors, std::int32_t shift, std::int32_t width,
                                std::int32_t height, std::int32_t x, std::int32_t y) {
    if (width < 1 || height < 1 || x < 0 || y < 0 || x >= width || y >= height) return 0;
    const Key key{attractors.data(), attractors.size(), shift, width, height};
    if (key != m_pixelKey) {
        m_pixelKey = {};
        m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        for (const Point& p : attractors) {
            const std::int64_t px = std::int64_t{p.x} + shift;
            if (px >= 0 && px < width && p.y >= 0 && p.y < height)
                ++m_pixels[static_cast<std::size_t>(p.y) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(px)];
        }
        m_pixelKey = key;
    }
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

void EndCounts::Clear() {
    m_densityKey = {};
    m_pixelKey = {};
    m_density = {};
    m_pixels = {};
}

}  // namespace orbitograph

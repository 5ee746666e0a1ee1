#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/model_params.h"

namespace orbitograph {

// A new start rectangle asked for by a zoom, in model coordinates (either
// order); it is clamped to [-2, 2] on both axes.
struct ZoomBox {
    double xa;
    double xb;
    double ya;
    double yb;
};

// What a zoom gives: the parameters to compute, or a refusal (a Russian,
// UTF-8 sentence for the status bar) with nothing to compute; neither when
// the zoom changes nothing (an empty box, or the same parameters).
struct ZoomResult {
    std::optional<ModelParams> params;
    std::string refusal;
};

// The parameters for the box: the other parameters as they are; the step as
// it is (keepDetail false) or chosen so that the longer side of the new grid
// has as many grid points as the longer side of the old one. Refused when the
// step would fall below kMinStep or the grid exceed kMaxStartPoints.
ZoomResult ZoomTo(const ModelParams& p, const ZoomBox& box, bool keepDetail);

// The box of the rectangle scaled by 1 / factor about the model point
// (x, y), which keeps its place in the rectangle: factor 2 zooms in, 0.5 out.
ZoomBox ScaledBox(const ModelParams& p, double x, double y, double factor);

// The parameter sets computed so far, in order, and the one shown. Pushing
// drops every set after the shown one; Back and Forward move by one set, Home
// to the last set at or before the shown one that did not come from a zoom.
class ParamHistory {
public:
    void Push(const ModelParams& p, bool fromZoom);
    std::optional<ModelParams> Back() const;
    std::optional<ModelParams> Forward() const;
    std::optional<ModelParams> Home() const;
    // Makes the set that Back, Forward or Home returned the shown one.
    void MoveBack() { --m_shown; }
    void MoveForward() { ++m_shown; }
    void MoveHome() { m_shown = HomeIndex(); }
    std::size_t Size() const { return m_sets.size(); }
    std::size_t Shown() const { return m_shown; }

private:
    std::size_t HomeIndex() const;
    struct Entry {
        ModelParams params;
        bool fromZoom;
    };
    std::vector<Entry> m_sets;
    std::size_t m_shown = 0;
};

}  // namespace orbitograph

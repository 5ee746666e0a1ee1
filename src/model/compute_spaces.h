#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph {

// How a computation may be steered from outside. All members are optional.
struct ComputeControl {
    // Worker threads, the calling one included; 0 means every core of the
    // machine (std::thread::hardware_concurrency).
    int threads = 0;
    // Polled before every block of start points, from any worker thread; once
    // true, the computation stops and returns no result (also when it is set
    // while the last blocks finish).
    const std::atomic<bool>* cancel = nullptr;
    // Called with the fraction of the work done, in (0, 1], counted in map
    // steps (each finished orbit as iterations + 1 steps): after every block
    // and, within long orbits, every few hundred thousand steps, so that it
    // moves many times a second on any grid. Called from the worker threads
    // (the calling thread is one of them); calls from different threads may
    // overlap and arrive out of order; the largest is 1 once every start
    // point is done (an empty grid reports 1 once). It must be cheap and
    // thread-safe.
    std::function<void(double)> progress;
    // Also the attractors' exact end points (SpaceLists::attractorEnds), at
    // 16 bytes per attractor.
    bool attractorEnds = false;
    // Also the kind of every start point (SpaceLists::kinds), 1 byte each.
    bool kindGrid = false;
    // Also the end point of every start point (SpaceLists::startPointEnds),
    // 16 bytes each.
    bool startPointEnds = false;
    // Also the analysis of every orbit and the attractor catalogue
    // (SpaceLists::analysis, grid_analysis.h), 16 bytes per start point, with
    // attractor cycles merged within attractorDelta. Requires CheckAnalysis to
    // accept the parameters and the distance; std::invalid_argument otherwise.
    bool analysis = false;
    double attractorDelta = kDefaultAttractorDelta;
};

// Both spaces of one computation: every start point is iterated once and its
// end point serves the attractor list and the basin classification alike.
// Requires parameters that CheckParameters accepts and an acceptable origin;
// throws std::invalid_argument otherwise.
// Returns no value when cancelled; throws std::bad_alloc when memory runs out.
std::optional<SpaceLists> ComputeSpaces(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        const ComputeControl& control = {});

// The sizes of the seven lists of one computation (counts of start points,
// repeats included) and the number of its start points.
struct ListCounts {
    std::int64_t startPoints = 0;
    std::int64_t attractors = 0;
    std::int64_t infinity = 0;
    std::int64_t zero = 0;
    std::int64_t t = 0;
    std::int64_t o = 0;
    std::int64_t m = 0;
    std::int64_t h = 0;
    friend bool operator==(const ListCounts&, const ListCounts&) = default;
};

// The counts of the lists that ComputeSpaces returned for these parameters.
ListCounts CountsOf(const ModelParams& p, const SpaceLists& lists);

}  // namespace orbitograph

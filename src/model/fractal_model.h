#pragma once

#include <cstdint>

#include "model/compute_spaces.h"
#include "model/model_params.h"
#include "model/point_list.h"
#include "model/report.h"

namespace orbitograph {

// Refused: the parameters or the origin did not pass their checks; nothing
// was computed.
enum class ComputeStatus { Done, Cancelled, OutOfMemory, Refused };

// The model record: the seven point lists (its SpaceLists base), the
// parameters (its ModelParams base), the report and the origin. Each
// computation either completes or leaves everything as it was: new lists are
// filled aside and put in place only when whole.
class FractalModel : public SpaceLists, public ModelParams {
public:
    ReportLines report;
    std::int32_t originX = 0;
    std::int32_t originY = 0;

    ModelParams Params() const { return *this; }
    void SetParams(const ModelParams& p) { static_cast<ModelParams&>(*this) = p; }

    // Each of the three computations refills only what it owns; on
    // std::bad_alloc it rethrows with its lists unchanged. The parameters
    // must have passed CheckParameters.
    void ComputeAttractors();
    void ComputeBasins();
    void MakeReport();

    // All three at once, sharing one iteration per start point. Cancelled
    // and OutOfMemory leave the lists and the report exactly as they were.
    ComputeStatus Compute(const ComputeControl& control = {});

    // Puts finished lists in place (moves only, cannot fail). The report is
    // left alone: call MakeReport, or use Compute, which does both.
    void Install(SpaceLists&& lists) noexcept;

    // Moves the seven lists out, leaving them empty.
    SpaceLists TakeLists();
};

}  // namespace orbitograph

#include "model/fractal_model.h"

#include <stdexcept>

#include <new>
#include <utility>

namespace orbitograph {

void FractalModel::ComputeAttractors() {
    ComputeControl control;
    std::optional<SpaceLists> lists = ComputeSpaces(Params(), originX, originY, control);
    attractors = std::move(lists->attractors);
}

void FractalModel::ComputeBasins() {
    std::optional<SpaceLists> lists = ComputeSpaces(Params(), originX, originY);
    basinInfinity = std::move(lists->basinInfinity);
    basinM = std::move(lists->basinM);
    basinO = std::move(lists->basinO);
    basinH = std::move(lists->basinH);
    basinT = std::move(lists->basinT);
    basinZero = std::move(lists->basinZero);
}

void FractalModel::MakeReport() { report = BuildReport(Params(), CountsOf(Params(), *this)); }

ComputeStatus FractalModel::Compute(const ComputeControl& control) {
    try {
        std::optional<SpaceLists> lists = ComputeSpaces(Params(), originX, originY, control);
        if (!lists) return ComputeStatus::Cancelled;
        ReportLines lines = BuildReport(Params(), CountsOf(Params(), *lists));
        Install(std::move(*lists));
        report = std::move(lines);
        return ComputeStatus::Done;
    } catch (const std::bad_alloc&) {
        return ComputeStatus::OutOfMemory;
    } catch (const std::invalid_argument&) {
        return ComputeStatus::Refused;
    }
}

void FractalModel::Install(SpaceLists&& lists) noexcept { static_cast<SpaceLists&>(*this) = std::move(lists); }

SpaceLists FractalModel::TakeLists() { return std::exchange(static_cast<SpaceLists&>(*this), SpaceLists{}); }

}  // namespace orbitograph

#include "model/fractal_model.h"

#include <stdexcept>

#include <new>
#include <utility>

namespace orbitograph {

ModelParams FractalModel::Params() const {
    ModelParams p;
    p.x1 = x1;
    p.x2 = x2;
    p.y1 = y1;
    p.y2 = y2;
    p.a = a;
    p.step = step;
    p.dcOutward = dcOutward;
    p.kcOutward = kcOutward;
    p.dc = dc;
    p.kc = kc;
    p.iterations = iterations;
    return p;
}

void FractalModel::SetParams(const ModelParams& p) {
    dcOutward = p.dcOutward;
    kcOutward = p.kcOutward;
    x1 = p.x1;
    iterations = p.iterations;
    x2 = p.x2;
    y1 = p.y1;
    y2 = p.y2;
    a = p.a;
    step = p.step;
    dc = p.dc;
    kc = p.kc;
}

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

void FractalModel::MakeReport() { report = BuildReport(Params(), ListCounts::Of(*this)); }

ComputeStatus FractalModel::Compute(const ComputeControl& control) {
    try {
        std::optional<SpaceLists> lists = ComputeSpaces(Params(), originX, originY, control);
        if (!lists) return ComputeStatus::Cancelled;
        ReportLines lines = BuildReport(Params(), ListCounts::Of(*lists));
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

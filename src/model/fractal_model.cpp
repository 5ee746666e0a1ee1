#include "model/fractal_model.h"

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

void FractalModel::MakeReport() {
    ListCounts c;
    c.attractors = static_cast<std::int64_t>(attractors.size());
    c.infinity = static_cast<std::int64_t>(basinInfinity.size());
    c.zero = static_cast<std::int64_t>(basinZero.size());
    c.t = static_cast<std::int64_t>(basinT.size());
    c.o = static_cast<std::int64_t>(basinO.size());
    c.m = static_cast<std::int64_t>(basinM.size());
    c.h = static_cast<std::int64_t>(basinH.size());
    report = BuildReport(Params(), c);
}

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
    }
}

void FractalModel::Install(SpaceLists&& lists) noexcept {
    attractors = std::move(lists.attractors);
    basinInfinity = std::move(lists.basinInfinity);
    basinM = std::move(lists.basinM);
    basinO = std::move(lists.basinO);
    basinH = std::move(lists.basinH);
    basinT = std::move(lists.basinT);
    basinZero = std::move(lists.basinZero);
}

SpaceLists FractalModel::TakeLists() {
    SpaceLists s;
    s.attractors = std::move(attractors);
    s.basinInfinity = std::move(basinInfinity);
    s.basinM = std::move(basinM);
    s.basinO = std::move(basinO);
    s.basinH = std::move(basinH);
    s.basinT = std::move(basinT);
    s.basinZero = std::move(basinZero);
    return s;
}

}  // namespace orbitograph

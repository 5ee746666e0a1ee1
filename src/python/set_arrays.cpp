#include "python/set_arrays.h"

#include <pybind11/numpy.h>

#include <initializer_list>
#include <utility>

#include "data/counts_text.h"
#include "python/interruptible.h"

namespace py = pybind11;

namespace orbitograph::python {

namespace {

template <class T>
py::array_t<T> Column(const std::vector<T>& v) {
    return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
}

py::dict Columns(std::initializer_list<std::pair<const char*, py::array>> columns, py::dict out = {}) {
    for (const auto& [name, array] : columns) out[name] = array;
    return out;
}

std::vector<SetAnalysis> Analysed(const std::vector<ModelParams>& sets, const SetAnalysisRequest& request,
                                  int threads) {
    return *RunInterruptibly([&](const std::atomic<bool>& cancel) {
        ComputeControl control;
        control.threads = threads;
        control.cancel = &cancel;
        return AnalyseSets(sets, request, control);
    });
}

}  // namespace

py::dict AnalysedSets(const std::vector<ModelParams>& sets, const SetAnalysisRequest& request, int threads) {
    const std::vector<SetAnalysis> analysed = Analysed(sets, request, threads);
    constexpr auto kKeys = static_cast<py::ssize_t>(std::size(kCountKeys));
    py::array_t<std::int64_t> counts({static_cast<py::ssize_t>(analysed.size()), kKeys});
    std::vector<std::int32_t> cycles;
    std::vector<double> sb, sbb, alpha;
    std::vector<std::int64_t> boundary, boxes;
    auto table = counts.mutable_unchecked<2>();
    for (std::size_t i = 0; i < analysed.size(); ++i) {
        const SetAnalysis& s = analysed[i];
        const auto row = CountValues(s.counts);
        for (py::ssize_t k = 0; k < kKeys; ++k)
            table(static_cast<py::ssize_t>(i), k) = row[static_cast<std::size_t>(k)];
        cycles.push_back(static_cast<std::int32_t>(s.attractors.size()));
        if (!s.metrics) continue;
        sb.push_back(s.metrics->sb);
        sbb.push_back(s.metrics->sbb);
        alpha.push_back(s.metrics->alpha);
        boundary.push_back(s.metrics->boundaryBoxes);
        boxes.push_back(s.metrics->boxes);
    }
    py::dict out;
    out["counts"] = counts;
    if (request.analysis) out["cycles"] = Column(cycles);
    if (!request.metrics.wanted) return out;
    return Columns({{"Sb", Column(sb)},
                    {"Sbb", Column(sbb)},
                    {"alpha", Column(alpha)},
                    {"boundary_boxes", Column(boundary)},
                    {"boxes", Column(boxes)}},
                   out);
}

py::dict TrackColumns(const std::vector<ModelParams>& sets, const std::vector<double>& values, double delta,
                      double tolerance, int threads) {
    SetAnalysisRequest request;
    request.analysis = true;
    request.delta = delta;
    const std::vector<TrackPoint> points =
        ContinueAttractors(Catalogues(sets, Analysed(sets, request, threads)), tolerance);
    std::vector<double> value, x, y, share;
    std::vector<std::int32_t> track, attractor, period;
    for (const TrackPoint& t : points) {
        value.push_back(values[static_cast<std::size_t>(t.value)]);
        track.push_back(t.track);
        attractor.push_back(t.attractor);
        period.push_back(t.period);
        x.push_back(t.x);
        y.push_back(t.y);
        share.push_back(t.share);
    }
    return Columns({{"value", Column(value)},
                    {"track", Column(track)},
                    {"attractor", Column(attractor)},
                    {"period", Column(period)},
                    {"x", Column(x)},
                    {"y", Column(y)},
                    {"share", Column(share)}});
}

}  // namespace orbitograph::python

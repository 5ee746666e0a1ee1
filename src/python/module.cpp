// The compiled part of the `orbitograph` package: computations on the
// model's engine with the GIL released and Ctrl+C honoured, their results
// as NumPy arrays, and frames drawn as the headless command draws them.
// The package's __init__.py gives these their public, documented form.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <chrono>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/counts_text.h"
#include "data/metrics_text.h"
#include "model/grid_labels.h"
#include "model/label_metrics.h"
#include "model/probe.h"
#include "model/sweep.h"
#include "python/frame_render.h"
#include "python/grid_data.h"
#include "python/interruptible.h"
#include "python/set_arrays.h"
#include "request/offscreen_gui.h"
#include "request/param_table.h"

namespace py = pybind11;
using namespace orbitograph;
using namespace orbitograph::python;

namespace {

// An array over the storage of v, which it takes over: no element is copied.
// Strides in elements.
template <class Vector, class T = typename Vector::value_type>
py::array_t<T> ArrayTakingOver(Vector&& v, std::vector<py::ssize_t> shape, std::vector<py::ssize_t> strides) {
    auto owned = std::make_unique<Vector>(std::move(v));
    const T* data = owned->data();
    py::capsule owner(owned.get(), [](void* p) { delete static_cast<Vector*>(p); });
    owned.release();
    for (py::ssize_t& s : strides) s *= static_cast<py::ssize_t>(sizeof(T));
    return py::array_t<T>(std::move(shape), std::move(strides), data, owner);
}

// A grid in grid order (column by column) seen as [rows, columns]: the
// Fortran-ordered view of the same storage.
template <class Vector, class T = typename Vector::value_type>
py::array_t<T> RowsByColumns(Vector&& v, py::ssize_t rows, py::ssize_t columns) {
    return ArrayTakingOver(std::move(v), {rows, columns}, {1, rows});
}

// The parameters from a dict keyed by their Python keywords, each of its
// row's kind (the package checked them).
ModelParams ParamsOf(const py::dict& d) {
    ModelParams p;
    for (const ParamRow& row : kParamTable) {
        const py::handle value = d[py::str(row.keyword.data(), row.keyword.size())];
        if (row.real != nullptr)
            p.*row.real = value.cast<double>();
        else
            p.*row.integer = value.cast<std::int32_t>();
    }
    return p;
}

py::dict DictOf(const ModelParams& p) {
    py::dict d;
    for (const ParamRow& row : kParamTable) {
        const py::str keyword(row.keyword.data(), row.keyword.size());
        if (row.kind == ParamKind::Real)
            d[keyword] = p.*row.real;
        else if (row.kind == ParamKind::Direction)
            d[keyword] = p.*row.integer == 1;
        else
            d[keyword] = p.*row.integer;
    }
    return d;
}

// The parameters in the order of the functions' keywords: (keyword, kind,
// default), the kind "real", "direction" or "count".
py::list ParamTable() {
    py::list rows;
    const char* const kinds[] = {"real", "direction", "count"};
    const py::dict defaults = DictOf(ModelParams{});
    for (const ParamRow& row : kParamTable) {
        const py::str keyword(row.keyword.data(), row.keyword.size());
        rows.append(py::make_tuple(keyword, kinds[static_cast<int>(row.kind)], defaults[keyword]));
    }
    return rows;
}

// The origin of the headless command's default picture, where compute()
// places the lists.
std::pair<std::int32_t, std::int32_t> DefaultOrigin() {
    const PixelPoint origin = Request{}.Origin();
    return {origin.x, origin.y};
}

std::shared_ptr<GridData> Computed(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads,
                                   AnalysisAsked asked) {
    auto grid = RunInterruptibly(
        [&](const std::atomic<bool>& cancel) { return ComputeGridData(p, originX, originY, threads, cancel, asked); });
    return std::make_shared<GridData>(std::move(*grid));
}

// A column of the grid's analysis as a read-only int32 [rows, columns] view
// of the model's own storage, which it keeps alive; None without one.
py::object AnalysisArray(const std::shared_ptr<GridData>& g, AnalysisColumn column) {
    if (!g->analysed) return py::none();
    auto keep = std::make_unique<std::shared_ptr<GridData>>(g);
    py::capsule owner(keep.get(), [](void* p) { delete static_cast<std::shared_ptr<GridData>*>(p); });
    keep.release();
    const auto rows = static_cast<py::ssize_t>(g->rows);
    const auto columns = static_cast<py::ssize_t>(g->columns);
    constexpr auto kSize = static_cast<py::ssize_t>(sizeof(std::int32_t));
    py::array_t<std::int32_t> a({rows, columns}, {kSize, rows * kSize}, g->model.analysis.Column(column).data(), owner);
    a.attr("flags").attr("writeable") = false;
    return a;
}

py::tuple Compute(const py::dict& params, int threads, bool analysis, double delta) {
    const ModelParams p = ParamsOf(params);
    const AnalysisAsked asked{analysis, delta};
    CheckComputation(p, threads, asked);
    const auto [originX, originY] = DefaultOrigin();
    std::shared_ptr<GridData> g = Computed(p, originX, originY, threads, asked);
    const auto rows = static_cast<py::ssize_t>(g->rows);
    const auto columns = static_cast<py::ssize_t>(g->columns);
    py::array labels = RowsByColumns(std::move(g->labels), rows, columns);
    py::array endX = RowsByColumns(std::move(g->ends.x), rows, columns);
    py::array endY = RowsByColumns(std::move(g->ends.y), rows, columns);
    py::array x = ArrayTakingOver(std::move(g->columnsX), {columns}, {1});
    py::array y = ArrayTakingOver(std::move(g->rowsY), {rows}, {1});
    const py::tuple analysed =
        py::make_tuple(AnalysisArray(g, AnalysisColumn::ExitStep), AnalysisArray(g, AnalysisColumn::CycleStart),
                       AnalysisArray(g, AnalysisColumn::Period), AnalysisArray(g, AnalysisColumn::Attractor),
                       g->analysed ? py::object(py::str(g->analysisJson)) : py::none());
    return py::make_tuple(g, labels, x, y, endX, endY, g->countsJson, g->reportText, analysed);
}

// Qt's Gui needs its application object for fonts. The module makes one on
// the offscreen platform when it first draws, unless the process has one,
// and keeps it for the life of the process: extension modules are never
// unloaded, and Qt must not be torn down under a running interpreter.
void EnsureGuiApplication() {
    if (QCoreApplication* app = QCoreApplication::instance(); app != nullptr) {
        if (qobject_cast<QGuiApplication*>(app) == nullptr)
            throw std::runtime_error("this process runs Qt without its Gui; frames cannot be drawn in it");
        return;
    }
    static_cast<void>(StartOffscreenGui("orbitograph").release());
}

// A display keyword's value as its row takes it (the package checked its type).
OptionValue ValueOf(const FrameOption& row, const py::handle value) {
    switch (row.kind) {
        case ValueKind::Flag: return value.cast<bool>();
        case ValueKind::Integer: return value.cast<std::int64_t>();
        case ValueKind::Real: return value.cast<double>();
        case ValueKind::Text: return value.cast<std::string>();
        case ValueKind::IntegerPair: return value.cast<std::array<std::int64_t, 2>>();
        case ValueKind::RealPair: return value.cast<std::array<double, 2>>();
    }
    throw std::logic_error("a row of no kind");
}

py::array Render(const std::shared_ptr<GridData>& grid, const py::dict& display, const std::string& moduleDir,
                 int threads) {
    std::vector<DisplayValue> values;
    for (const auto& [keyword, value] : display) {
        const std::string name = keyword.cast<std::string>();
        const FrameOption* row = DisplayOption(name);
        if (row == nullptr) throw std::invalid_argument(name + ": not a display keyword");
        values.push_back({row, ValueOf(*row, value)});
    }
    const Request r = RequestFor(*grid, values);
    std::shared_ptr<GridData> source = grid;
    if (!ListsFitOrigin(*grid, r))
        source = Computed(r.params, r.Origin().x, r.Origin().y, threads, {grid->analysed, grid->attractorDelta});
    EnsureGuiApplication();
    auto image = std::make_unique<QImage>(RunInterruptibly(
        [&](const std::atomic<bool>& cancel) { return DrawGridFrame(*source, r, moduleDir, &cancel); }));
    const QImage* frame = image.get();
    py::capsule owner(image.get(), [](void* p) { delete static_cast<QImage*>(p); });
    image.release();
    return py::array_t<std::uint8_t>({py::ssize_t(frame->height()), py::ssize_t(frame->width()), py::ssize_t(4)},
                                     {py::ssize_t(frame->bytesPerLine()), py::ssize_t(4), py::ssize_t(1)},
                                     frame->constBits(), owner);
}

using ValueRows = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The parameters of every row of values: row i sets the parameters named
// in `names` (a, dc, kc or iterations) to values[i], the others from params.
// Throws std::invalid_argument naming the first field refused, in any row.
std::vector<ModelParams> RowsOf(const py::dict& params, const std::vector<std::string>& names, const ValueRows& values,
                                int threads) {
    if (values.ndim() != 2 || values.shape(1) != static_cast<py::ssize_t>(names.size()))
        throw std::invalid_argument("values: must have one column per parameter name");
    std::vector<SweepParam> swept;
    for (const std::string& name : names) {
        const std::optional<SweepParam> param = SweepParamByName(name);
        if (!param) throw std::invalid_argument(name + ": cannot be swept (a, dc, kc or iterations can)");
        swept.push_back(*param);
    }
    const ModelParams base = ParamsOf(params);
    CheckComputation(base, threads);
    std::vector<ModelParams> rows(static_cast<std::size_t>(values.shape(0)), base);
    const auto v = values.unchecked<2>();
    for (py::ssize_t i = 0; i < values.shape(0); ++i) {
        ModelParams& p = rows[static_cast<std::size_t>(i)];
        for (std::size_t k = 0; k < swept.size(); ++k) p = WithValue(p, swept[k], v(i, static_cast<py::ssize_t>(k)));
        CheckComputation(p, threads);
    }
    return rows;
}

// The counts of one computation per row (RowsOf), int64 [rows, 8] in the
// order of the --counts line. Every row is checked before any is computed.
py::array_t<std::int64_t> CountsOfRows(const py::dict& params, const std::vector<std::string>& names,
                                       const ValueRows& values, int threads) {
    const std::vector<ModelParams> rows = RowsOf(params, names, values, threads);
    constexpr auto kKeys = static_cast<py::ssize_t>(std::size(kCountKeys));
    const auto counts = RunInterruptibly([&](const std::atomic<bool>& cancel) {
        ComputeControl control;
        control.threads = threads;
        control.cancel = &cancel;
        return ComputeCountsOfSets(rows, control);
    });
    std::vector<std::int64_t> table;
    table.reserve(counts->size() * kKeys);
    for (const ListCounts& c : *counts) {
        const auto row = CountValues(c);
        table.insert(table.end(), row.begin(), row.end());
    }
    return ArrayTakingOver(std::move(table), {static_cast<py::ssize_t>(counts->size()), kKeys}, {kKeys, 1});
}

// The probe's rows of the orbit of (x0, y0) as columns, with the gap and
// the summary. keep: rows listed at each end of a long orbit.
py::dict Orbit(double x0, double y0, const py::dict& params, std::int64_t keep) {
    if (keep < 1) throw std::invalid_argument("keep: must be a positive integer");
    const ModelParams p = ParamsOf(params);
    const std::optional<ProbeResult> probe = RunInterruptibly([&](const std::atomic<bool>& cancel) {
        ProbeOptions options;
        options.keep = keep;
        options.cancel = &cancel;
        return ProbeOrbit(p, x0, y0, options);
    });
    const std::size_t n = probe->rows.size();
    std::vector<std::int64_t> step(n);
    std::vector<double> x(n), y(n), pTerm(n), qTerm(n), cx(n), cy(n);
    py::array_t<bool> frozen(static_cast<py::ssize_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const ProbeRow& r = probe->rows[i];
        step[i] = r.step;
        x[i] = r.x;
        y[i] = r.y;
        pTerm[i] = r.p;
        qTerm[i] = r.q;
        cx[i] = r.cx;
        cy[i] = r.cy;
        frozen.mutable_at(static_cast<py::ssize_t>(i)) = r.frozen;
    }
    const auto column = [n]<class T>(std::vector<T>&& v) {
        return ArrayTakingOver(std::move(v), {static_cast<py::ssize_t>(n)}, {1});
    };
    const ProbeSummary& s = probe->summary;
    py::dict summary;
    summary["steps"] = s.steps;
    summary["left_square"] = s.leftSquare ? py::cast(*s.leftSquare) : py::none();
    summary["cycle_start"] = s.cycleStart ? py::cast(*s.cycleStart) : py::none();
    summary["period"] = s.period;
    summary["end_x"] = s.end.x;
    summary["end_y"] = s.end.y;
    summary["label"] = LabelOf(s.kind);
    summary["reach"] = s.reach == ProbeReach::Cycle ? "cycle" : s.reach == ProbeReach::Escape ? "escape" : "iterated";
    py::dict out;
    out["step"] = column(std::move(step));
    out["x"] = column(std::move(x));
    out["y"] = column(std::move(y));
    out["p"] = column(std::move(pTerm));
    out["q"] = column(std::move(qTerm));
    out["cx"] = column(std::move(cx));
    out["cy"] = column(std::move(cy));
    out["frozen"] = frozen;
    out["gap_at"] = probe->gapAt;
    out["omitted"] = probe->omitted;
    out["summary"] = summary;
    return out;
}

// Seconds the engine alone takes for these parameters (no arrays made):
// the lists, and with products also the kind grid and the end points that
// compute() needs. For the benchmark of the module's overhead.
double EngineSeconds(const py::dict& params, int threads, bool products) {
    const ModelParams p = ParamsOf(params);
    CheckComputation(p, threads);
    return RunInterruptibly([&](const std::atomic<bool>& cancel) {
        ComputeControl control = GridDataControl(threads, cancel);
        control.kindGrid = control.attractorEnds = control.startPointEnds = products;
        const auto start = std::chrono::steady_clock::now();
        const auto [originX, originY] = DefaultOrigin();
        const std::optional<SpaceLists> lists = ComputeSpaces(p, originX, originY, control);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
}

// The metrics of a two-dimensional integer array (the package checked it) as
// the --metrics line: uint8 and int32 labels as they are, others as int64.
std::string Metrics(const py::array& labels, double step, std::int32_t box, const std::vector<std::int32_t>& ks) {
    const auto measure = [&]<class Label>(Label) {
        const auto a = py::array_t<Label, py::array::c_style | py::array::forcecast>::ensure(labels);
        if (!a || a.ndim() != 2) throw std::invalid_argument("labels: must be a two-dimensional array of integers");
        const auto rows = static_cast<std::size_t>(a.shape(0)), cols = static_cast<std::size_t>(a.shape(1));
        const std::span<const Label> values(a.data(), rows * cols);
        py::gil_scoped_release unlocked;
        return MetricsJson(ComputeLabelMetrics<Label>(values, rows, cols, step, box, ks));
    };
    const py::dtype type = labels.dtype();
    if (type.kind() == 'u' && type.itemsize() == 1) return measure(std::uint8_t{});
    if (type.kind() == 'i' && type.itemsize() == 4) return measure(std::int32_t{});
    return measure(std::int64_t{});
}

// The counts of every row (RowsOf) with the analysis and the metrics asked
// for (AnalysedSets); each row is also checked for the analysis.
py::dict AnalysedRows(const py::dict& params, const std::vector<std::string>& names, const ValueRows& values,
                      int threads, bool analysis, double delta, bool metrics, std::int32_t box,
                      const std::vector<std::int32_t>& ks) {
    const std::vector<ModelParams> rows = RowsOf(params, names, values, threads);
    for (const ModelParams& p : rows) CheckComputation(p, threads, {analysis, delta});
    SetAnalysisRequest request;
    request.analysis = analysis;
    request.delta = delta;
    request.metrics.wanted = metrics;
    request.metrics.box = box;
    request.metrics.ks = ks;
    return AnalysedSets(rows, request, threads);
}

py::dict Continuation(const py::dict& params, const std::string& name, const ValueRows& values, int threads,
                      double delta, double tolerance) {
    if (!(tolerance >= 0.0)) throw std::invalid_argument("tolerance: must be a number >= 0");
    const std::vector<ModelParams> rows = RowsOf(params, {name}, values, threads);
    for (const ModelParams& p : rows) CheckComputation(p, threads, {true, delta});
    std::vector<double> column(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) column[i] = values.at(static_cast<py::ssize_t>(i), 0);
    return TrackColumns(rows, column, delta, tolerance, threads);
}

}  // namespace

PYBIND11_MODULE(_orbitograph, m) {
    m.doc() = "The compiled engine of the orbitograph package; use the package's functions.";
    // std::invalid_argument reaches Python as ValueError, std::bad_alloc as MemoryError.
    py::class_<GridData, std::shared_ptr<GridData>>(m, "_Grid");
    m.attr("_MAX_THREADS") = kMaxThreads;
    m.attr("_MAX_CANVAS_SIDE") = kMaxCanvasSide;
    m.def("_defaults", [] { return DictOf(ModelParams{}); });
    m.def("_param_table", &ParamTable);
    m.def("_compute", &Compute, py::arg("params"), py::arg("threads"), py::arg("analysis"), py::arg("delta"));
    m.def("_render", &Render, py::arg("grid"), py::arg("display"), py::arg("module_dir"), py::arg("threads"));
    m.def("_display_options", &DisplayOptions);
    m.def("_basin_colours", &BasinColours);
    m.def("_count_keys", [] { return std::vector<std::string>(std::begin(kCountKeys), std::end(kCountKeys)); });
    m.def("_counts_of_rows", &CountsOfRows, py::arg("params"), py::arg("names"), py::arg("values"), py::arg("threads"));
    m.def("_check_rows", [](const py::dict& params, const std::vector<std::string>& names, const ValueRows& values,
                            int threads) { RowsOf(params, names, values, threads); });
    m.def("_engine_seconds", &EngineSeconds, py::arg("params"), py::arg("threads"), py::arg("products"));
    m.def("_orbit", &Orbit, py::arg("x0"), py::arg("y0"), py::arg("params"), py::arg("keep"));
    m.def("_analysed_rows", &AnalysedRows, py::arg("params"), py::arg("names"), py::arg("values"), py::arg("threads"),
          py::arg("analysis"), py::arg("delta"), py::arg("metrics"), py::arg("box"), py::arg("ks"));
    m.def("_continuation", &Continuation, py::arg("params"), py::arg("name"), py::arg("values"), py::arg("threads"),
          py::arg("delta"), py::arg("tolerance"));
    m.def("_metrics", &Metrics, py::arg("labels"), py::arg("step"), py::arg("box"), py::arg("ks"));
}

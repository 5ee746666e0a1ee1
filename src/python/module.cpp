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

#include "cli/render_options.h"
#include "model/orbit.h"
#include "python/frame_render.h"
#include "python/grid_data.h"
#include "python/interruptible.h"

namespace py = pybind11;
using namespace orbitograph;
using namespace orbitograph::python;

namespace {

// An array over the storage of v, which it takes over: no element is copied.
// Strides in elements.
template <class T>
py::array_t<T> ArrayTakingOver(std::vector<T>&& v, std::vector<py::ssize_t> shape, std::vector<py::ssize_t> strides) {
    auto* owned = new std::vector<T>(std::move(v));
    py::capsule owner(owned, [](void* p) { delete static_cast<std::vector<T>*>(p); });
    for (py::ssize_t& s : strides) s *= static_cast<py::ssize_t>(sizeof(T));
    return py::array_t<T>(std::move(shape), std::move(strides), owned->data(), owner);
}

template <class T>
py::array_t<T> ArrayTakingOver(std::unique_ptr<T[]>&& v, std::vector<py::ssize_t> shape,
                               std::vector<py::ssize_t> strides) {
    T* data = v.release();
    py::capsule owner(data, [](void* p) { delete[] static_cast<T*>(p); });
    for (py::ssize_t& s : strides) s *= static_cast<py::ssize_t>(sizeof(T));
    return py::array_t<T>(std::move(shape), std::move(strides), data, owner);
}

// A grid in grid order (column by column) seen as [rows, columns]: the
// Fortran-ordered view of the same storage.
template <class T>
py::array_t<T> RowsByColumns(std::vector<T>&& v, py::ssize_t rows, py::ssize_t columns) {
    return ArrayTakingOver(std::move(v), {rows, columns}, {1, rows});
}

ModelParams ParamsOf(const py::dict& d) {
    const auto real = [&d](ParamField f) { return d[KeywordOf(f)].cast<double>(); };
    const auto integer = [&d](ParamField f) { return d[KeywordOf(f)].cast<std::int32_t>(); };
    ModelParams p;
    p.a = real(ParamField::A);
    p.dc = real(ParamField::Dc);
    p.kc = real(ParamField::Kc);
    p.dcOutward = integer(ParamField::DcOutward);
    p.kcOutward = integer(ParamField::KcOutward);
    p.iterations = integer(ParamField::Iterations);
    p.step = real(ParamField::Step);
    p.x1 = real(ParamField::X1);
    p.x2 = real(ParamField::X2);
    p.y1 = real(ParamField::Y1);
    p.y2 = real(ParamField::Y2);
    return p;
}

py::dict DictOf(const ModelParams& p) {
    py::dict d;
    d[KeywordOf(ParamField::A)] = p.a;
    d[KeywordOf(ParamField::Dc)] = p.dc;
    d[KeywordOf(ParamField::Kc)] = p.kc;
    d[KeywordOf(ParamField::DcOutward)] = p.dcOutward == 1;
    d[KeywordOf(ParamField::KcOutward)] = p.kcOutward == 1;
    d[KeywordOf(ParamField::Iterations)] = p.iterations;
    d[KeywordOf(ParamField::Step)] = p.step;
    d[KeywordOf(ParamField::X1)] = p.x1;
    d[KeywordOf(ParamField::X2)] = p.x2;
    d[KeywordOf(ParamField::Y1)] = p.y1;
    d[KeywordOf(ParamField::Y2)] = p.y2;
    return d;
}

// The origin of the headless command's default picture.
const RenderOptions kDefaultPicture{};

std::shared_ptr<GridData> Computed(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads) {
    auto grid = RunInterruptibly([&](const std::atomic<bool>& cancel) {
        return ComputeGridData(p, originX, originY, threads, cancel);
    });
    return std::make_shared<GridData>(std::move(*grid));
}

py::tuple Compute(const py::dict& params, int threads) {
    const ModelParams p = ParamsOf(params);
    CheckComputation(p, threads);
    std::shared_ptr<GridData> g = Computed(p, kDefaultPicture.originX, kDefaultPicture.originY, threads);
    const auto rows = static_cast<py::ssize_t>(g->rows);
    const auto columns = static_cast<py::ssize_t>(g->columns);
    py::array labels = RowsByColumns(std::move(g->labels), rows, columns);
    py::array x = ArrayTakingOver(std::move(g->columnsX), {columns}, {1});
    py::array y = ArrayTakingOver(std::move(g->rowsY), {rows}, {1});
    return py::make_tuple(g, labels, x, y, g->countsJson, g->reportText);
}

// end_x and end_y of a grid, [rows, columns] like its labels; made with the
// GIL released.
py::tuple EndPoints(const std::shared_ptr<GridData>& grid) {
    const std::size_t n = grid->model.kinds.size();
    std::unique_ptr<double[]> x(new double[n]);  // every element is written below
    std::unique_ptr<double[]> y(new double[n]);
    {
        py::gil_scoped_release release;
        FillEndPoints(*grid, x.get(), y.get());
    }
    const auto rows = static_cast<py::ssize_t>(grid->rows);
    const auto columns = static_cast<py::ssize_t>(grid->columns);
    return py::make_tuple(ArrayTakingOver(std::move(x), {rows, columns}, {1, rows}),
                          ArrayTakingOver(std::move(y), {rows, columns}, {1, rows}));
}

// Qt's Gui needs its application object for fonts. The module makes one on
// the offscreen platform when it first draws, unless the process has one,
// and keeps it for the life of the process: extension modules are never
// unloaded, and Qt must not be torn down under a running interpreter.
void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    // Qt's notices (a missing runtime folder, font support) are not the
    // caller's concern; failures reach Python as exceptions.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) std::fprintf(stderr, "orbitograph: %s\n", qPrintable(message));
    });
    static int argc = 3;
    static char name[] = "orbitograph";
    static char platformOption[] = "-platform";
    static char platformName[] = "offscreen";
    static char* argv[] = {name, platformOption, platformName, nullptr};
    new QGuiApplication(argc, argv);
}

py::array Render(const std::shared_ptr<GridData>& grid, const std::vector<std::string>& args,
                 const std::string& moduleDir, int threads) {
    const RenderOptions o = ParsePictureOptions(*grid, args);
    std::shared_ptr<GridData> source = grid;
    if (!ListsFitOrigin(*grid, o)) source = Computed(o.params, o.originX, o.originY, threads);
    EnsureGuiApplication();
    auto* frame = new QImage(DrawFrame(*source, o, moduleDir));
    py::capsule owner(frame, [](void* p) { delete static_cast<QImage*>(p); });
    return py::array_t<std::uint8_t>({py::ssize_t(frame->height()), py::ssize_t(frame->width()), py::ssize_t(4)},
                                     {py::ssize_t(frame->bytesPerLine()), py::ssize_t(4), py::ssize_t(1)},
                                     frame->constBits(), owner);
}

using ValueRows = py::array_t<double, py::array::c_style | py::array::forcecast>;

// The parameters of every row of values: row i sets the fields named in
// `names` to values[i] (an iterations value rounded to the nearest
// integer), the others from params. Throws std::invalid_argument naming the
// first field refused, in any row.
std::vector<ModelParams> RowsOf(const py::dict& params, const std::vector<std::string>& names,
                                const ValueRows& values, int threads) {
    if (values.ndim() != 2 || values.shape(1) != static_cast<py::ssize_t>(names.size()))
        throw std::invalid_argument("values: must have one column per parameter name");
    const ModelParams base = ParamsOf(params);
    std::vector<ModelParams> rows(static_cast<std::size_t>(values.shape(0)), base);
    const auto v = values.unchecked<2>();
    for (py::ssize_t i = 0; i < values.shape(0); ++i) {
        ModelParams& p = rows[static_cast<std::size_t>(i)];
        for (std::size_t k = 0; k < names.size(); ++k) {
            const double value = v(i, static_cast<py::ssize_t>(k));
            const std::string& name = names[k];
            if (name == KeywordOf(ParamField::A)) p.a = value;
            else if (name == KeywordOf(ParamField::Dc)) p.dc = value;
            else if (name == KeywordOf(ParamField::Kc)) p.kc = value;
            else if (name == KeywordOf(ParamField::Iterations)) {
                const double rounded = std::nearbyint(value);
                if (!(rounded >= INT32_MIN && rounded <= INT32_MAX))
                    throw std::invalid_argument("iterations: must be an integer from -2147483648 to 2147483647");
                p.iterations = static_cast<std::int32_t>(rounded);
            } else {
                throw std::invalid_argument(name + ": cannot be swept (a, dc, kc or iterations can)");
            }
        }
        CheckComputation(p, threads);
    }
    return rows;
}

// The counts of one computation per row (RowsOf), int64 [rows, 8] in the
// order of the --counts line. Every row is checked before any is computed.
py::array_t<std::int64_t> CountsOfRows(const py::dict& params, const std::vector<std::string>& names,
                                       const ValueRows& values, int threads) {
    const std::vector<ModelParams> rows = RowsOf(params, names, values, threads);
    constexpr py::ssize_t kKeys = 8;
    std::vector<std::int64_t> counts = RunInterruptibly([&](const std::atomic<bool>& cancel) {
        std::vector<std::int64_t> out;
        out.reserve(rows.size() * kKeys);
        ComputeControl control;
        control.threads = threads;
        control.cancel = &cancel;
        for (const ModelParams& p : rows) {
            const std::optional<SpaceLists> lists =
                ComputeSpaces(p, kDefaultPicture.originX, kDefaultPicture.originY, control);
            if (!lists) return std::vector<std::int64_t>{};
            const ListCounts c = ListCounts::Of(*lists);
            const std::int64_t row[kKeys] = {CountStartPoints(p), c.attractors, c.infinity, c.zero, c.t, c.o, c.m, c.h};
            out.insert(out.end(), row, row + kKeys);
        }
        return out;
    });
    return ArrayTakingOver(std::move(counts), {values.shape(0), kKeys}, {kKeys, 1});
}

// The orbit of one start point: the step numbers 0 to iterations + 1 and the
// point after each (step 0 is the start point).
py::tuple Orbit(double x0, double y0, const py::dict& params) {
    const ModelParams p = ParamsOf(params);
    constexpr std::int32_t kMaxOrbitSteps = 100'000'000;
    if (p.iterations > kMaxOrbitSteps)
        throw std::invalid_argument("iterations: an orbit keeps at most 100000000 steps");
    if (!std::isfinite(x0) || !std::isfinite(y0)) throw std::invalid_argument("x0, y0: must be finite numbers");
    const MapParams m = MapParams::From(p);
    const std::size_t n = p.iterations < 0 ? 1 : static_cast<std::size_t>(p.iterations) + 2;
    std::vector<std::int64_t> steps(n);
    std::vector<double> xs(n), ys(n);
    State s{x0, y0};
    for (std::size_t k = 0; k < n; ++k) {
        if (k > 0 && GuardOpen(s)) s = MapStep(m, s);
        steps[k] = static_cast<std::int64_t>(k);
        xs[k] = s.x;
        ys[k] = s.y;
    }
    const auto size = static_cast<py::ssize_t>(n);
    return py::make_tuple(ArrayTakingOver(std::move(steps), {size}, {1}), ArrayTakingOver(std::move(xs), {size}, {1}),
                          ArrayTakingOver(std::move(ys), {size}, {1}));
}

// Seconds the engine alone takes for these parameters (no arrays made):
// the lists, and with products also the kind grid and the attractors' end
// points that compute() needs. For the benchmark of the module's overhead.
double EngineSeconds(const py::dict& params, int threads, bool products) {
    const ModelParams p = ParamsOf(params);
    CheckComputation(p, threads);
    return RunInterruptibly([&](const std::atomic<bool>& cancel) {
        ComputeControl control;
        control.threads = threads;
        control.cancel = &cancel;
        control.kindGrid = products;
        control.attractorEnds = products;
        const auto start = std::chrono::steady_clock::now();
        const std::optional<SpaceLists> lists =
            ComputeSpaces(p, kDefaultPicture.originX, kDefaultPicture.originY, control);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
}

}  // namespace

PYBIND11_MODULE(_orbitograph, m) {
    m.doc() = "The compiled engine of the orbitograph package; use the package's functions.";
    // std::invalid_argument reaches Python as ValueError, std::bad_alloc as MemoryError.
    py::class_<GridData, std::shared_ptr<GridData>>(m, "_Grid");
    m.def("_defaults", [] { return DictOf(ModelParams{}); });
    m.def("_compute", &Compute, py::arg("params"), py::arg("threads"));
    m.def("_end_points", &EndPoints, py::arg("grid"));
    m.def("_render", &Render, py::arg("grid"), py::arg("args"), py::arg("module_dir"), py::arg("threads"));
    m.def("_picture_options", &PictureOptions);
    m.def("_basin_colours", &BasinColours);
    m.def("_counts_json", [](const std::vector<std::int64_t>& c) {
        if (c.size() != 8) throw std::invalid_argument("eight counts");
        return CountsJson(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    });
    m.def("_counts_of_rows", &CountsOfRows, py::arg("params"), py::arg("names"), py::arg("values"),
          py::arg("threads"));
    m.def("_check_rows", [](const py::dict& params, const std::vector<std::string>& names, const ValueRows& values,
                            int threads) { RowsOf(params, names, values, threads); });
    m.def("_engine_seconds", &EngineSeconds, py::arg("params"), py::arg("threads"), py::arg("products"));
    m.def("_orbit", &Orbit, py::arg("x0"), py::arg("y0"), py::arg("params"));
}

#include "data/grid_export.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "data/analysis_text.h"
#include "data/npz_writer.h"
#include "model/compute_spaces.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "request/param_table.h"

namespace orbitograph {

namespace {

struct Field {
    std::string name;
    std::string value;
    bool text;
};

std::vector<Field> ParameterFields(const ModelParams& p) {
    std::vector<Field> fields;
    for (const ParamField f : kWrittenParamOrder) {
        const ParamRow& row = ParamRowOf(f);
        fields.push_back({std::string(row.name), ParamValueText(p, f), row.kind == ParamKind::Direction});
    }
    return fields;
}

std::vector<Field> CountFields(const ListCounts& c) {
    return {{"start_points", std::to_string(c.startPoints), false},
            {"attractors", std::to_string(c.attractors), false},
            {"infinity", std::to_string(c.infinity), false},
            {"zero", std::to_string(c.zero), false},
            {"T", std::to_string(c.t), false},
            {"O", std::to_string(c.o), false},
            {"M", std::to_string(c.m), false},
            {"H", std::to_string(c.h), false}};
}

std::string JsonObject(const std::vector<Field>& fields) {
    std::string out = "{";
    for (const Field& f : fields) {
        if (out.size() > 1) out += ", ";
        out += "\"" + std::string(f.name) + "\": " + (f.text ? "\"" + f.value + "\"" : f.value);
    }
    return out + "}";
}

bool Analysed(const GridExport& e) {
    const std::size_t points = static_cast<std::size_t>(CountColumns(e.params) * CountRows(e.params));
    return e.lists->analysis.size() == points && points > 0;
}

// A string as NumPy's "<U" type: UTF-32 little-endian code units. The JSON
// here is ASCII only.
std::vector<char> Utf32(const std::string& ascii) {
    std::vector<char> out(ascii.size() * 4, '\0');
    for (std::size_t i = 0; i < ascii.size(); ++i) out[4 * i] = ascii[i];
    return out;
}

}  // namespace

std::string GridMetaJson(const GridExport& e) {
    const std::string labels = "{\"" + std::to_string(kLabelInfinity) + "\": \"infinity\", \"" +
                               std::to_string(kLabelZero) + "\": \"zero\", \"" + std::to_string(kLabelT) +
                               "\": \"T\", \"" + std::to_string(kLabelO) + "\": \"O\", \"" + std::to_string(kLabelM) +
                               "\": \"M\", \"" + std::to_string(kLabelH) + "\": \"H\", \"" +
                               std::to_string(kLabelNoList) + "\": \"none\"}";
    return "{\"program\": \"orbitograph\", \"version\": \"" + e.version +
           "\", \"parameters\": " + JsonObject(ParameterFields(e.params)) + ", \"origin\": [" +
           std::to_string(e.originX) + ", " + std::to_string(e.originY) +
           "], \"counts\": " + JsonObject(CountFields(CountsOf(e.params, *e.lists))) +
           ", \"columns\": " + std::to_string(CountColumns(e.params)) +
           ", \"rows\": " + std::to_string(CountRows(e.params)) + ", \"labels\": " + labels +
           (Analysed(e) ? ", \"attractor_delta\": " + DeltaJson(e.attractorDelta) +
                              ", \"analysis\": " + AnalysisJson(e.lists->analysis)
                        : std::string()) +
           "}";
}

std::string GridCsv(const GridExport& e) {
    std::vector<Field> fields = ParameterFields(e.params);
    fields.push_back({"origin_x", std::to_string(e.originX), false});
    fields.push_back({"origin_y", std::to_string(e.originY), false});
    for (Field& f : CountFields(CountsOf(e.params, *e.lists))) fields.push_back(std::move(f));
    std::string header, row;
    for (const Field& f : fields) {
        header += (header.empty() ? "" : ",") + std::string(f.name);
        row += (row.empty() ? "" : ",") + f.value;
    }
    return header + "\n" + row + "\n";
}

SaveResult WriteGridNpz(const std::filesystem::path& path, const GridExport& e, std::string& error,
                        const std::atomic<bool>* stop, FileBatch* batch) {
    const SpaceLists& l = *e.lists;
    const std::vector<double> xs = AxisCoordinates(e.params.x1, e.params.x2, e.params.step);
    const std::vector<double> ys = AxisCoordinates(e.params.y1, e.params.y2, e.params.step);
    const std::size_t cols = xs.size(), rows = ys.size();
    if (l.kinds.size() != cols * rows || l.startPointEnds.size() != cols * rows)
        throw std::invalid_argument("the grid was computed without its kinds and end points");
    const std::vector<std::uint8_t> labels = LabelRows(l.kinds, cols, rows);
    const std::vector<double> endX = GridRows(l.startPointEnds.x, cols, rows);
    const std::vector<double> endY = GridRows(l.startPointEnds.y, cols, rows);
    static_assert(sizeof(Point) == 8, "a pixel is two 32-bit integers, x then y");
    const std::vector<char> meta = Utf32(GridMetaJson(e));
    std::vector<NpyMember> members = {
        {"labels", "|u1", {rows, cols}, labels.data(), labels.size()},
        {"x", "<f8", {cols}, xs.data(), cols * sizeof(double)},
        {"y", "<f8", {rows}, ys.data(), rows * sizeof(double)},
        {"end_x", "<f8", {rows, cols}, endX.data(), endX.size() * sizeof(double)},
        {"end_y", "<f8", {rows, cols}, endY.data(), endY.size() * sizeof(double)},
        {"attractors", "<i4", {l.attractors.size(), 2}, l.attractors.data(), l.attractors.size() * sizeof(Point)},
    };
    std::vector<std::vector<std::int32_t>> analysis;
    analysis.reserve(4);  // the members point into these
    if (Analysed(e)) {
        const std::pair<const char*, AnalysisColumn> columns[] = {{"exit_step", AnalysisColumn::ExitStep},
                                                                  {"cycle_start", AnalysisColumn::CycleStart},
                                                                  {"period", AnalysisColumn::Period},
                                                                  {"attractor", AnalysisColumn::Attractor}};
        for (const auto& [name, column] : columns) {
            analysis.push_back(GridRows(l.analysis.Column(column), cols, rows));
            members.push_back({name, "<i4", {rows, cols}, analysis.back().data(), analysis.back().size() * 4});
        }
    }
    members.push_back({"meta", "<U" + std::to_string(meta.size() / 4), {}, meta.data(), meta.size()});
    return WriteFileAtomicallyToFd(
        path, [&](int fd, int& systemError) { return WriteNpz(members, fd, systemError, error, stop); }, stop, batch);
}

SaveResult WriteGridCsv(const std::filesystem::path& path, const GridExport& e, const std::atomic<bool>* stop,
                        FileBatch* batch) {
    const std::string text = GridCsv(e);
    return WriteFileAtomically(
        path,
        [&](const ByteSink& sink) { return sink(text.data(), text.size()) ? Produced::Done : Produced::SinkFailed; },
        stop, batch);
}

}  // namespace orbitograph

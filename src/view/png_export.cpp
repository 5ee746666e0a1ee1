#include "view/png_export.h"

#include <QFile>
#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "data/atomic_file.h"
#include "view/png_stream.h"

namespace orbitograph {

namespace {

// Shortest text that reads back as exactly v, with a point, in any locale.
std::string RoundTrip(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

const char* Direction(std::int32_t outward) { return outward == 0 ? "inward" : "outward"; }

}  // namespace

QString DescribeComputation(const ModelParams& p, int originX, int originY) {
    // The options of orbitograph-render that compute the same lists.
    const std::pair<ParamField, std::string> values[] = {
        {ParamField::A, RoundTrip(p.a)},
        {ParamField::Dc, RoundTrip(p.dc)},
        {ParamField::DcOutward, Direction(p.dcOutward)},
        {ParamField::Kc, RoundTrip(p.kc)},
        {ParamField::KcOutward, Direction(p.kcOutward)},
        {ParamField::Iterations, std::to_string(p.iterations)},
        {ParamField::Step, RoundTrip(p.step)},
        {ParamField::X1, RoundTrip(p.x1)},
        {ParamField::X2, RoundTrip(p.x2)},
        {ParamField::Y1, RoundTrip(p.y1)},
        {ParamField::Y2, RoundTrip(p.y2)},
    };
    std::string line;
    for (const auto& [field, value] : values) line += std::string(ParamOptionName(field)) + " " + value + " ";
    line += "--origin " + std::to_string(originX) + "," + std::to_string(originY);
    return QString::fromStdString(line);
}

std::filesystem::path NativePath(const QString& name) { return QFile::encodeName(name).toStdString(); }

SaveResult SavePngAtomically(const QImage& canvas, const std::filesystem::path& path, const QString& description,
                             const std::atomic<bool>* stop) {
    if (canvas.isNull()) return {SaveFailure::NoPicture, 0};
    return WriteFileAtomically(
        path,
        [&](const ByteSink& sink) {
            switch (EncodePng(canvas, kPngTextKey, description, sink, stop)) {
                case PngEncoding::Done: return Produced::Done;
                case PngEncoding::Stopped: return Produced::Stopped;
                case PngEncoding::NoMemory: return Produced::NoMemory;
                case PngEncoding::SinkFailed: break;
            }
            return Produced::SinkFailed;
        },
        stop);
}

}  // namespace orbitograph

#include "view/png_export.h"

#include <QImageWriter>
#include <QSaveFile>
#include <charconv>
#include <string>

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
    const std::string line = "--a " + RoundTrip(p.a) + " --dc " + RoundTrip(p.dc) + " --dc-direction " +
                             Direction(p.dcOutward) + " --kc " + RoundTrip(p.kc) + " --kc-direction " +
                             Direction(p.kcOutward) + " --iterations " + std::to_string(p.iterations) +
                             " --step " + RoundTrip(p.step) + " --x1 " + RoundTrip(p.x1) + " --x2 " +
                             RoundTrip(p.x2) + " --y1 " + RoundTrip(p.y1) + " --y2 " + RoundTrip(p.y2) +
                             " --origin " + std::to_string(originX) + "," + std::to_string(originY);
    return QString::fromStdString(line);
}

bool SavePngAtomically(const QImage& canvas, const QString& path, const QString& description, QString* error) {
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (canvas.isNull()) return fail(QStringLiteral("there is no picture to save"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    QImageWriter writer(&file, "png");
    writer.setText(QString::fromLatin1(kPngTextKey), description);
    if (!writer.write(canvas)) {
        const QString why = writer.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

}  // namespace orbitograph

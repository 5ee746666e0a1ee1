#include "view/png_export.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
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

// CRC-32 of PNG chunks (ISO 3309, reflected polynomial 0xEDB88320).
quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void AppendBigEndian(QByteArray& out, quint32 v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((v >> shift) & 0xFFu));
}

// The PNG with an uncompressed tEXt chunk (key, NUL, Latin-1 text) put right
// after the header chunk, where every reader finds it before the pixels.
// Empty if the encoder fails.
QByteArray EncodePng(const QImage& canvas, const QString& description, QString* why) {
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(canvas)) {
            *why = writer.errorString();
            return {};
        }
    }
    // Signature (8 bytes), then IHDR: length 4, type 4, data 13, CRC 4.
    constexpr qsizetype kAfterHeader = 8 + 4 + 4 + 13 + 4;
    if (png.size() < kAfterHeader || png.mid(12, 4) != "IHDR") {
        *why = QStringLiteral("the PNG encoder gave an unexpected result");
        return {};
    }
    const QByteArray body = QByteArray("tEXt") + kPngTextKey + '\0' + description.toLatin1();
    QByteArray chunk;
    AppendBigEndian(chunk, static_cast<quint32>(body.size() - 4));
    chunk += body;
    AppendBigEndian(chunk, Crc32(body));
    png.insert(kAfterHeader, chunk);
    return png;
}

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
    // A tEXt chunk holds one line of printable Latin-1, uncompressed, so that
    // any tool shows it; any other description goes into the encoder's own
    // text chunk.
    const bool latin1 = std::all_of(description.begin(), description.end(),
                                    [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0xFF; });
    QByteArray png;
    if (latin1) {
        QString why;
        png = EncodePng(canvas, description, &why);
        if (png.isEmpty()) return fail(why);
    } else {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setText(QString::fromLatin1(kPngTextKey), description);
        if (!writer.write(canvas)) return fail(writer.errorString());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    if (file.write(png) != png.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) return fail(file.errorString());
    return true;
}

}  // namespace orbitograph

#include "png/png_stream.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace orbitograph {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Deflated pixels are written in IDAT chunks of at most this many bytes.
constexpr std::size_t kIdatSize = 1 << 16;

void AppendBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFFu));
}

// One chunk: length, type, data, CRC-32 of type and data.
bool PutChunk(const PngSink& sink, const char type[4], const char* data, std::size_t size) {
    std::string head;
    AppendBigEndian(head, static_cast<std::uint32_t>(size));
    head.append(type, 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size));
    std::string tail;
    AppendBigEndian(tail, static_cast<std::uint32_t>(crc));
    return sink(head.data(), head.size()) && (size == 0 || sink(data, size)) && sink(tail.data(), tail.size());
}

bool PrintableLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0xFF; });
}

std::string TextChunkData(const char* key, const QString& text, bool latin1) {
    std::string data(key);
    data.push_back('\0');
    if (latin1) {
        const QByteArray bytes = text.toLatin1();
        data.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } else {
        // Compression flag and method, empty language tag, empty translated key.
        data.append(std::string("\0\0\0\0", 4));
        const QByteArray bytes = text.toUtf8();
        data.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return data;
}

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

// Owns a deflate stream; every byte it produces goes out in IDAT chunks.
class IdatWriter {
public:
    explicit IdatWriter(const PngSink& sink) : m_sink(sink), m_out(kIdatSize) {}
    ~IdatWriter() {
        if (m_ready) deflateEnd(&m_stream);
    }
    IdatWriter(const IdatWriter&) = delete;
    IdatWriter& operator=(const IdatWriter&) = delete;

    bool Start() {
        m_ready = deflateInit(&m_stream, Z_DEFAULT_COMPRESSION) == Z_OK;
        m_stream.next_out = reinterpret_cast<Bytef*>(m_out.data());
        m_stream.avail_out = static_cast<uInt>(m_out.size());
        return m_ready;
    }

    // Deflates the bytes; with finish, ends the stream and sends the rest.
    bool Put(const unsigned char* data, std::size_t size, bool finish) {
        m_stream.next_in = const_cast<Bytef*>(data);
        m_stream.avail_in = static_cast<uInt>(size);
        while (true) {
            const int rc = deflate(&m_stream, finish ? Z_FINISH : Z_NO_FLUSH);
            if (rc == Z_STREAM_ERROR) return false;
            if (m_stream.avail_out == 0 && !Send()) return false;
            if (finish ? rc == Z_STREAM_END : m_stream.avail_in == 0 && m_stream.avail_out > 0) break;
        }
        return !finish || Send();
    }

private:
    bool Send() {
        const std::size_t used = m_out.size() - m_stream.avail_out;
        if (used > 0 && !PutChunk(m_sink, "IDAT", m_out.data(), used)) return false;
        m_stream.next_out = reinterpret_cast<Bytef*>(m_out.data());
        m_stream.avail_out = static_cast<uInt>(m_out.size());
        return true;
    }

    const PngSink& m_sink;
    std::vector<char> m_out;
    z_stream m_stream{};
    bool m_ready = false;
};

}  // namespace

PngEncoding EncodePng(const QImage& source, const char* key, const QString& text, const PngSink& sink,
                      const std::atomic<bool>* stop) {
    if (source.isNull()) return PngEncoding::NoMemory;
    // Format_ARGB32 is shared, not copied, when the image already has it.
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) return PngEncoding::NoMemory;
    const int width = image.width();
    const int height = image.height();

    bool opaque = true;
    for (int y = 0; y < height && opaque; ++y) {
        if (Stopped(stop)) return PngEncoding::Stopped;
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        opaque = std::all_of(row, row + width, [](QRgb p) { return qAlpha(p) == 0xFF; });
    }
    const std::size_t channels = opaque ? 3 : 4;

    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    // Bit depth 8; colour type 2 (RGB) or 6 (RGBA); deflate; adaptive filters; no interlace.
    header += {8, static_cast<char>(opaque ? 2 : 6), 0, 0, 0};
    if (!sink(reinterpret_cast<const char*>(kSignature), sizeof kSignature) ||
        !PutChunk(sink, "IHDR", header.data(), header.size()))
        return PngEncoding::SinkFailed;
    if (!text.isEmpty()) {
        const bool latin1 = PrintableLatin1(text);
        const std::string data = TextChunkData(key, text, latin1);
        if (!PutChunk(sink, latin1 ? "tEXt" : "iTXt", data.data(), data.size())) return PngEncoding::SinkFailed;
    }

    // Row y goes out as filter type 2 ("Up"): each byte minus the byte above
    // it, modulo 256; the row above the first is zero.
    const std::size_t rowBytes = channels * static_cast<std::size_t>(width);
    std::vector<unsigned char> above;
    std::vector<unsigned char> current;
    std::vector<unsigned char> filtered;
    try {
        above.assign(rowBytes, 0);
        current.resize(rowBytes);
        filtered.resize(rowBytes + 1);
    } catch (const std::bad_alloc&) {
        return PngEncoding::NoMemory;
    }
    filtered[0] = 2;
    IdatWriter idat(sink);
    if (!idat.Start()) return PngEncoding::NoMemory;
    for (int y = 0; y < height; ++y) {
        if (Stopped(stop)) return PngEncoding::Stopped;
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        unsigned char* out = current.data();
        for (int x = 0; x < width; ++x) {
            const QRgb p = row[x];
            *out++ = static_cast<unsigned char>(qRed(p));
            *out++ = static_cast<unsigned char>(qGreen(p));
            *out++ = static_cast<unsigned char>(qBlue(p));
            if (!opaque) *out++ = static_cast<unsigned char>(qAlpha(p));
        }
        for (std::size_t i = 0; i < rowBytes; ++i) filtered[i + 1] = static_cast<unsigned char>(current[i] - above[i]);
        if (!idat.Put(filtered.data(), filtered.size(), y == height - 1)) return PngEncoding::SinkFailed;
        above.swap(current);
    }
    if (Stopped(stop)) return PngEncoding::Stopped;
    return PutChunk(sink, "IEND", nullptr, 0) ? PngEncoding::Done : PngEncoding::SinkFailed;
}

}  // namespace orbitograph

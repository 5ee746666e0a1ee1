#include "png/png_text.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orbitograph {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The largest chunk length PNG allows.
constexpr std::uint32_t kMaxChunk = 0x7FFFFFFFu;

std::uint32_t BigEndian(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Reads exactly size bytes: Found, Malformed at the end of the file, or ReadFailed.
PngTextStatus ReadExactly(int fd, void* to, std::size_t size, int& error) {
    auto* p = static_cast<char*>(to);
    while (size > 0) {
        const ssize_t n = read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return PngTextStatus::ReadFailed;
        }
        if (n == 0) return PngTextStatus::Malformed;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return PngTextStatus::Found;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The text of a whole chunk of the key: tEXt is Latin-1; iTXt holds a
// compression flag and method, a language tag and a translated key ahead of
// its UTF-8 text.
PngText TextOf(const char type[4], const std::string& data, std::size_t keyLength) {
    PngText r;
    const std::string_view rest = std::string_view(data).substr(keyLength + 1);
    if (std::memcmp(type, "tEXt", 4) == 0) {
        r.status = PngTextStatus::Found;
        r.text = Latin1ToUtf8(rest);
        return r;
    }
    if (std::memcmp(type, "zTXt", 4) == 0 || (rest.size() >= 1 && rest[0] != 0)) {
        r.status = PngTextStatus::Compressed;
        return r;
    }
    const std::size_t language = rest.size() >= 2 ? rest.find('\0', 2) : std::string_view::npos;
    const std::size_t translated = language == std::string_view::npos ? language : rest.find('\0', language + 1);
    if (translated == std::string_view::npos) {
        r.status = PngTextStatus::Malformed;
        return r;
    }
    r.status = PngTextStatus::Found;
    r.text = std::string(rest.substr(translated + 1));
    return r;
}

}  // namespace

PngText ReadPngText(int fd, std::string_view key) {
    PngText result;
    const auto fail = [&result](PngTextStatus status) {
        result.status = status;
        result.text.clear();
        return result;
    };
    unsigned char head[8];
    PngTextStatus s = ReadExactly(fd, head, sizeof head, result.systemError);
    if (s == PngTextStatus::ReadFailed) return fail(s);
    if (s != PngTextStatus::Found || std::memcmp(head, kSignature, sizeof kSignature) != 0)
        return fail(PngTextStatus::NotPng);
    for (std::size_t chunk = 0; chunk <= kMaxPngChunks; ++chunk) {
        if ((s = ReadExactly(fd, head, sizeof head, result.systemError)) != PngTextStatus::Found) return fail(s);
        const std::uint32_t length = BigEndian(head);
        const char* type = reinterpret_cast<const char*>(head + 4);
        if (length > kMaxChunk) return fail(PngTextStatus::Malformed);
        if (chunk == 0) {
            unsigned char header[13 + 4];
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13) return fail(PngTextStatus::Malformed);
            if ((s = ReadExactly(fd, header, sizeof header, result.systemError)) != PngTextStatus::Found)
                return fail(s);
            result.width = BigEndian(header);
            result.height = BigEndian(header + 4);
            if (result.width == 0 || result.height == 0 || result.width > kMaxChunk || result.height > kMaxChunk)
                return fail(PngTextStatus::Malformed);
            continue;
        }
        if (std::memcmp(type, "IEND", 4) == 0) return fail(PngTextStatus::NoText);
        const bool text =
            std::memcmp(type, "tEXt", 4) == 0 || std::memcmp(type, "iTXt", 4) == 0 || std::memcmp(type, "zTXt", 4) == 0;
        // The keyword and its terminator come first in every text chunk.
        std::string data;
        std::size_t read = 0;
        if (text) {
            data.resize(std::min<std::size_t>(length, key.size() + 1));
            if ((s = ReadExactly(fd, data.data(), data.size(), result.systemError)) != PngTextStatus::Found)
                return fail(s);
            read = data.size();
        }
        const bool ours =
            text && data.size() == key.size() + 1 && data.compare(0, key.size(), key) == 0 && data.back() == '\0';
        if (!ours) {
            if (lseek(fd, static_cast<off_t>(length - read) + 4, SEEK_CUR) < 0) {
                result.systemError = errno;
                return fail(PngTextStatus::ReadFailed);
            }
            continue;
        }
        if (length > kMaxPngTextBytes) return fail(PngTextStatus::TooLarge);
        data.resize(length + 4);
        if ((s = ReadExactly(fd, data.data() + read, data.size() - read, result.systemError)) != PngTextStatus::Found)
            return fail(s);
        uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(length));
        if (crc != BigEndian(reinterpret_cast<const unsigned char*>(data.data()) + length))
            return fail(PngTextStatus::Malformed);
        data.resize(length);
        PngText found = TextOf(type, data, key.size());
        found.width = result.width;
        found.height = result.height;
        return found;
    }
    return fail(PngTextStatus::Malformed);
}

}  // namespace orbitograph

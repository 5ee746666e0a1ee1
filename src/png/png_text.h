#pragma once

// The text a PNG file carries under one key, read from the file's chunks
// without decoding its pixels: the bytes exactly as written, whitespace and
// control characters included. No Qt.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orbitograph {

enum class PngTextStatus {
    Found,
    NotPng,      // the first eight bytes are not the PNG signature
    Malformed,   // cut short, a chunk longer than PNG allows, no header first, a wrong CRC
    NoText,      // the file ends (IEND) without a text chunk of the key
    TooLarge,    // the text chunk of the key is longer than the cap
    Compressed,  // the text of the key is compressed (zTXt, or iTXt so flagged)
    ReadFailed,  // a read or a seek failed; systemError holds its errno
};

struct PngText {
    PngTextStatus status = PngTextStatus::NotPng;
    int systemError = 0;
    std::string text;  // UTF-8 (a tEXt chunk's Latin-1 converted)
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The largest text chunk read, and the most chunks passed over looking for
// it: a file cannot make the reader hold or seek more.
inline constexpr std::size_t kMaxPngTextBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxPngChunks = 100000;

// Reads the text of `key` (1 to 79 Latin-1 letters) from fd, a file open for
// reading at offset 0 that may be seeked in: the signature, the IHDR chunk
// (width and height) and then chunk headers only, seeking past everything
// but a text chunk of the key, whose data is read in full and checked
// against its CRC. The first such chunk counts.
PngText ReadPngText(int fd, std::string_view key);

}  // namespace orbitograph

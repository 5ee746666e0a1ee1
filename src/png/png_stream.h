#pragma once

#include <QImage>
#include <QString>
#include <atomic>
#include <cstddef>
#include <functional>

namespace orbitograph {

// Receives the encoded bytes in order; returns false when it cannot take
// them, which ends the encoding.
using PngSink = std::function<bool(const char* data, std::size_t size)>;

enum class PngEncoding { Done, SinkFailed, Stopped, NoMemory };

// Streams image as a PNG of 8-bit samples: RGB when every pixel is opaque,
// RGBA (not premultiplied) otherwise; not interlaced; every row filtered
// with "Up" and deflated. A non-empty text goes under key (1 to 79 Latin-1
// letters) right after the header chunk, ahead of the pixels: as tEXt when it
// is printable Latin-1, else as iTXt in UTF-8, both uncompressed so that any
// tool shows them. The pixels are converted a row at a time, so the memory
// needed is a few rows whatever the size. stop, when given, is read before
// every row: once it is true the encoding ends with Stopped within one row's
// work. A null image (what a failed allocation leaves) gives NoMemory.
PngEncoding EncodePng(const QImage& image, const char* key, const QString& text, const PngSink& sink,
                      const std::atomic<bool>* stop = nullptr);

}  // namespace orbitograph

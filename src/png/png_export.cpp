#include "png/png_export.h"

#include <QFile>

#include "data/atomic_file.h"
#include "png/png_stream.h"

namespace orbitograph {

std::filesystem::path NativePath(const QString& name) { return QFile::encodeName(name).toStdString(); }

SaveResult SavePngAtomically(const QImage& canvas, const std::filesystem::path& path, const QString& description,
                             const std::atomic<bool>* stop, FileBatch* batch) {
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
        stop, batch);
}

}  // namespace orbitograph

#include "request/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>
#include <system_error>

#include "legend/legend_picture.h"
#include "png/png_export.h"
#include "request/refusal_text.h"

namespace orbitograph {

bool ReadRegularFile(const std::string& name, QByteArray& bytes, std::string& why) {
    // Opening does not wait for a writer even when the name is a pipe.
    const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::system_category().message(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        why = std::system_category().message(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = "not a regular file";
    } else {
        char block[1 << 16];
        while (true) {
            const ssize_t n = read(fd, block, sizeof block);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) why = std::system_category().message(errno);
            if (n <= 0) break;
            bytes.append(block, n);
        }
    }
    close(fd);
    return why.empty();
}

QImage ReadPictureFile(const std::string& name, std::string& why) {
    QByteArray bytes;
    if (!ReadRegularFile(name, bytes, why)) return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The picture is drawn one file pixel per canvas pixel, whatever the file
    // says about its resolution.
    QImage image = reader.read();
    if (image.isNull()) {
        why = reader.errorString().toStdString();
        return {};
    }
    image.setDevicePixelRatio(1.0);
    return image;
}

QImage LegendPictureFor(const DisplayRequest& display, const QString& programDir, std::string& why) {
    if (display.legendPicture.empty()) return LoadLegendPicture(programDir);
    QImage image = ReadPictureFile(display.legendPicture, why);
    if (image.isNull()) why = "cannot read " + Quoted(display.legendPicture) + ": " + why;
    return image;
}

bool ReadPictureDescription(const std::string& file, PictureDescription& out, std::string& why) {
    QByteArray bytes;
    if (!ReadRegularFile(file, bytes, why)) return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        why = "not a PNG picture";
        return false;
    }
    const QString key = QString::fromLatin1(kPngTextKey);
    if (!reader.textKeys().contains(key)) {
        why = "the picture holds no description (no text chunk '" + key.toStdString() + "')";
        return false;
    }
    out.text = reader.text(key).toStdString();
    out.width = size.width();
    out.height = size.height();
    return true;
}

}  // namespace orbitograph

#include "request/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "legend/legend_picture.h"
#include "png/png_export.h"
#include "png/png_text.h"
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

namespace {

// Standard error sent to /dev/null while it lives: the PNG decoder under Qt
// prints its own "libpng error:" lines there, which would make a refusal
// more than one line. Only for a moment when no other thread prints.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        m_saved = null >= 0 ? fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
        if (m_saved >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStandardError() {
        if (m_saved < 0) return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int m_saved = -1;
};

}  // namespace

QImage ReadPictureFile(const std::string& name, std::string& why) {
    QByteArray bytes;
    if (!ReadRegularFile(name, bytes, why)) return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The picture is drawn one file pixel per canvas pixel, whatever the file
    // says about its resolution.
    QImage image;
    {
        const QuietStandardError quiet;
        image = reader.read();
    }
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

PictureDescription ReadPictureDescription(const std::string& file) {
    PictureDescription out;
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        out.reason = PictureReason::System;
        out.systemError = errno;
        if (fd >= 0) close(fd);
        return out;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        out.reason = PictureReason::NotRegularFile;
        return out;
    }
    PngText read = ReadPngText(fd, kPngTextKey);
    close(fd);
    switch (read.status) {
        case PngTextStatus::Found: out.reason = PictureReason::None; break;
        case PngTextStatus::NotPng: out.reason = PictureReason::NotPng; break;
        case PngTextStatus::Malformed: out.reason = PictureReason::Malformed; break;
        case PngTextStatus::NoText: out.reason = PictureReason::NoDescription; break;
        case PngTextStatus::TooLarge: out.reason = PictureReason::TooLarge; break;
        case PngTextStatus::Compressed: out.reason = PictureReason::Compressed; break;
        case PngTextStatus::ReadFailed: out.reason = PictureReason::System; break;
    }
    out.systemError = read.systemError;
    if (out.reason != PictureReason::None) return out;
    out.text = std::move(read.text);
    out.width = static_cast<int>(read.width);
    out.height = static_cast<int>(read.height);
    return out;
}

std::string PictureReasonText(PictureReason reason, int systemError) {
    switch (reason) {
        case PictureReason::None: return {};
        case PictureReason::System: return std::system_category().message(systemError);
        case PictureReason::NotRegularFile: return "not a regular file";
        case PictureReason::NotPng: return "not a PNG picture";
        case PictureReason::Malformed: return "a damaged PNG picture";
        case PictureReason::NoDescription:
            return std::string("the picture holds no description (no text chunk '") + kPngTextKey + "')";
        case PictureReason::TooLarge:
            return "the description is longer than " + std::to_string(kMaxPngTextBytes) + " bytes";
        case PictureReason::Compressed: return "the description is compressed";
    }
    return {};
}

}  // namespace orbitograph

#include "cli/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cerrno>
#include <system_error>

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

}  // namespace orbitograph

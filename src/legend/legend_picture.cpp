#include "legend/legend_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace orbitograph {

namespace {

QImage ReadPicture(const QString& path) {
    if (!QFileInfo(path).isFile()) return {};
    QImageReader reader(path);
    // The picture is drawn one file pixel per canvas pixel, whatever the file
    // says about its resolution or its name about its pixel ratio.
    QImage image = reader.read();
    if (!image.isNull()) image.setDevicePixelRatio(1.0);
    return image;
}

}  // namespace

QImage LoadLegendPicture(const QString& applicationDir) {
    const QString name = QString::fromLatin1(kLegendPictureFile);
    QStringList candidates{QDir::current().filePath(name)};
    if (!applicationDir.isEmpty()) {
        const QDir app(applicationDir);
        candidates << app.filePath(name)
                   << QDir::cleanPath(app.filePath(QStringLiteral(ORBITOGRAPH_DATA_FROM_BIN) + u'/' + name));
    }
    candidates << QDir(QStringLiteral(ORBITOGRAPH_DATA_DIR)).filePath(name);
    for (const QString& path : candidates) {
        QImage image = ReadPicture(path);
        if (!image.isNull()) return image;
    }
    return {};
}

}  // namespace orbitograph

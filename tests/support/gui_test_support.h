#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace orbitograph::test {

// Fonts need an application object. Suites with the shared Qt main have one
// already; in the others the first call makes one for the rest of the run.
inline void EnsureGui() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "orbitograph-tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

inline QImage Blank(int w, int h, QRgb colour = 0xFFF0F0F0) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

// Pixels that differ from the background, in row order.
inline std::vector<QPoint> Changed(const QImage& img, QRgb background = 0xFFF0F0F0) {
    std::vector<QPoint> out;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (line[x] != background) out.emplace_back(x, y);
        }
    }
    return out;
}

// Bounding box of the pixels that differ from the background (null if none).
inline QRect InkBox(const QImage& img, QRgb background = 0xFFF0F0F0) {
    QRect box;
    for (const QPoint& p : Changed(img, background)) box |= QRect(p, p);
    return box;
}

}  // namespace orbitograph::test

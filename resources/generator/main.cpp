// Draws the program's pictures into the folder given as the only argument:
//   bitmap3.bmp       260 x 260, 24-bit BMP: the region diagram of the legend
//   legend_marks.bmp  the same diagram with placeholder marks where the
//                     legend panel puts its texts (the legend dialog shows it)
//   icon16.png ... icon256.png  the program icon at 16, 32, 48, 64, 128
//                     and 256 px; icon.svg  the same design, scalable
// Runs on Qt's offscreen platform; the output depends only on the fonts
// installed (Liberation Serif and Liberation Sans).

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <cstdio>

namespace {

constexpr QRgb kBackground = 0xFFE7EBEF;
constexpr QRgb kInk = 0xFF000000;

// Picture coordinates of the diagram. The square [-2, 2] x [-2, 2] with lines
// at the model coordinates -2, -1, 1, 2; the axes (model 0) 3 pixels thick.
constexpr int kGridX[] = {0, 55, 168, 223};
constexpr int kGridY[] = {33, 87, 200, 259};
constexpr int kAxisX = 111;  // columns 111 to 113
constexpr int kAxisY = 140;  // rows 140 to 142

QFont SerifFont(int pixelSize, bool italic) {
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(pixelSize);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

void DrawDiagram(QImage& img) {
    img.fill(kBackground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kInk));
    // Thin grid lines, one pixel, both ends included.
    for (int x : kGridX) p.fillRect(QRect(QPoint(x, kGridY[0]), QPoint(x, kGridY[3])), p.brush());
    for (int y : kGridY) p.fillRect(QRect(QPoint(kGridX[0], y), QPoint(kGridX[3], y)), p.brush());
    // x axis across the grid to its arrow head, y axis from the bottom edge
    // up to its arrow head.
    p.fillRect(QRect(QPoint(0, kAxisY), QPoint(242, kAxisY + 2)), p.brush());
    p.drawPolygon(QPolygon({QPoint(241, kAxisY - 6), QPoint(253, kAxisY + 1), QPoint(241, kAxisY + 8)}));
    p.fillRect(QRect(QPoint(kAxisX, 20), QPoint(kAxisX + 2, 259)), p.brush());
    p.drawPolygon(QPolygon({QPoint(kAxisX - 6, 21), QPoint(kAxisX + 1, 9), QPoint(kAxisX + 8, 21)}));

    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(QColor::fromRgba(kInk));
    p.setFont(SerifFont(17, true));
    p.drawText(QRect(237, 146, 16, 14), Qt::AlignCenter, QStringLiteral("x"));
    p.drawText(QRect(119, 0, 16, 16), Qt::AlignCenter, QStringLiteral("y"));

    // Region letters: M in the corners, H in the middle of the top and
    // bottom rows, O in the middle of the left and right columns, T inside.
    const int cellLeft[] = {1, 56, 114, 169};
    const int cellRight[] = {54, 110, 167, 222};
    const int cellTop[] = {34, 88, 143, 201};
    const int cellBottom[] = {86, 139, 199, 258};
    const char* letters[4][4] = {
        {"M", "H", "H", "M"}, {"O", "T", "T", "O"}, {"O", "T", "T", "O"}, {"M", "H", "H", "M"}};
    p.setFont(SerifFont(22, false));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRect cell(QPoint(cellLeft[col], cellTop[row]), QPoint(cellRight[col], cellBottom[row]));
            p.drawText(cell, Qt::AlignCenter, QString::fromLatin1(letters[row][col]));
        }
    }
}

void DrawMarks(QImage& img) {
    QPainter p(&img);
    p.setPen(QColor::fromRgba(kInk));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(19);
    f.setBold(true);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    p.setFont(f);
    // Where the panel writes the two names, the maximum and minimum of Hy,
    // the minima and the maximum of Hx.
    struct Mark {
        QRect box;
        const char* text;
    } marks[] = {
        {QRect(QPoint(141, 4), QPoint(175, 24)), "???"},  {QRect(QPoint(227, 161), QPoint(259, 181)), "???"},
        {QRect(QPoint(116, 38), QPoint(126, 58)), "?"},   {QRect(QPoint(117, 116), QPoint(127, 136)), "?"},
        {QRect(QPoint(210, 117), QPoint(222, 137)), "?"},
    };
    for (const Mark& m : marks) p.drawText(m.box, Qt::AlignCenter, QString::fromLatin1(m.text));
}

// The region diagram in the basin colours: T green in the centre, O red left
// and right, H orange above and below, M light blue in the corners, on the
// pink of the basin of infinity, framed in black. Rectangles in icon units of
// a 16 x 16 design, each painted over the ones before it.
struct IconCell {
    int x, y, w, h;
    QRgb colour;
};
constexpr IconCell kIconCells[] = {
    {0, 0, 16, 16, 0xFF000000}, {1, 1, 14, 14, 0xFFFECFF4}, {3, 3, 10, 10, 0xFF000000}, {4, 4, 8, 8, 0xFF00DCFA},
    {6, 4, 4, 8, 0xFFFFA000},   {4, 6, 8, 4, 0xFFE60000},   {6, 6, 4, 4, 0xFF00AA00},   {7, 7, 2, 2, 0xFF9A959C},
};

// size is a multiple of 16, so every cell edge falls on a whole pixel.
QImage DrawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const int u = size / 16;  // pixels per icon unit
    for (const IconCell& c : kIconCells) p.fillRect(c.x * u, c.y * u, c.w * u, c.h * u, QColor::fromRgba(c.colour));
    return img;
}

QByteArray IconSvg() {
    QByteArray svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 16 16\" "
        "shape-rendering=\"crispEdges\">\n";
    for (const IconCell& c : kIconCells) {
        svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#%5\"/>\n")
                   .arg(c.x)
                   .arg(c.y)
                   .arg(c.w)
                   .arg(c.h)
                   .arg(c.colour & 0xFFFFFFu, 6, 16, QLatin1Char('0'))
                   .toLatin1();
    }
    return svg + "</svg>\n";
}

bool WriteFile(const QByteArray& data, const QString& path) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

// Writes a bottom-up 24-bit BMP with a 40-byte info header at 96 dpi.
bool WriteBmp24(const QImage& source, const QString& path) {
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    const int w = img.width();
    const int h = img.height();
    const int stride = (w * 3 + 3) & ~3;
    const quint32 dataSize = static_cast<quint32>(stride) * static_cast<quint32>(h);
    QByteArray out;
    auto u16 = [&out](quint16 v) { out.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&out](quint32 v) {
        for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
    };
    out.append("BM");
    u32(14 + 40 + dataSize);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(static_cast<quint32>(w));
    u32(static_cast<quint32>(h));
    u16(1);
    u16(24);
    u32(0);  // no compression
    u32(dataSize);
    u32(3780);  // 96 dpi
    u32(3780);
    u32(0);
    u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(line[x]))).append(char(qGreen(line[x]))).append(char(qRed(line[x])));
        }
        out.append(QByteArray(stride - w * 3, '\0'));
    }
    return WriteFile(out, path);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: orbitograph-resource-generator OUTPUT_DIR\n");
        return 2;
    }
    const QDir out(args[1]);
    QImage diagram(260, 260, QImage::Format_RGB32);
    DrawDiagram(diagram);
    QImage marks = diagram;
    DrawMarks(marks);
    bool ok = WriteBmp24(diagram, out.filePath(QStringLiteral("bitmap3.bmp"))) &&
              WriteBmp24(marks, out.filePath(QStringLiteral("legend_marks.bmp"))) &&
              WriteFile(IconSvg(), out.filePath(QStringLiteral("icon.svg")));
    for (int size : {16, 32, 48, 64, 128, 256}) {
        ok = ok && DrawIcon(size).save(out.filePath(QStringLiteral("icon%1.png").arg(size)));
    }
    if (!ok) {
        std::fprintf(stderr, "orbitograph-resource-generator: cannot write into %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}

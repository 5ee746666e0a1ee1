#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "legend/legend_picture.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

void Put(const QString& dir, QSize size) {
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_TRUE(Blank(size.width(), size.height(), 0xFF123456).save(QDir(dir).filePath("bitmap3.bmp"), "BMP"));
}

// Restores the working directory when a test ends.
class InDirectory {
public:
    explicit InDirectory(const QString& dir) : m_previous(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~InDirectory() { QDir::setCurrent(m_previous); }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;

private:
    QString m_previous;
};

}  // namespace

TEST(LegendPicture, CurrentDirectoryThenBesideTheProgramThenItsDataFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString work = root.filePath("work");
    const QString bin = root.filePath("prefix/bin");
    const QString data = root.filePath("prefix/share/orbitograph");
    ASSERT_TRUE(QDir().mkpath(work));
    ASSERT_TRUE(QDir().mkpath(bin));
    InDirectory cd(work);

    EXPECT_TRUE(LoadLegendPicture(bin).isNull());
    Put(data, {3, 4});
    EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(3, 4));
    Put(bin, {5, 6});
    EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(5, 6));
    Put(work, {7, 8});
    EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(7, 8));

    // An unreadable file here does not hide the installed one.
    QFile bad(QDir(work).filePath("bitmap3.bmp"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
    bad.write("not a picture");
    bad.close();
    EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(5, 6));
}

TEST(LegendPicture, TheDiagramsInTheResources) {
    const QString dir = QStringLiteral(ORBITOGRAPH_RESOURCES);
    QFile file(dir + "/bitmap3.bmp");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(54);
    ASSERT_EQ(header.size(), 54);
    EXPECT_EQ(header.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<int>(header[28]), 24);  // bits per pixel

    const QImage plain(dir + "/bitmap3.bmp");
    const QImage marks(dir + "/legend_marks.bmp");
    ASSERT_EQ(plain.size(), QSize(260, 260));
    ASSERT_EQ(marks.size(), QSize(260, 260));
    const QRgb black = 0xFF000000;
    EXPECT_EQ(plain.pixel(257, 2), 0xFFE7EBEFu);    // background
    EXPECT_EQ(plain.pixel(30, 140), black);         // x axis, rows 140 to 142
    EXPECT_EQ(plain.pixel(30, 142), black);
    EXPECT_NE(plain.pixel(30, 143), black);
    EXPECT_EQ(plain.pixel(111, 240), black);        // y axis, columns 111 to 113
    EXPECT_EQ(plain.pixel(113, 240), black);
    EXPECT_NE(plain.pixel(114, 240), black);
    for (int x : {0, 55, 168, 223}) EXPECT_EQ(plain.pixel(x, 45), black) << x;
    for (int y : {33, 87, 200, 259}) EXPECT_EQ(plain.pixel(40, y), black) << y;

    // The marks differ from the plain diagram only inside their five boxes.
    const QRect boxes[] = {QRect(QPoint(141, 4), QPoint(175, 24)), QRect(QPoint(227, 161), QPoint(259, 181)),
                           QRect(QPoint(116, 38), QPoint(126, 58)), QRect(QPoint(117, 116), QPoint(127, 136)),
                           QRect(QPoint(210, 117), QPoint(222, 137))};
    int inBoxes[5] = {};
    for (int y = 0; y < 260; ++y) {
        for (int x = 0; x < 260; ++x) {
            if (plain.pixel(x, y) == marks.pixel(x, y)) continue;
            bool inside = false;
            for (int i = 0; i < 5; ++i) {
                if (boxes[i].contains(x, y)) {
                    inside = true;
                    ++inBoxes[i];
                }
            }
            EXPECT_TRUE(inside) << x << "," << y;
        }
    }
    for (int i = 0; i < 5; ++i) EXPECT_GT(inBoxes[i], 10) << "box " << i;

    EXPECT_EQ(QImage(dir + "/icon16.png").size(), QSize(16, 16));
    EXPECT_EQ(QImage(dir + "/icon32.png").size(), QSize(32, 32));
}

#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "legend/legend_picture.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(LegendPicture, CurrentDirectoryThenBesideTheProgramThenItsDataFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString work = root.filePath("work"), bin = root.filePath("prefix/bin");
    const QString data = root.filePath("prefix/share/orbitograph");
    for (const QString& dir : {work, bin, data}) ASSERT_TRUE(QDir().mkpath(dir));
    struct Restore {
        QString dir;
        ~Restore() { QDir::setCurrent(dir); }
    } restore{QDir::currentPath()};
    ASSERT_TRUE(QDir::setCurrent(work));
    EXPECT_TRUE(LoadLegendPicture(bin).isNull());
    int size = 3;
    for (const QString& dir : {data, bin, work}) {  // each found before the ones already there
        ASSERT_TRUE(Blank(size, size + 1, 0xFF123456).save(QDir(dir).filePath("bitmap3.bmp"), "BMP"));
        EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(size, size + 1));
        size += 2;
    }
    // An unreadable file here does not hide the installed one.
    QFile bad(QDir(work).filePath("bitmap3.bmp"));
    EXPECT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate) && bad.write("not a picture") > 0);
    bad.close();
    EXPECT_EQ(LoadLegendPicture(bin).size(), QSize(5, 6));
}

TEST(LegendPicture, TheDiagramsInTheResources) {
    const QString dir = QStringLiteral(ORBITOGRAPH_RESOURCES);
    const QImage plain(dir + "/bitmap3.bmp"), marks(dir + "/legend_marks.bmp");
    ASSERT_EQ(plain.size(), QSize(260, 260));
    ASSERT_EQ(marks.size(), QSize(260, 260));
    // The axes are three pixels wide: rows 140 to 142, columns 111 to 113.
    for (QPoint p : {QPoint(30, 140), QPoint(30, 142), QPoint(111, 240), QPoint(113, 240)})
        EXPECT_EQ(plain.pixel(p), 0xFF000000u) << p.x() << "," << p.y();
    EXPECT_NE(plain.pixel(30, 143), 0xFF000000u);

    // The marks differ from the plain diagram only inside their five boxes.
    const QRect boxes[] = {QRect(QPoint(141, 4), QPoint(175, 24)), QRect(QPoint(227, 161), QPoint(259, 181)),
                           QRect(QPoint(116, 38), QPoint(126, 58)), QRect(QPoint(117, 116), QPoint(127, 136)),
                           QRect(QPoint(210, 117), QPoint(222, 137))};
    int inBoxes[5] = {};
    for (int y = 0; y < 260; ++y) {
        for (int x = 0; x < 260; ++x) {
            if (plain.pixel(x, y) == marks.pixel(x, y)) continue;
            const auto box = std::find_if(boxes, boxes + 5, [&](QRect b) { return b.contains(x, y); });
            ASSERT_NE(box, boxes + 5) << x << "," << y;
            ++inBoxes[box - boxes];
        }
    }
    for (int i = 0; i < 5; ++i) EXPECT_GT(inBoxes[i], 10) << "box " << i;
}

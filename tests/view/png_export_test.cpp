#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "support/gui_test_support.h"
#include "view/png_export.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(PngExport, WritesThePixelsAndTheDescription) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage canvas = Blank(37, 23);
    canvas.setPixel(3, 4, 0xFFFECFF4);
    canvas.setPixel(36, 22, 0xFF000000);
    const QString description = DescribeComputation(ModelParams{}, 500, 350);
    const QString path = dir.filePath(QStringLiteral("frame"));  // no extension is added
    QString why;
    ASSERT_TRUE(SavePngAtomically(canvas, path, description, &why)) << why.toStdString();

    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.text(QString::fromLatin1(kPngTextKey)), description);
    const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(back, canvas);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("frame")});

    // Uncompressed, readable by any tool, and ahead of the pixels.
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    const qsizetype text = bytes.indexOf(QByteArray("tEXtOrbitograph\0", 16) + description.toLatin1());
    EXPECT_EQ(text, 8 + 25 + 4);
    EXPECT_LT(text, bytes.indexOf("IDAT"));

    // Text beyond Latin-1 is kept as well.
    const QString cyrillic = QStringLiteral("Шаг (h)=0.01");
    ASSERT_TRUE(SavePngAtomically(canvas, path, cyrillic, &why)) << why.toStdString();
    EXPECT_EQ(QImageReader(path).text(QString::fromLatin1(kPngTextKey)), cyrillic);
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_ARGB32), canvas);
}

TEST(PngExport, DescriptionNamesEveryParameterOnOneLine) {
    ModelParams p;
    p.a = 0.1;
    p.dc = 1e-7;
    p.kc = -0.0;
    p.dcOutward = 0;
    p.kcOutward = 1;
    p.iterations = -1;
    p.step = 0.003;
    p.x1 = -1.9999999999999998;
    const QString d = DescribeComputation(p, -3, 40);
    EXPECT_EQ(d, QStringLiteral("--a 0.1 --dc 1e-07 --dc-direction inward --kc -0 --kc-direction outward "
                                "--iterations -1 --step 0.003 --x1 -1.9999999999999998 --x2 2 --y1 -2 --y2 2 "
                                "--origin -3,40"));
}

TEST(PngExport, FailureLeavesNoFileAndSaysWhy) {
    EnsureGui();
    QTemporaryDir dir;
    const QImage canvas = Blank(4, 4);
    QString why;
    EXPECT_FALSE(SavePngAtomically(canvas, dir.filePath(QStringLiteral("missing/frame.png")), QString(), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    // A null canvas is refused and an existing file keeps its contents.
    const QString existing = dir.filePath(QStringLiteral("old.png"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    why.clear();
    EXPECT_FALSE(SavePngAtomically(QImage(), existing, QString(), &why));
    EXPECT_FALSE(why.isEmpty());
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    // A directory cannot be replaced by a picture.
    EXPECT_FALSE(SavePngAtomically(canvas, dir.path(), QString(), nullptr));
}

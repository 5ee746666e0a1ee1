#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "support/gui_test_support.h"
#include "view/png_export.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The pixels and the description (also beyond Latin-1) come back; the text is
// uncompressed, readable by any tool, and ahead of the pixels.
TEST(PngExport, WritesThePixelsAndTheDescription) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage canvas = Blank(37, 23);
    canvas.setPixel(3, 4, 0xFFFECFF4);
    canvas.setPixel(36, 22, 0xFF000000);
    const QString path = dir.filePath(QStringLiteral("frame"));  // no extension is added
    for (const QString& text : {DescribeComputation(ModelParams{}, 500, 350), QStringLiteral("Шаг (h)=0.01")}) {
        QString why;
        ASSERT_TRUE(SavePngAtomically(canvas, path, text, &why)) << why.toStdString();
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png");
        EXPECT_EQ(reader.text(QString::fromLatin1(kPngTextKey)), text);
        EXPECT_EQ(reader.read().convertToFormat(QImage::Format_ARGB32), canvas);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("frame")});
    }
    const QString description = DescribeComputation(ModelParams{}, 500, 350);
    ASSERT_TRUE(SavePngAtomically(canvas, path, description, nullptr));
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    const qsizetype text = bytes.indexOf(QByteArray("tEXtOrbitograph\0", 16) + description.toLatin1());
    EXPECT_EQ(text, 8 + 25 + 4);
    EXPECT_LT(text, bytes.indexOf("IDAT"));
}

TEST(PngExport, DescriptionNamesEveryParameterOnOneLine) {
    const ModelParams p{.x1 = -1.9999999999999998, .a = 0.1, .step = 0.003, .dcOutward = 0, .kcOutward = 1,
                        .dc = 1e-7, .kc = -0.0, .iterations = -1};
    EXPECT_EQ(DescribeComputation(p, -3, 40),
              QStringLiteral("--a 0.1 --dc 1e-07 --dc-direction inward --kc -0 --kc-direction outward "
                             "--iterations -1 --step 0.003 --x1 -1.9999999999999998 --x2 2 --y1 -2 --y2 2 "
                             "--origin -3,40"));
}

// A missing folder, a null canvas, a folder in the way: refused with a
// reason, no file left behind, an existing file keeps its contents.
TEST(PngExport, FailureLeavesNoFileAndSaysWhy) {
    QTemporaryDir dir;
    const QImage canvas = Blank(4, 4);
    QString why;
    EXPECT_FALSE(SavePngAtomically(canvas, dir.filePath(QStringLiteral("missing/frame.png")), QString(), &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    const QString existing = dir.filePath(QStringLiteral("old.png"));
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
    f.close();
    why.clear();
    EXPECT_FALSE(SavePngAtomically(QImage(), existing, QString(), &why));
    EXPECT_FALSE(why.isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    EXPECT_FALSE(SavePngAtomically(canvas, dir.path(), QString(), nullptr));
}

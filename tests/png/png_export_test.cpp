#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <tuple>

#include "png/png_export.h"
#include "support/file_test_support.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(PngExport, WritesThePixelsAndTheDescription) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Opaque pixels go out as RGB, others as RGBA; noise makes several IDAT
    // chunks and exercises the row filter on every byte value.
    QImage opaque = Blank(37, 23);
    opaque.setPixel(3, 4, 0xFFFECFF4);
    opaque.setPixel(36, 22, 0xFF000000);
    QImage noise(211, 160, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, seed = seed * 1664525u + 1013904223u);
    const QString description = QStringLiteral("--a 0.8 --origin 500,350");
    const QString path = dir.filePath(QStringLiteral("frame"));  // no extension is added
    for (const QImage& canvas : {opaque, noise}) {
        const SaveResult saved = SavePngAtomically(canvas, NativePath(path), description);
        ASSERT_TRUE(saved.Ok()) << SaveFailureText(saved);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "png");
        EXPECT_EQ(reader.text(QString::fromLatin1(kPngTextKey)), description);
        EXPECT_EQ(reader.read().convertToFormat(QImage::Format_ARGB32), canvas);
        EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("frame")});
    }

    // The description uncompressed, readable by any tool, ahead of the pixels.
    const QByteArray bytes = Contents(path);
    const qsizetype text = bytes.indexOf(QByteArray("tEXtOrbitograph\0", 16) + description.toLatin1());
    EXPECT_EQ(text, 8 + 25 + 4);
    EXPECT_LT(text, bytes.indexOf("IDAT"));
}

// A picture that cannot be written, a stop and a missing picture reach the
// caller and leave the target as it was (the atomic writer's other refusals
// are tested with it, in tests/data).
TEST(PngExport, FailuresLeaveTheTargetAsItWas) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString old = dir.filePath(QStringLiteral("old.png"));
    ASSERT_TRUE(WriteFile(old, "old"));
    std::atomic<bool> raised{true};
    const std::tuple<QString, QImage, const std::atomic<bool>*, SaveFailure> rows[] = {
        {dir.filePath(QStringLiteral("missing/frame.png")), Blank(4, 4), nullptr, SaveFailure::System},
        {old, Blank(300, 200), &raised, SaveFailure::Stopped},
        {old, QImage(), nullptr, SaveFailure::NoPicture},
    };
    for (const auto& [path, canvas, stop, failure] : rows) {
        const SaveResult r = SavePngAtomically(canvas, NativePath(path), QString(), stop);
        EXPECT_EQ(r.failure, failure) << path.toStdString();
        EXPECT_FALSE(SaveFailureText(r).empty());
    }
    EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("old.png")});
    EXPECT_EQ(Contents(old), "old");
}

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <functional>

#include "support/file_test_support.h"
#include "support/gui_test_support.h"
#include "view/png_export.h"

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

// Every refusal or failure leaves the target as it was and nothing beside it.
TEST(PngExport, FailuresLeaveTheTargetAsItWas) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage canvas = Blank(4, 4);
    const QString old = dir.filePath(QStringLiteral("old.png"));
    ASSERT_TRUE(WriteFile(old, "old"));
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const auto node = [](const QString& p, mode_t kind, dev_t device = 0) {
        return mknod(QFile::encodeName(p).constData(), kind | 0644, device) == 0;
    };
    std::atomic<bool> raised{true};
    struct Row {
        const char* name;
        std::function<bool()> make;  // false: cannot be made here (not root)
        QImage canvas;
        SaveFailure failure;
        const std::atomic<bool>* stop = nullptr;
    };
    const Row rows[] = {
        {"missing/frame.png", [] { return true; }, canvas, SaveFailure::System},
        {"pipe", [&] { return node(path("pipe"), S_IFIFO); }, canvas, SaveFailure::NotRegularFile},
        {"null", [&] { return node(path("null"), S_IFCHR, makedev(1, 3)); }, canvas, SaveFailure::NotRegularFile},
        {"folder", [&] { return QDir(dir.path()).mkdir(QStringLiteral("folder")); }, canvas,
         SaveFailure::NotRegularFile},
        {"dangling", [&] { return QFile::link(path("nowhere"), path("dangling")); }, canvas,
         SaveFailure::NotRegularFile},
        {"old.png", [] { return true; }, canvas, SaveFailure::Stopped, &raised},
        {"old.png", [] { return true; }, QImage(), SaveFailure::NoPicture},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.make()) {
            std::printf("[  SKIPPED ] %s: cannot be made by this user\n", row.name);
            continue;
        }
        struct stat before {};
        lstat(QFile::encodeName(path(row.name)).constData(), &before);
        const QStringList entries = Entries(dir.path());
        const SaveResult r = SavePngAtomically(row.canvas, NativePath(path(row.name)), QString(), row.stop);
        EXPECT_EQ(r.failure, row.failure);
        EXPECT_FALSE(SaveFailureText(r).empty());
        struct stat after {};
        lstat(QFile::encodeName(path(row.name)).constData(), &after);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(Entries(dir.path()), entries);
    }
    EXPECT_EQ(Contents(old), "old");

    // A link to a regular file stays a link; the file it names is replaced
    // and keeps its permission bits.
    ASSERT_TRUE(QFile::link(old, path("link.png")));
    ASSERT_EQ(chmod(QFile::encodeName(old).constData(), 0640), 0);
    ASSERT_TRUE(SavePngAtomically(canvas, NativePath(path("link.png")), QString()).Ok());
    EXPECT_TRUE(QFileInfo(path("link.png")).isSymLink());
    EXPECT_EQ(QImage(old).size(), QSize(4, 4));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(old).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

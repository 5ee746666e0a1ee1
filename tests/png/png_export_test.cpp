#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <atomic>
#include <tuple>

#include "png/png_export.h"
#include "png/png_text.h"
#include "support/file_test_support.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;
using namespace std::string_literals;

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

namespace {

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// One chunk; its CRC is right unless told otherwise.
std::string Chunk(const std::string& type, const std::string& data, bool rightCrc = true) {
    const std::string typed = type + data;
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
    return BigEndian(static_cast<std::uint32_t>(data.size())) + typed +
           BigEndian(static_cast<std::uint32_t>(crc) ^ !rightCrc);
}

// The text of a file with these bytes, read as the description is.
PngText TextOf(const QString& path, const QByteArray& bytes) {
    if (!bytes.isNull() && !WriteFile(path, bytes)) return {};
    const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    PngText text = ReadPngText(fd, kPngTextKey);
    close(fd);
    return text;
}

}  // namespace

// The description comes back byte for byte, from this program's pictures
// and from tEXt (Latin-1) ones; anything else is refused by its first bytes
// or its chunk headers, however large the file says it is.
TEST(PngText, ReadsTheDescriptionAsWrittenAndNothingElse) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("saved.png"));
    const QString description = QString::fromUtf8("--a 0.8 \"x\xc2\xa0 \xe3\x80\x80  \\u{A}\" \xd0\x96\n\t");
    ASSERT_TRUE(SavePngAtomically(Blank(5, 3), NativePath(saved), description).Ok());
    const PngText ours = TextOf(saved, QByteArray());
    EXPECT_EQ(ours.status, PngTextStatus::Found);
    EXPECT_EQ(QString::fromStdString(ours.text), description);
    EXPECT_EQ(std::tuple(ours.width, ours.height), std::tuple(5u, 3u));

    const std::string png =
        "\x89PNG\r\n\x1a\n" + Chunk("IHDR", BigEndian(7) + BigEndian(2) + std::string("\x08\x02\0\0\0", 5));
    const std::string key = std::string(kPngTextKey) + '\0';
    const std::string end = Chunk("IEND", "");
    const std::string huge = BigEndian(0x7FFFFFFF);
    const std::tuple<const char*, std::string, PngTextStatus, std::string> rows[] = {
        {"latin-1", png + Chunk("tEXt", "Other\0x"s) + Chunk("tEXt", key + "--a 1 \xe9  ") + end, PngTextStatus::Found,
         "--a 1 \xc3\xa9  "},
        {"after the pixels", png + Chunk("IDAT", "xxxx") + Chunk("iTXt", key + "\0\0\0\0 a"s) + end,
         PngTextStatus::Found, " a"},
        {"not a PNG", "GIF89a" + png, PngTextStatus::NotPng, ""},
        {"empty", "", PngTextStatus::NotPng, ""},
        {"no header", "\x89PNG\r\n\x1a\n" + end, PngTextStatus::Malformed, ""},
        {"cut short", png + Chunk("tEXt", key + "--a 1").substr(0, 20), PngTextStatus::Malformed, ""},
        {"a chunk past the end", png + huge + "IDAT", PngTextStatus::Malformed, ""},
        {"too long a chunk", png + BigEndian(0x80000000) + "IDAT", PngTextStatus::Malformed, ""},
        {"wrong CRC", png + Chunk("tEXt", key + "--a 1", false) + end, PngTextStatus::Malformed, ""},
        {"too large", png + BigEndian((1 << 20) + 1) + "iTXt" + key, PngTextStatus::TooLarge, ""},
        {"compressed", png + Chunk("zTXt", key + "\0x"s) + end, PngTextStatus::Compressed, ""},
        {"compressed iTXt", png + Chunk("iTXt", key + "\1\0\0\0x"s) + end, PngTextStatus::Compressed, ""},
        {"none", png + Chunk("tEXt", "Orbitographs\0x"s) + end, PngTextStatus::NoText, ""},
    };
    for (const auto& [name, bytes, status, text] : rows) {
        SCOPED_TRACE(name);
        const PngText read = TextOf(dir.filePath(QStringLiteral("crafted.png")), QByteArray::fromStdString(bytes));
        EXPECT_EQ(read.status, status);
        EXPECT_EQ(read.text, text);
    }

    // A sparse file of 3 GB is refused at its first bytes.
    const QString sparse = dir.filePath(QStringLiteral("sparse.png"));
    ASSERT_TRUE(WriteFile(sparse, "not a picture"));
    ASSERT_EQ(truncate(QFile::encodeName(sparse).constData(), off_t{3} << 30), 0);
    EXPECT_EQ(TextOf(sparse, QByteArray()).status, PngTextStatus::NotPng);
}

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "cli/command_run.h"
#include "png/png_export.h"
#include "request/description.h"
#include "request/picture_file.h"
#include "support/gui_test_support.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

QImage Pixels(const QString& file) { return QImage(file).convertToFormat(QImage::Format_ARGB32); }

std::string DescriptionOf(const QString& file) {
    return ReadPictureDescription(QFile::encodeName(file).toStdString()).text;
}

}  // namespace

// A picture drawn with every display option (texts with quotes and
// backslashes, a bound of -0) is drawn again from its file alone, pixel for
// pixel and with the same description bytes (any text's round trip is the
// description's tests'); options given with --from override the picture's; a
// picture of the older description (the computation only) is drawn at its
// own size. So is a picture whose basins are coloured by the analysis.
TEST(FromPicture, DrawsTheSameFrameAgain) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string legend = " --legend-picture '" ORBITOGRAPH_LEGEND_PICTURE "'";
    const std::string a = Quote(dir.filePath("a.png")), b = Quote(dir.filePath("b.png"));
    const std::string rows[] = {
        "--size 520x410 --step 0.02 --grid --legend --a-symmetry --font-size 17 --legend-hx 'Доход \"x\" \\ y' "
        "--legend-hy ' ' --legend-max-hx 2.5 --legend-min-hx -0 --legend-min-hy -1e-300 --legend-t 'тыл' "
        "--legend-o O --legend-m 'М' --legend-h 'холм' --iterations 30 --dc-direction inward",
        "--size 300x240 --single attractors --fit --no-params --origin 90,100 --x1 -1.5 --y2 1.25 --a 0.7",
        // Coloured by the analysis: its merge distance goes with the attractors.
        "--size 640x480 --colour-by attractor --analysis-delta 0.25 --legend --dc-direction inward --step 0.02",
        "--size 500x420 --colour-by exit --fit --legend --iterations 40",
        "--size 300x300 --single basins --colour-by period --step 0.03 --dc-direction inward",
        "--size 200x150 --single basins --step 0.05 --kc -0.3 --kc-direction outward",
    };
    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        ASSERT_EQ(RunRender(row + legend + " -o " + a).status, 0);
        const CommandRun again = RunRender("--from " + a + legend + " -o " + b);
        ASSERT_EQ(again.status, 0) << again.err;
        ASSERT_FALSE(Pixels(dir.filePath("a.png")).isNull());
        EXPECT_EQ(Pixels(dir.filePath("a.png")), Pixels(dir.filePath("b.png")));
        EXPECT_EQ(DescriptionOf(dir.filePath("a.png")), DescriptionOf(dir.filePath("b.png")));
    }
    // a.png is the last row's: its options overridden give b.png's frame.
    ASSERT_EQ(RunRender("--a 0.6 --grid --size 240x200 --single basins" + legend + " -o " + b).status, 0);
    ASSERT_EQ(RunRender("--from " + a +
                        " --a 0.6 --grid --size 240x200 --origin 120,100 --step 0.01 --kc 0.8 "
                        "--kc-direction inward" +
                        legend + " -o " + a)
                  .status,
              0);
    EXPECT_EQ(Pixels(dir.filePath("a.png")), Pixels(dir.filePath("b.png")));

    const QImage canvas = Pixels(dir.filePath("b.png"));
    ASSERT_TRUE(SavePngAtomically(canvas, NativePath(dir.filePath("old.png")),
                                  QString::fromStdString(DescribeComputation(ModelParams{.a = 0.6}, 120, 100)))
                    .Ok());
    ASSERT_EQ(
        RunRender("--from " + Quote(dir.filePath("old.png")) + " --grid --single basins" + legend + " -o " + a).status,
        0);
    EXPECT_EQ(Pixels(dir.filePath("a.png")), canvas);
}

// A file that is no picture, one without a description or with a malformed
// one is refused before anything is computed, naming what is wrong.
TEST(FromPicture, RefusesPicturesWithoutASoundDescription) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage plain(8, 8, QImage::Format_RGB32);
    plain.fill(Qt::white);
    ASSERT_TRUE(plain.save(dir.filePath("plain.png")));
    ASSERT_TRUE(
        SavePngAtomically(plain, NativePath(dir.filePath("bad.png")), QStringLiteral("--a 1 --grid --grid")).Ok());
    // Beyond the quiet bounds: hours of orbits, a canvas of 1 GB.
    const std::string slow = DescribeComputation(ModelParams{.step = 0.0005, .iterations = 2147483646}, 0, 0);
    const std::string wide = DescribeComputation(ModelParams{}, 0, 0) + " --size 16384x16384";
    for (const auto& [name, text] : {std::pair{"slow.png", slow}, std::pair{"wide.png", wide}})
        ASSERT_TRUE(SavePngAtomically(plain, NativePath(dir.filePath(name)), QString::fromStdString(text)).Ok());
    const std::pair<QString, std::string> files[] = {
        {dir.filePath("slow.png"), "64016001 start points x 2147483647 steps (1.37e+17 map steps) on a 8x8 canvas"},
        {dir.filePath("wide.png"), "on a 16384x16384 canvas, beyond 1e+10 map steps or 16777216 pixels; --allow-large"},
        {dir.filePath("plain.png"), "holds no description"},
        {dir.filePath("bad.png"), "given twice"},
        {QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE), "not a PNG picture"},
        {dir.filePath("missing.png"), "No such file"},
        {dir.path(), "not a regular file"},
    };
    for (const auto& [file, reason] : files) ExpectFailure(RunRender("--from " + Quote(file) + " --counts"), 2, reason);
    // Asked for, the large canvas is taken (counted here, not drawn).
    const CommandRun allowed = RunRender("--from " + Quote(dir.filePath("wide.png")) + " --allow-large --counts");
    EXPECT_EQ(allowed.status, 0) << allowed.err;
}

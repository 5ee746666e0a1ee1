#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include "cli/command_run.h"
#include "view/frame.h"
#include "support/gui_test_support.h"
#include "view/png_export.h"

using namespace orbitograph;
using namespace orbitograph::test;

namespace {

struct Png {
    QImage image;
    QString text;
};

Png ReadPng(const QString& path) {
    QImageReader reader(path);
    Png p;
    p.text = reader.text(QString::fromLatin1(kPngTextKey));
    p.image = reader.read().convertToFormat(QImage::Format_ARGB32);
    return p;
}

// The model the command should have computed, at the given origin.
FractalModel Computed(const ModelParams& params, std::int32_t originX, std::int32_t originY) {
    FractalModel model;
    model.SetParams(params);
    model.originX = originX;
    model.originY = originY;
    EXPECT_EQ(model.Compute(), ComputeStatus::Done);
    return model;
}

}  // namespace

// The command's file holds exactly the frame that the window composes for
// the same client size and settings, and says how it was computed.
TEST(RenderPicture, FileEqualsTheComposedFrame) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("frame.png");
    const CommandRun r = RunRender(
        "--size 640x480 --step 0.02 --grid --legend --a-symmetry --font-size 11 --legend-hx 'доход' "
        "--legend-max-hx 2.5 --legend-min-hy -1 --legend-t 'тыл' --legend-h 'холм' -o '" + file.toStdString() + "'",
        true);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(r.err.empty()) << r.err;

    ModelParams params;
    params.step = 0.02;
    FractalModel model = Computed(params, 320, 240);
    ViewState view;
    view.SetParams(params);
    view.m_showGrid = 1;
    view.m_showLegend = 1;
    view.m_aSymmetry = 1;
    view.m_fontSize = 11;
    view.m_nameHx = QStringLiteral("доход");
    view.m_maxHx = 2.5;
    view.m_minHy = -1.0;
    view.m_regionT = QStringLiteral("тыл");
    view.m_regionH = QStringLiteral("холм");
    const QImage picture(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ASSERT_FALSE(picture.isNull());
    const QImage expected = ComposeFrame(view, model, 640, 480, &picture);

    const Png png = ReadPng(file);
    ASSERT_EQ(png.image.size(), QSize(640, 480));
    EXPECT_TRUE(png.image == expected);
    EXPECT_EQ(png.text, DescribeComputation(params, 320, 240));
}

TEST(RenderPicture, SinglePanelWithAnExplicitOrigin) {
    EnsureGui();
    QTemporaryDir dir;
    const QString file = dir.filePath("basins");
    const CommandRun r =
        RunRender("--single basins --no-params --size 300x200 --origin 100,50 --x1 0 --output " + file.toStdString());
    ASSERT_EQ(r.status, 0) << r.err;

    ModelParams params;
    params.x1 = 0.0;
    FractalModel model = Computed(params, 100, 50);
    ViewState view;
    view.SetParams(params);
    view.m_twoModes = 0;
    view.m_showParams = 0;
    const QImage expected = ComposeFrame(view, model, 300, 200, nullptr);
    const Png png = ReadPng(file);
    EXPECT_TRUE(png.image == expected);
    EXPECT_EQ(png.text, DescribeComputation(params, 100, 50));

    // The description is a command line that makes the same lists again.
    const CommandRun again = RunRender(png.text.toStdString() + " --counts");
    const CommandRun first = RunRender("--origin 100,50 --x1 0 --counts");
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, first.out);
}

TEST(RenderPicture, FailuresWriteNothing) {
    QTemporaryDir dir;
    const std::string missingDir = dir.filePath("no/such/dir/frame.png").toStdString();
    const CommandRun w = RunRender("--counts -o '" + missingDir + "'", true);
    EXPECT_EQ(w.status, 1);
    EXPECT_NE(w.err.find(missingDir), std::string::npos) << w.err;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(missingDir)));

    // An unreadable legend picture is refused before anything is computed.
    const std::string out = dir.filePath("frame.png").toStdString();
    const CommandRun p = RunRender("--counts --legend-picture '" + dir.filePath("none.bmp").toStdString() + "' -o '" +
                                       out + "'",
                                   true);
    EXPECT_EQ(p.status, 2);
    EXPECT_TRUE(p.out.empty());
    EXPECT_NE(p.err.find("--legend-picture"), std::string::npos) << p.err;
    EXPECT_EQ(p.err.find('\n'), p.err.size() - 1) << p.err;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(out)));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(RenderPicture, WithoutAnyFontTheTextStillDraws) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A font configuration that knows no fonts at all.
    const QString config = dir.filePath("fonts.conf");
    {
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("<?xml version=\"1.0\"?><fontconfig><dir>" + dir.filePath("none") + "</dir><cachedir>" +
                 dir.filePath("cache") + "</cachedir></fontconfig>")
                    .toUtf8());
    }
    const QString file = dir.filePath("frame.png");
    const CommandRun r = RunRender("--legend --size 400x300 -o '" + file.toStdString() + "'", true,
                                   "FONTCONFIG_FILE='" + config.toStdString() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(file).size(), QSize(400, 300));
}

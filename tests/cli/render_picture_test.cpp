#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <functional>

#include "cli/command_run.h"
#include "data/counts_text.h"
#include "png/png_export.h"
#include "request/request_view.h"
#include "support/file_test_support.h"
#include "support/gui_test_support.h"
#include "view/frame.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The command's file holds exactly the frame that the window composes for the
// same client size and settings, and its description is a command line that
// gives the counts of the model again.
TEST(RenderPicture, FileEqualsTheComposedFrame) {
    EnsureGui();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage legend(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ASSERT_FALSE(legend.isNull());
    struct Row {
        std::string args;
        ModelParams params;
        int width, height, originX, originY;
        std::function<void(ViewState&)> set;
    };
    const Row rows[] = {
        {"--size 640x480 --step 0.02 --grid --legend --a-symmetry --font-size 11 --legend-hx 'доход' "
         "--legend-max-hx 2.5 --legend-min-hy -1 --legend-t 'тыл' --legend-h 'холм'",
         {.step = 0.02},
         640,
         480,
         320,
         240,
         [](ViewState& v) {
             v.m_switches.m_showGrid = v.m_switches.m_showLegend = v.m_switches.m_aSymmetry = true;
             v.m_switches.m_fontSize = 11;
             v.m_legend.m_nameHx = QStringLiteral("доход");
             v.m_legend.m_maxHx = 2.5;
             v.m_legend.m_minHy = -1.0;
             v.m_legend.m_regionT = QStringLiteral("тыл");
             v.m_legend.m_regionH = QStringLiteral("холм");
         }},
        {"--single basins --no-params --size 300x200 --origin 100,50 --x1 0",
         {.x1 = 0.0},
         300,
         200,
         100,
         50,
         [](ViewState& v) { v.m_switches.m_twoModes = v.m_switches.m_showParams = false; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const QString file = dir.filePath("frame");  // no extension is added
        const CommandRun r = RunRender(row.args + " -o " + Quote(file), true);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.out.empty() && r.err.empty()) << r.err;

        FractalModel model;
        model.SetParams(row.params);
        model.originX = row.originX;
        model.originY = row.originY;
        ASSERT_EQ(model.Compute(), ComputeStatus::Done);
        ViewState view;
        view.SetParams(row.params);
        row.set(view);
        const QImage expected = ComposeFrame(view, model, row.width, row.height, &legend);
        QImageReader reader(file);
        const QString text = reader.text(QString::fromLatin1(kPngTextKey));
        EXPECT_TRUE(reader.read().convertToFormat(QImage::Format_ARGB32) == expected);
        EXPECT_EQ(text, DescribeFrame(view, row.params, row.originX, row.originY, row.width, row.height));

        const CommandRun again = RunRender(text.toStdString() + " --counts");
        EXPECT_EQ(again.out, CountsJson(CountsOf(row.params, model)) + "\n");
    }
}

TEST(RenderPicture, WithoutAnyFontTheTextStillDraws) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString config = dir.filePath("fonts.conf");
    ASSERT_TRUE(WriteFile(config, ("<?xml version=\"1.0\"?><fontconfig><dir>" + dir.filePath("none") +
                                   "</dir><cachedir>" + dir.filePath("cache") + "</cachedir></fontconfig>")
                                      .toUtf8()));
    const QString file = dir.filePath("frame.png");
    const CommandRun r =
        RunRender("--legend --size 400x300 -o " + Quote(file), true, "FONTCONFIG_FILE=" + Quote(config));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(QImage(file).size(), QSize(400, 300));
}

// "Открыть параметры из рисунка..." and "Экспорт данных..." through the
// real window, the files chosen by hooks instead of dialogs.
#include <QFile>

#include "app/data_file_dialogs.h"
#include "app/picture_data_commands.h"
#include "data/grid_export.h"
#include "main_wnd_fixture.h"
#include "request/description.h"
#include "request/request_view.h"

using namespace orbitograph;
using namespace orbitograph::test;

// A picture's description sets the parameters, the switches and the legend
// and computes, its texts byte for byte; a malformed one, a picture without
// one or a file that is no picture changes nothing and says why in Russian;
// a request beyond the quiet bound is computed only when the user agrees.
TEST_F(MainWindowTest, OpensTheParametersOfAPicture) {
    const QString computation =
        QString::fromStdString(DescribeComputation(ModelParams{.a = 0.7, .step = 0.02}, 10, 10));
    const QString description = computation +
                                " --size 10x10 --single attractors --grid --legend --a-symmetry --fit --font-size 20 "
                                "--legend-hx \"Доход,\\u{A0}\\\"x\\\"\" --legend-max-hy 3.5 --legend-o Восток";
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const std::pair<const char*, QString> files[] = {
        {"bad.png", description + " --output x.png"},
        {"empty.png", QString()},
        {"step.png", QString(computation).replace("--step 0.02", "--step 0")},
        {"large.png",
         QString::fromStdString(DescribeComputation(ModelParams{.step = 0.0005, .iterations = 2147483646}, 10, 10))},
        {"good.png", description}};
    for (const auto& [name, text] : files)
        ASSERT_TRUE(SavePngAtomically(canvas, NativePath(dir.filePath(name)), text).Ok());
    ASSERT_TRUE(test::WriteFile(dir.filePath("gif.png"), "GIF89a"));

    const ViewState before = wnd->View();
    const ModelParams paramsBefore = wnd->Model().Params();
    const std::pair<const char*, QString> refused[] = {
        {"bad.png", QStringLiteral("«--output» — не параметр рисунка")},
        {"empty.png", QStringLiteral("нет описания")},
        {"step.png", QStringLiteral("Шаг должен быть")},
        {"gif.png", QStringLiteral("Это не рисунок PNG")},
        {"large.png", QString()},
    };
    for (const auto& [name, says] : refused) {
        SCOPED_TRACE(name);
        errors.clear();
        questions.clear();
        wnd->Hooks().chooseOpenPicture = [&](QWidget*) { return dir.filePath(name); };
        wnd->OnOpenParamsFromPicture();
        if (says.isEmpty()) {
            ASSERT_EQ(questions.size(), 1);
            EXPECT_TRUE(questions[0].contains(QStringLiteral("64016001 начальных точек по 2147483647 шагов")))
                << questions[0].toStdString();
            EXPECT_TRUE(errors.isEmpty());
        } else {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors[0].contains(name)) << errors[0].toStdString();
            EXPECT_TRUE(errors[0].contains(says)) << errors[0].toStdString();
        }
        EXPECT_FALSE(wnd->Computing());
        EXPECT_EQ(wnd->View().m_switches, before.m_switches);
        EXPECT_EQ(wnd->Model().Params(), paramsBefore);
    }

    errors.clear();
    questions.clear();
    wnd->Hooks().chooseOpenPicture = [&](QWidget*) { return dir.filePath("good.png"); };
    wnd->OnOpenParamsFromPicture();
    WaitForResult();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(questions.isEmpty());
    const ViewState expected = ViewFor(*ReadDescription(description.toStdString()).request);
    EXPECT_EQ(wnd->View().m_switches, expected.m_switches);
    EXPECT_EQ(wnd->View().m_legend, expected.m_legend);
    EXPECT_EQ(wnd->View().m_legend.m_nameHx, QString::fromUtf8("Доход,\u00a0\"x\""));
    EXPECT_EQ(wnd->View().m_viewMode, ViewMode::Attractors);
    EXPECT_EQ(wnd->Model().Params(), (ModelParams{.a = 0.7, .step = 0.02}));
    EXPECT_TRUE(wnd->Action(kCmdFitWindow)->isChecked());
    EXPECT_TRUE(wnd->Action(kCmdShowBasins)->isEnabled());
    EXPECT_TRUE(ShowsItsModel());
}

// The export writes the archive or the CSV row of the lists in place, by
// the extension the chosen filter gives. The archive is written in the
// background: the window repaints meanwhile, a second export is refused,
// and a cancel while the grid is computed leaves no file and no error.
TEST_F(MainWindowTest, ExportsTheGrid) {
    EXPECT_EQ(WithDataExtension("g", "Таблица CSV (*.csv)"), "g.csv");
    EXPECT_EQ(WithDataExtension("g.NPZ", "Таблица CSV (*.csv)"), "g.NPZ");
    EXPECT_EQ(WithDataExtension("g.txt", "Массивы NumPy (*.npz)"), "g.txt.npz");
    const QString csv = dir.filePath("g.csv"), npz = dir.filePath("g.npz");
    wnd->Hooks().chooseExportName = [&](QWidget*) { return csv; };
    wnd->OnExportData();
    ASSERT_EQ(errors.size(), 1);  // nothing computed yet
    EXPECT_FALSE(QFile::exists(csv));
    errors.clear();

    Compute({{"step", "0.05"}});
    wnd->OnExportData();
    const FractalModel& m = wnd->Model();
    EXPECT_EQ(Contents(csv).toStdString(),
              GridCsv(GridExport{m.Params(), Client().width() / 2, Client().height() / 2, &m, ""}));

    wnd->Hooks().chooseExportName = [&](QWidget*) { return npz; };
    PictureDataCommands& data = wnd->PictureData();
    blockEngine = true;  // the grid's computation waits for the cancel
    wnd->OnExportData();
    ASSERT_TRUE(data.Exporting());
    ASSERT_NE(data.ExportProgress(), nullptr);
    EXPECT_TRUE(ResizeAndWait(900, 700));
    wnd->OnExportData();
    EXPECT_TRUE(wnd->LastRefusal().contains("уже идёт"));
    data.ExportProgress()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !data.Exporting(); }, 20000));
    EXPECT_FALSE(QFile::exists(npz));
    blockEngine = false;
    wnd->OnExportData();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !data.Exporting(); }, 20000));
    EXPECT_TRUE(Contents(npz).startsWith(QByteArray("PK\x03\x04", 4)));
    EXPECT_TRUE(errors.isEmpty());
}

// Saving the picture: the name chosen, the file written, the failures.
#include <sys/stat.h>

#include <QProcess>
#include <QTranslator>
#include <cerrno>

#include "app/orbitograph_app.h"
#include "app/probe_dlg.h"
#include "app/save_dialog.h"
#include "app/save_failure.h"
#include "legend_dialog/legend_dlg.h"
#include "main_wnd_fixture.h"
#include "request/request_view.h"

using namespace orbitograph;
using namespace orbitograph::test;

// The canvas is written under the name with ".png" appended, and nothing else
// is left in the folder; a refused write says why in Russian and leaves the
// folder as it was; with no client area there is nothing to save.
TEST_F(MainWindowTest, SavingWritesTheCanvasOrReportsWhyNotAndLeavesTheFolder) {
    Compute();
    ASSERT_TRUE(QFile(dir.filePath("plain.txt")).open(QIODevice::WriteOnly));
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0644), 0);
    QStringList expected{"pipe.png", "plain.txt"};
    // The name chosen, the file written or the reason given.
    const std::pair<QString, const char*> rows[] = {
        {"picture", "picture.png"},
        {"picture.png", "picture.png.png"},
        {"", ""},  // cancelled
        {"plain.txt/picture", "Нет такой папки."},
        {"missing/folder/picture", "Нет такой папки."},
        {"pipe", "Это не обычный файл"},
    };
    wnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    for (const auto& [chosen, written] : rows) {
        SCOPED_TRACE(chosen.toStdString());
        errors.clear();
        const QString path = chosen.isEmpty() ? chosen : dir.filePath(chosen);
        wnd->Hooks().chooseSaveName = [&](QWidget*) { return path; };
        QTest::keyClick(wnd.get(), Qt::Key_F5);
        if (QString(written).endsWith(".png")) {
            EXPECT_TRUE(errors.isEmpty());
            expected << written;
            QImage saved(dir.filePath(written), "PNG");
            EXPECT_EQ(saved.size(), Client());
            EXPECT_TRUE(Same(Argb(saved), Argb(wnd->Canvas())));
            EXPECT_EQ(saved.text(kPngTextKey),
                      DescribeFrame(wnd->View(), ModelParams{}, Client().width() / 2, Client().height() / 2,
                                    Client().width(), Client().height()));
        } else if (chosen.isEmpty()) {
            EXPECT_TRUE(errors.isEmpty());
        } else {
            ASSERT_EQ(errors.size(), 1);
            EXPECT_TRUE(errors[0].contains(chosen + ".png"));
            EXPECT_TRUE(errors[0].contains(written)) << errors[0].toStdString();
        }
        expected.sort();
        EXPECT_EQ(Entries(dir.path()), expected);
    }

    errors.clear();
    wnd->CanvasArea()->setMaximumHeight(0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Client().height() == 0; }));
    ASSERT_FALSE(wnd->Canvas().isNull());  // an earlier repaint drew one
    SaveAs("empty");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("нет области рисунка")) << errors[0].toStdString();
    EXPECT_EQ(Entries(dir.path()), expected);
}

// A failed write is told by its real reason: a missing entry in a folder
// that exists (as /proc refuses new files) is not a missing folder.
TEST(SaveFailure, ReasonNamesWhatReallyFailed) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::tuple<SaveFailure, int, QString, const char*> rows[] = {
        {SaveFailure::System, ENOENT, dir.filePath("zz.png"), "Папка есть, но создать в ней файл нельзя."},
        {SaveFailure::System, ENOENT, dir.filePath("missing/zz.png"), "Нет такой папки."},
        {SaveFailure::System, EACCES, dir.filePath("zz.png"), "Нет прав на запись в эту папку или в этот файл."},
        {SaveFailure::System, 12345, dir.filePath("zz.png"), "Системная ошибка номер 12345."},
        {SaveFailure::Stopped, 0, dir.filePath("zz.png"), "Запись остановлена; файл не записан."},
    };
    for (const auto& [failure, error, path, reason] : rows)
        EXPECT_EQ(SaveFailureReason(SaveResult{failure, error}, path), QString::fromUtf8(reason)) << error;
}

// The name a save takes, from the dialog's answers in turn and the replies
// to the replace question: after a wildcard or a "Нет" the dialog opens again
// on the name. Logged: the names the dialog opens on, the files asked about.
TEST(SaveName, WildcardsAreNotTakenAndNoToReplacingReopensTheDialogOnTheName) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("keep.png")).open(QIODevice::WriteOnly));
    // The dialog's answers, the replies, the name taken and the log.
    const std::tuple<QStringList, QList<bool>, const char*> rows[] = {
        {{"picture"}, {}, "picture <- orbitograph"},
        {{"*.png", "a?b", "picture"}, {}, "picture <- orbitograph *.png a?b"},
        {{"keep", "keep"}, {false, true}, "keep <- orbitograph keep.png? keep keep.png?"},
        {{"keep", ""}, {false}, " <- orbitograph keep.png? keep"},
        {{"keep.png"}, {}, "keep.png <- orbitograph"},
    };
    for (const auto& [answers, replies, expected] : rows) {
        QStringList log;
        qsizetype answer = 0, reply = 0;
        const QString chosen = ChooseSaveName(
            nullptr,
            [&](QWidget*, const QString& start) {
                log << QFileInfo(start).fileName();
                const QString a = answers.value(answer++);
                return a.isEmpty() ? a : dir.filePath(a);
            },
            [&](QWidget*, const QString& path) {
                log << QFileInfo(path).fileName() + "?";
                return replies.value(reply++);
            });
        EXPECT_EQ(QFileInfo(chosen).fileName() + " <- " + log.join(" "), expected);
    }

    // The real dialog, Russian with Qt's translation: PNG files shown, the
    // start name, and a name with a wildcard refused with a warning.
    QTranslator translation;
    ASSERT_TRUE(LoadQtTranslation(translation));
    QCoreApplication::installTranslator(&translation);
    for (const auto& [typed, refused] : {std::pair{"*.png", true}, {"a?", true}, {"picture", false}}) {
        SCOPED_TRACE(typed);
        PictureSaveDialog dlg(nullptr, dir.filePath("orbitograph"));
        QStringList warnings;
        dlg.SetWarningSink([&warnings](QWidget*, const QString& text) { warnings << text; });
        dlg.show();
        auto* name = dlg.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(dlg.windowTitle() + "|" + dlg.nameFilters().join(";") + "|" + name->text(),
                  "Сохранить как|Рисунки PNG (*.png)|orbitograph");
        name->setText(typed);
        dlg.accept();
        EXPECT_EQ(dlg.isVisible(), refused);
        EXPECT_EQ(warnings.size(), refused ? 1 : 0);
    }
}

// Started where "bitmap3.bmp" is, as the legend picture is looked up in the
// current folder first; the saved picture, plain and fitted, is the one the
// headless command writes for the same settings.
TEST_F(MainWindowTest, ASavedPictureIsTheOneTheHeadlessCommandWrites) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(ORBITOGRAPH_RESOURCES_DIR)));
    auto plain = std::make_unique<CMainWnd>(help);
    QDir::setCurrent(previous);
    Open(std::move(plain), QSize(1100, 800));
    ASSERT_EQ(wnd->LegendPicture().size(), QSize(260, 260));
    Answer<CSettingsSheet>(&CMainWnd::OnProgramSettings, true, [](CSettingsSheet& s) {
        for (const char* box : {"showLegend", "showGrid", "aSymmetry"})
            test::Named<QCheckBox>(s, box)->setChecked(true);
    });
    auto legend = [](const char* hx, const char* maxHx, const char* t) {
        return [=](CLegendDlg& d) { Fill(d, {{"nameHx", hx}, {"maxHx", maxHx}, {"regionT", t}}); };
    };
    Answer<CLegendDlg>(&CMainWnd::OnLegend, false, legend("Давление", "1e3", "устойчивость"));
    EXPECT_EQ(wnd->View().m_legend, LegendFields{});
    Answer<CLegendDlg>(&CMainWnd::OnLegend, true, legend("Hx", "1234.567e0", "T region"));
    QString shown;  // opened again: what was confirmed
    Answer<CLegendDlg>(&CMainWnd::OnLegend, false, [&shown](CLegendDlg& d) {
        for (const char* field : {"nameHx", "maxHx", "regionT"}) shown += test::Named(d, field)->text() + "|";
    });
    EXPECT_EQ(shown, "Hx|1234.567|T region|");
    Compute({{"a", "0.75"}, {"iterations", "20"}, {"step", "0.02"}, {"x1", "-1.5"}}, {"dcInward"});
    const QStringList args =
        QStringLiteral(
            "--size|%1x%2|--a|0.75|--dc-direction|inward|--iterations|20|--step|0.02|"
            "--x1|-1.5|--grid|--legend|--a-symmetry|--legend-hx|Hx|--legend-max-hx|"
            "1234.567|--legend-t|T region|--legend-picture|" ORBITOGRAPH_RESOURCES_DIR "/bitmap3.bmp")
            .arg(Client().width())
            .arg(Client().height())
            .split('|');
    auto render = [](const QStringList& arguments) {
        QProcess command;
        command.start(ORBITOGRAPH_RENDER_COMMAND, arguments);
        ASSERT_TRUE(command.waitForFinished(60000));
        ASSERT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    };
    auto expectSameAsCommand = [&](const QString& name, const QStringList& more) {
        SaveAs(name);
        ASSERT_TRUE(errors.isEmpty());
        render(args + more + QStringList{"-o", dir.filePath("render.png")});
        const QImage fromWindow(dir.filePath(name + ".png")), fromCommand(dir.filePath("render.png"));
        ASSERT_FALSE(fromCommand.isNull());
        EXPECT_TRUE(Same(Argb(fromWindow), Argb(fromCommand)));
        EXPECT_EQ(fromWindow.text(kPngTextKey), fromCommand.text(kPngTextKey));
    };
    expectSameAsCommand("window", {});

    // Switched on, the fitted display recomputes for the exact end points.
    FitTheWindow();
    ASSERT_TRUE(wnd->Action(kCmdFitWindow)->isChecked());
    ASSERT_EQ(wnd->Model().attractorEnds.size(), wnd->Model().attractors.size());
    ASSERT_GT(wnd->Model().attractors.size(), 0u);
    expectSameAsCommand("fitted", {"--fit"});

    // A probed orbit is described: the command draws it from the option and
    // from the picture, and the window draws it again from the picture.
    Answer<CProbeDlg>(&CMainWnd::OnProbe, true, [](CProbeDlg& d) {
        d.EditX0()->setText("0.3");
        d.EditY0()->setText("-0.1");
    });
    WaitForProbe();
    expectSameAsCommand("probed", {"--fit", "--probe", "0.3,-0.1"});
    const QImage probed(dir.filePath("probed.png"));
    render({"--from", dir.filePath("probed.png"), "--legend-picture", ORBITOGRAPH_RESOURCES_DIR "/bitmap3.bmp", "-o",
            dir.filePath("from.png")});
    EXPECT_TRUE(Same(Argb(QImage(dir.filePath("from.png"))), Argb(probed)));
    QTest::keyClick(wnd.get(), Qt::Key_Escape);
    ASSERT_FALSE(wnd->Probe().has_value());
    wnd->Hooks().chooseOpenPicture = [&](QWidget*) { return dir.filePath("probed.png"); };
    wnd->OnOpenParamsFromPicture();
    WaitForResult();
    WaitForProbe();
    EXPECT_TRUE(Same(CanvasArgb(), Argb(probed)));
}

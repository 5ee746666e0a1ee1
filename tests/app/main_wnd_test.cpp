// End to end through the real main window on the offscreen platform.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTranslator>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <tuple>

#include "app/command_ids.h"
#include "app/dlg_param.h"
#include "app/help_window.h"
#include "app/main_wnd.h"
#include "app/my_app.h"
#include "app/save_dialog.h"
#include "app/set_sheet.h"
#include "legend/legenda_dlg.h"
#include "model/grid.h"
#include "support/dialog_test_support.h"
#include "view/fitted_frame.h"
#include "view/frame.h"
#include "view/png_export.h"

using namespace orbitograph;
using namespace std::chrono_literals;

namespace {

// Runs fn on the modal dialog as soon as one is open, inside its loop.
void OnModal(std::function<void(QWidget*)> fn) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            fn(w);
        }
    });
    timer->start();
}

// A runner that edits the dialog, then presses OK (or Cancel) on it, without
// a modal loop.
template <typename Dialog>
std::function<int(QDialog&)> Press(bool ok, std::function<void(Dialog&)> edit = {}) {
    return [ok, edit](QDialog& d) {
        auto& dlg = dynamic_cast<Dialog&>(d);
        dlg.show();
        if (edit) edit(dlg);
        if (ok)
            dlg.accept();
        else
            dlg.reject();
        return dlg.result();
    };
}

class MainWindowTest : public ::testing::Test {
protected:
    HelpViewer help;
    std::atomic<bool> blockEngine{false};
    std::atomic<bool> engineOutOfMemory{false};
    std::atomic<int> engineRuns{0};
    int threadsRefused = 0;  // thread starts still to fail
    std::unique_ptr<CMainWnd> wnd;
    QStringList errors;

    void SetUp() override {
        SpacesEngine engine = [this](const ModelParams& p, std::int32_t ox, std::int32_t oy,
                                     const ComputeControl& c) -> std::optional<SpaceLists> {
            ++engineRuns;
            if (engineOutOfMemory) throw std::bad_alloc();
            if (blockEngine) {
                // Stands for a long computation: runs until cancelled.
                const auto deadline = std::chrono::steady_clock::now() + 20s;
                while (!c.cancel->load() && std::chrono::steady_clock::now() < deadline) {
                    if (c.progress) c.progress(0.25);
                    std::this_thread::sleep_for(1ms);
                }
                return std::nullopt;
            }
            return ComputeSpaces(p, ox, oy, c);
        };
        ThreadStarter startThread = [this](std::function<void()> body) {
            if (threadsRefused > 0) {
                --threadsRefused;
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            return std::jthread(std::move(body));
        };
        wnd = std::make_unique<CMainWnd>(help, engine, startThread);
        wnd->Hooks().showError = [this](QWidget*, const QString& text) { errors << text; };
        wnd->resize(1000, 760);
        wnd->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->PaintCount() > 0; }));
    }

    void TearDown() override { wnd.reset(); }

    QSize Client() const { return wnd->CanvasArea()->size(); }

    // Waits until the repaints the commands asked for have happened.
    bool WaitForRequestedRepaint() {
        return QTest::qWaitFor([this] { return !wnd->RepaintPending(); });
    }

    bool WaitForRepaintAfter(int paints) {
        return QTest::qWaitFor([&] { return wnd->PaintCount() > paints; });
    }

    // Waits for the computation to end and for the repaint it asked for.
    void WaitForResult() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing() && !wnd->RepaintPending(); }, 30000));
    }

    // Confirms the parameters dialog with edits, waits for the result and
    // its repaint.
    void Compute(std::function<void(CDlgParam&)> edit = {}) {
        wnd->Hooks().runDialog = Press<CDlgParam>(true, edit);
        wnd->OnFractalParameters();
        WaitForResult();
    }

    // The frame the view library composes for the window's view state and
    // this model at the window's client size.
    QImage ExpectedFrame(const FractalModel& model) const {
        ViewState view = wnd->View();
        FractalModel m = model;
        const QImage& picture = wnd->LegendPicture();
        return ComposeFrame(view, m, Client().width(), Client().height(), picture.isNull() ? nullptr : &picture);
    }

    FractalModel Reference(const ModelParams& p) const {
        FractalModel m;
        m.SetParams(p);
        m.originX = Client().width() / 2;
        m.originY = Client().height() / 2;
        EXPECT_EQ(m.Compute(), ComputeStatus::Done);
        return m;
    }

    static void ExpectSameLists(const FractalModel& a, const FractalModel& b) {
        auto all = [](const FractalModel& m) {
            return std::tie(m.attractors, m.basinInfinity, m.basinM, m.basinO, m.basinH, m.basinT, m.basinZero,
                            m.report);
        };
        EXPECT_TRUE(all(a) == all(b));
        EXPECT_EQ(a.Params(), b.Params());
    }
};

// Pixels that differ, or -1 when the sizes or formats do.
qsizetype DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.format() != b.format()) return -1;
    qsizetype n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

QStringList MenuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return items;
}

}  // namespace

TEST_F(MainWindowTest, TitleMenuAndInitialStates) {
    EXPECT_EQ(wnd->windowTitle(), "Orbitograph 5.1");
    EXPECT_FALSE(wnd->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(wnd->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(wnd->windowIcon().isNull());

    QStringList menus;
    for (QAction* popup : wnd->menuBar()->actions()) {
        menus << popup->text() + ": " + MenuItems(popup->menu()).join("|");
        // The key names are in the texts; the items carry no second shortcut.
        for (QAction* a : popup->menu()->actions()) EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    }
    EXPECT_EQ(menus.join("\n"),
              "Файл: &Сохранить F5|Печать|Выход\n"
              "Параметры: -|&Параметры фрактала F7|Легенда|Настройки программы|-|Отобразить аттракторы|"
              "Отобразить бассейны\n"
              "Исследование: По размеру окна|-|Назад|Вперёд|Исходная область|-|Строка состояния\n"
              "Справка: &Инструкция F1|О программе...");
    EXPECT_FALSE(wnd->Action(kCmdFitWindow)->isChecked());
    EXPECT_FALSE(wnd->Action(kCmdStatusBar)->isChecked());
    for (int id : {kCmdSavePicture, kCmdPrint, kCmdExit, kCmdFractalParameters, kCmdLegend, kCmdProgramSettings,
                   kCmdHelpInstructions, kCmdAbout})
        EXPECT_TRUE(wnd->Action(id)->isEnabled()) << id;
    EXPECT_FALSE(wnd->Action(kCmdShowAttractors)->isEnabled());
    EXPECT_FALSE(wnd->Action(kCmdShowBasins)->isEnabled());

    // The opened "Параметры" paints its leading separator as it paints the
    // one between the items: a line with room above and below, clear of
    // the frame.
    QMenu* params = wnd->menuBar()->actions().at(1)->menu();
    params->popup(wnd->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(params));
    const QImage grab = params->grab().toImage();
    params->hide();
    auto inside = [&](int item) {
        const QRect r = params->actionGeometry(params->actions().at(item));
        return grab.copy(r.adjusted(r.width() / 4, 1, -r.width() / 4, -1));
    };
    const QImage middle = inside(4);
    EXPECT_EQ(inside(0), middle);
    EXPECT_NE(middle.pixel(0, 0), middle.pixel(0, middle.height() / 2));

    // Restored from maximised, the window would take two thirds of the
    // screen's work area, centred.
    CMainWnd fresh(help);
    fresh.showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    const QRect work = fresh.screen()->availableGeometry();
    const QRect normal = fresh.normalGeometry();
    const QSize off = normal.size() - QSize(work.width() * 2 / 3, work.height() * 2 / 3);
    EXPECT_LE(qAbs(off.width()) + qAbs(off.height()) + (normal.center() - work.center()).manhattanLength(), 3);

    // The first repaint: the empty picture at the client size.
    EXPECT_EQ(wnd->Canvas().size(), Client());
    EXPECT_EQ(DifferentPixels(wnd->Canvas(), ExpectedFrame(FractalModel{})), 0);
    EXPECT_EQ(wnd->Model().originX, Client().width() / 2);
    EXPECT_EQ(wnd->Model().originY, Client().height() / 2);
}

TEST_F(MainWindowTest, F7ThenEnterComputesTheDefaultsAndEscChangesNothing) {
    wnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    QString title;
    OnModal([&title](QWidget* dialog) {
        title = dialog->windowTitle();
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    QTest::keyClick(wnd.get(), Qt::Key_F7);
    EXPECT_EQ(title, "Параметры и исходные данные модели");
    WaitForResult();

    const FractalModel reference = Reference(ModelParams{});
    ExpectSameLists(wnd->Model(), reference);
    EXPECT_EQ(wnd->Model().attractors.size(), 14640u);
    EXPECT_EQ(wnd->View().Params(), ModelParams{});
    EXPECT_EQ(DifferentPixels(wnd->Canvas(), ExpectedFrame(reference)), 0);
    EXPECT_TRUE(errors.isEmpty());

    // Esc through the real modal loop: nothing computed, nothing repainted.
    const QImage canvasBefore = wnd->Canvas();
    const int runs = engineRuns;
    const int requests = wnd->RepaintRequests();
    wnd->Hooks().runDialog = [](QDialog& d) { return d.exec(); };
    OnModal([](QWidget* dialog) {
        dynamic_cast<CDlgParam*>(dialog)->Edit(1001)->setText("0.3");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    wnd->OnFractalParameters();
    QTest::qWait(50);
    EXPECT_EQ(wnd->RepaintRequests(), requests);
    EXPECT_FALSE(wnd->Computing());
    EXPECT_EQ(engineRuns, runs);
    ExpectSameLists(wnd->Model(), reference);
    EXPECT_EQ(wnd->View().Params(), ModelParams{});
    EXPECT_EQ(DifferentPixels(wnd->Canvas(), canvasBefore), 0);
}

TEST_F(MainWindowTest, RefusedParametersKeepTheDialogOpenUntilCorrected) {
    wnd->Hooks().runDialog = [](QDialog& d) { return d.exec(); };
    QStringList seen;
    OnModal([&seen](QWidget* dialog) {
        auto* dlg = dynamic_cast<CDlgParam*>(dialog);
        dlg->Edit(1010)->setText("2.0000001");
        // The warning box comes up in its own loop; close it, then check.
        OnModal([&seen, dlg](QWidget* box) {
            seen << box->windowTitle();
            EXPECT_EQ(test::LayoutFaults(*box), QStringList{});
            QTest::keyClick(box, Qt::Key_Return);
            QTimer::singleShot(0, dlg, [&seen, dlg] {
                seen << (QApplication::activeModalWidget() == dlg ? "open" : "closed");
                seen << (dlg->focusWidget() == dlg->Edit(1010) ? "focused" : "elsewhere");
                dlg->Edit(1010)->setText("-1");
                dlg->accept();
            });
        });
        dlg->accept();
    });
    wnd->OnFractalParameters();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }, 30000));
    EXPECT_EQ(seen.join(" "), "orbitograph open focused");
    EXPECT_EQ(wnd->View().m_x1, -1.0);
    EXPECT_EQ(wnd->Model().x1, -1.0);
}

// Each row runs the settings sheet and leaves the two-panel box as given:
// the view changes only on OK, the single-panel items follow the view's
// switch whichever way the sheet closes, and every OK repaints.
TEST_F(MainWindowTest, SettingsReachTheViewOnlyOnOkAndSetTheSinglePanelItems) {
    struct Row {
        bool ok;
        bool twoModes;  // the box as the user leaves it
        bool itemsEnabled;
        int viewTwoModes;
    };
    const Row rows[] = {
        {false, false, false, 1},  // Cancel right after start: greyed, view unchanged
        {true, false, true, 0},    // two panels off and OK
        {false, true, true, 0},    // Cancel keeps the state of the view
        {true, true, false, 1},    // on again
        {true, true, false, 1},    // OK with nothing changed
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "ok " << row.ok << " twoModes " << row.twoModes);
        wnd->Hooks().runDialog = Press<CSetSheet>(row.ok, [&row](CSetSheet& s) {
            s.m_page1->Box(1017)->setChecked(row.twoModes);
            s.m_page1->Box(1018)->setChecked(false);
            s.m_page1->Box(1020)->setChecked(true);
            s.Tabs()->setCurrentIndex(1);
            s.m_page2->FontSizeEdit()->setText("20");
        });
        const int requests = wnd->RepaintRequests();
        wnd->OnProgramSettings();
        EXPECT_EQ(wnd->Action(kCmdShowAttractors)->isEnabled(), row.itemsEnabled);
        EXPECT_EQ(wnd->Action(kCmdShowBasins)->isEnabled(), row.itemsEnabled);
        EXPECT_EQ(wnd->View().m_twoModes, row.viewTwoModes);
        EXPECT_EQ(wnd->View().m_showGrid, wnd->View().m_fontSize == 20 ? 1 : 0);
        if (row.ok) {
            EXPECT_EQ(wnd->View().m_showParams, 0);
            EXPECT_EQ(wnd->View().m_fontSize, 20);
            EXPECT_GT(wnd->RepaintRequests(), requests);
            ASSERT_TRUE(WaitForRequestedRepaint());
            EXPECT_EQ(DifferentPixels(wnd->Canvas(), ExpectedFrame(wnd->Model())), 0);
        } else {
            EXPECT_EQ(wnd->RepaintRequests(), requests);
        }
    }
}

TEST_F(MainWindowTest, SinglePanelCommandsChooseThePanel) {
    Compute();
    wnd->Hooks().runDialog = Press<CSetSheet>(true, [](CSetSheet& s) { s.m_page1->Box(1017)->setChecked(false); });
    wnd->OnProgramSettings();
    ASSERT_TRUE(wnd->Action(kCmdShowAttractors)->isEnabled());

    QImage attractors;
    for (int mode : {2, 2, 3, 3, 2}) {
        const int requests = wnd->RepaintRequests();
        wnd->Action(mode == 2 ? kCmdShowAttractors : kCmdShowBasins)->trigger();
        EXPECT_EQ(wnd->View().m_viewMode, mode);
        EXPECT_GT(wnd->RepaintRequests(), requests);
        ASSERT_TRUE(WaitForRequestedRepaint());
        EXPECT_EQ(DifferentPixels(wnd->Canvas(), ExpectedFrame(wnd->Model())), 0);
        if (mode == 2) attractors = wnd->Canvas();
        if (mode == 3) {
            EXPECT_NE(wnd->Canvas(), attractors);
        }
    }
}

TEST_F(MainWindowTest, LegendDialogOkCopiesTheFieldsAndCancelDoesNot) {
    auto edit = [](CLegendaDlg& d) {
        d.Edit(1022)->setText("Давление");
        d.Edit(1027)->setText("1e3");
        d.Edit(1028)->setText("устойчивость");
    };
    wnd->Hooks().runDialog = Press<CLegendaDlg>(false, edit);
    const int requests = wnd->RepaintRequests();
    wnd->OnLegend();
    EXPECT_EQ(wnd->RepaintRequests(), requests);
    EXPECT_EQ(static_cast<const LegendFields&>(wnd->View()), LegendFields{});

    wnd->Hooks().runDialog = Press<CLegendaDlg>(true, edit);
    wnd->OnLegend();
    EXPECT_GT(wnd->RepaintRequests(), requests);
    ASSERT_TRUE(WaitForRequestedRepaint());
    EXPECT_EQ(wnd->View().m_nameHx, "Давление");
    EXPECT_EQ(wnd->View().m_maxHx, 1000.0);
    EXPECT_EQ(wnd->View().m_regionT, "устойчивость");

    // Opened again: shows what was confirmed.
    QString shown;
    wnd->Hooks().runDialog = Press<CLegendaDlg>(false, [&shown](CLegendaDlg& d) { shown = d.Edit(1027)->text(); });
    wnd->OnLegend();
    EXPECT_EQ(shown, "1000");
}

TEST_F(MainWindowTest, SavingWritesTheCanvasPixelsUnderTheNameWithPngAppended) {
    Compute();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Row {
        const char* chosen;
        const char* written;
    };
    const Row rows[] = {{"picture", "picture.png"}, {"picture.png", "picture.png.png"}};
    wnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.chosen);
        wnd->Hooks().chooseSaveName = [&](QWidget*) { return dir.filePath(row.chosen); };
        QTest::keyClick(wnd.get(), Qt::Key_F5);
        const QString written = dir.filePath(row.written);
        ASSERT_TRUE(QFile::exists(written));
        QImage saved(written, "PNG");
        ASSERT_FALSE(saved.isNull());
        EXPECT_EQ(saved.size(), Client());
        EXPECT_EQ(saved.convertToFormat(QImage::Format_ARGB32), wnd->Canvas().convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(saved.text(kPngTextKey), DescribeComputation(ModelParams{}, Client().width() / 2,
                                                                Client().height() / 2));
    }
    EXPECT_TRUE(errors.isEmpty());
    // Only the two pictures: no temporary file left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // Cancelled: nothing written, nothing shown.
    wnd->Hooks().chooseSaveName = [](QWidget*) { return QString(); };
    wnd->OnSavePicture();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_TRUE(errors.isEmpty());
}

// The name a save takes, from the dialog's answers in turn and the replies
// to the replace question: after a wildcard or a "Нет" the dialog opens again
// on the name. Logged: the names the dialog opens on, the files asked about.
TEST(SaveName, WildcardsAreNotTakenAndNoToReplacingReopensTheDialogOnTheName) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile(dir.filePath("keep.png")).open(QIODevice::WriteOnly));
    struct Row {
        QStringList answers;
        QList<bool> replies;
        const char* expected;
    };
    const Row rows[] = {
        {{"picture"}, {}, "picture <- orbitograph"},
        {{"*.png", "a?b", "picture"}, {}, "picture <- orbitograph *.png a?b"},
        {{"keep", "keep"}, {false, true}, "keep <- orbitograph keep.png? keep keep.png?"},
        {{"keep", ""}, {false}, " <- orbitograph keep.png? keep"},
        {{"keep.png"}, {}, "keep.png <- orbitograph"},
    };
    for (const Row& row : rows) {
        QStringList log;
        qsizetype answer = 0, reply = 0;
        const QString chosen = ChooseSaveName(
            nullptr,
            [&](QWidget*, const QString& start) {
                log << QFileInfo(start).fileName();
                const QString a = row.answers.value(answer++);
                return a.isEmpty() ? a : dir.filePath(a);
            },
            [&](QWidget*, const QString& path) {
                log << QFileInfo(path).fileName() + "?";
                return row.replies.value(reply++);
            });
        EXPECT_EQ(QFileInfo(chosen).fileName() + " <- " + log.join(" "), row.expected);
    }
}

// The real dialog, Russian with Qt's translation: PNG files shown, the start
// name, and a name with a wildcard refused with a warning.
TEST(SaveName, TheDialogShowsPngFilesInRussianAndRefusesAWildcard) {
    QTemporaryDir dir;
    QTranslator translation;
    ASSERT_TRUE(LoadQtTranslation(translation));
    QCoreApplication::installTranslator(&translation);
    const std::pair<const char*, bool> rows[] = {{"*.png", true}, {"a?", true}, {"picture", false}};
    for (const auto& [typed, refused] : rows) {
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

TEST_F(MainWindowTest, ASaveThatCannotBeWrittenIsReportedAndLeavesTheFolderAsItWas) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0644), 0);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    struct Row {
        QString target;
        QString reason;
    } rows[] = {
        {dir.filePath("plain.txt/picture"), "Нет такой папки."},
        {dir.filePath("missing/folder/picture"), "Нет такой папки."},
        {dir.filePath("pipe"), "Это не обычный файл"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        errors.clear();
        wnd->Hooks().chooseSaveName = [&](QWidget*) { return row.target; };
        wnd->OnSavePicture();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(row.target + ".png"));
        EXPECT_TRUE(errors[0].contains(row.reason)) << errors[0].toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }

    // With no client area left there is no picture to save, whatever an
    // earlier repaint drew.
    errors.clear();
    wnd->CanvasArea()->setMaximumHeight(0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Client().height() == 0; }));
    ASSERT_FALSE(wnd->Canvas().isNull());
    wnd->Hooks().chooseSaveName = [&](QWidget*) { return dir.filePath("empty"); };
    wnd->OnSavePicture();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("нет области рисунка")) << errors[0].toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

TEST_F(MainWindowTest, ALongComputationCanBeWatchedCancelledOrEndedByExit) {
    Compute();
    const FractalModel before = wnd->Model();
    const ModelParams paramsBefore = wnd->View().Params();
    const QImage canvasBefore = wnd->Canvas();

    blockEngine = true;
    wnd->SetProgressDelay(50);
    wnd->Hooks().runDialog = Press<CDlgParam>(true, [](CDlgParam& d) {
        d.Edit(1001)->setText("0.3");
        d.Edit(1008)->setText("1000000");
    });
    wnd->OnFractalParameters();
    ASSERT_TRUE(wnd->Computing());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->Progress() != nullptr && wnd->Progress()->isVisible(); }));
    QProgressDialog* progress = wnd->Progress();
    EXPECT_EQ(test::LayoutFaults(*progress), QStringList{});
    EXPECT_EQ(progress->findChild<QPushButton*>()->text(), "Отмена");
    EXPECT_TRUE(progress->labelText().startsWith("Вычисл"));
    EXPECT_TRUE(QTest::qWaitFor([progress] { return progress->value() == 250; }));

    // Only Help, About and Exit can be chosen meanwhile; the window still
    // repaints.
    for (int id : {kCmdSavePicture, kCmdPrint, kCmdFractalParameters, kCmdLegend, kCmdProgramSettings,
                   kCmdHelpInstructions, kCmdAbout, kCmdExit})
        EXPECT_EQ(wnd->Action(id)->isEnabled(), id == kCmdHelpInstructions || id == kCmdAbout || id == kCmdExit) << id;
    wnd->Action(kCmdHelpInstructions)->trigger();
    ASSERT_NE(help.Window(), nullptr);
    help.Window()->close();
    const int runs = engineRuns;
    wnd->OnFractalParameters();
    EXPECT_EQ(engineRuns, runs);
    int paints = wnd->PaintCount();
    wnd->resize(900, 700);
    ASSERT_TRUE(WaitForRepaintAfter(paints));

    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }));
    EXPECT_EQ(wnd->Progress(), nullptr);
    ExpectSameLists(wnd->Model(), before);
    EXPECT_EQ(wnd->View().Params(), paramsBefore);
    EXPECT_TRUE(wnd->Action(kCmdFractalParameters)->isEnabled());
    EXPECT_FALSE(wnd->Action(kCmdShowAttractors)->isEnabled());  // as before the computation
    EXPECT_TRUE(errors.isEmpty());

    // Back at the first size, the picture is the one from before; at
    // another size the same points are drawn, nothing is recomputed.
    paints = wnd->PaintCount();
    wnd->resize(1000, 760);
    ASSERT_TRUE(WaitForRepaintAfter(paints));
    EXPECT_EQ(DifferentPixels(wnd->Canvas(), canvasBefore), 0);
    paints = wnd->PaintCount();
    wnd->resize(700, 500);
    ASSERT_TRUE(WaitForRepaintAfter(paints));
    EXPECT_EQ(engineRuns, runs);
    EXPECT_EQ(wnd->Model().originX, Client().width() / 2);
    EXPECT_EQ(wnd->Canvas().size(), Client());
    EXPECT_EQ(DifferentPixels(wnd->Canvas(), ExpectedFrame(before)), 0);

    // Exit during a computation stops it at once and closes the window.
    wnd->OnFractalParameters();
    ASSERT_TRUE(wnd->Computing());
    const auto start = std::chrono::steady_clock::now();
    wnd->Action(kCmdExit)->trigger();
    EXPECT_FALSE(wnd->isVisible());
    wnd.reset();  // waits for the worker
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

// A computation that runs out of memory, or that cannot get a thread, is
// reported and changes nothing; F7 works again afterwards.
TEST_F(MainWindowTest, AComputationThatCannotRunIsReportedAndF7StillWorks) {
    Compute();
    const FractalModel before = wnd->Model();
    struct Row {
        bool outOfMemory;
        int threadsRefused;
        const char* errorHas;
    };
    const Row rows[] = {{true, 0, "памяти"}, {false, 1, "Не удалось начать"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.errorHas);
        errors.clear();
        engineOutOfMemory = row.outOfMemory;
        threadsRefused = row.threadsRefused;
        wnd->Hooks().runDialog = Press<CDlgParam>(true, [](CDlgParam& d) { d.Edit(1008)->setText("50"); });
        wnd->OnFractalParameters();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }));
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(row.errorHas)) << errors[0].toStdString();
        ExpectSameLists(wnd->Model(), before);
        EXPECT_EQ(wnd->View().m_iterations, 10);
        EXPECT_TRUE(wnd->Action(kCmdFractalParameters)->isEnabled());
    }
    engineOutOfMemory = false;
    Compute([](CDlgParam& d) { d.Edit(1008)->setText("50"); });
    EXPECT_EQ(wnd->Model().iterations, 50);
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(MainWindowTest, HelpAboutPrintAndExit) {
    wnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    QTest::keyClick(wnd.get(), Qt::Key_F1);
    HelpWindow* window = help.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->Browser()->source(), QUrl("qrc:/help/index.html"));
    // Every page the contents link to exists in the manual.
    const QString html = window->Browser()->toHtml();
    for (const char* page : {"model.html", "parameters.html", "spaces.html", "settings.html", "legend.html",
                             "saving.html"}) {
        EXPECT_TRUE(html.contains(page)) << page;
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + page)) << page;
    }

    QStringList seen;
    wnd->Hooks().runDialog = [&seen](QDialog& d) {
        seen << d.windowTitle();
        for (QLabel* label : d.findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) seen << label->text();
            if (!label->pixmap().isNull()) seen << "icon";
        }
        for (QPushButton* button : d.findChildren<QPushButton*>()) seen << button->text();
        return int(QDialog::Accepted);
    };
    wnd->Hooks().runDialog = [runDialog = wnd->Hooks().runDialog](QDialog& d) {
        d.show();
        return test::LayoutFaults(d).isEmpty() ? runDialog(d) : -1;
    };
    wnd->OnAbout();
    EXPECT_EQ(seen.join("|"), "О программе...|Orbitograph V 5.1|icon|ОК");

    const int requests = wnd->RepaintRequests();
    wnd->Action(kCmdPrint)->trigger();
    EXPECT_EQ(wnd->RepaintRequests(), requests);
    EXPECT_TRUE(errors.isEmpty());
    wnd->Action(kCmdExit)->trigger();
    EXPECT_FALSE(wnd->isVisible());
    EXPECT_TRUE(wnd->Canvas().isNull());
    EXPECT_TRUE(wnd->LegendPicture().isNull());
    // Closing the main window leaves the help window to its owner.
    EXPECT_TRUE(window->isVisible());
    window->close();
}

TEST_F(MainWindowTest, ASavedPictureIsTheOneTheHeadlessCommandWrites) {
    // Started where "bitmap3.bmp" is, as the legend picture is looked up
    // in the current folder first.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(ORBITOGRAPH_RESOURCES_DIR)));
    wnd = std::make_unique<CMainWnd>(help);
    QDir::setCurrent(previous);
    ASSERT_EQ(wnd->LegendPicture().size(), QSize(260, 260));
    wnd->Hooks().showError = [this](QWidget*, const QString& text) { errors << text; };
    wnd->resize(1100, 800);
    wnd->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.get()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->PaintCount() > 0; }));

    wnd->Hooks().runDialog = Press<CSetSheet>(true, [](CSetSheet& s) {
        s.m_page1->Box(1019)->setChecked(true);
        s.m_page1->Box(1020)->setChecked(true);
        s.m_page1->Box(1021)->setChecked(true);
    });
    wnd->OnProgramSettings();
    wnd->Hooks().runDialog = Press<CLegendaDlg>(true, [](CLegendaDlg& d) {
        d.Edit(1022)->setText("Hx");
        d.Edit(1027)->setText("1234.567");
        d.Edit(1028)->setText("T region");
    });
    wnd->OnLegend();
    Compute([](CDlgParam& d) {
        d.Edit(1001)->setText("0.75");
        d.Radio(1002)->setChecked(true);
        d.Edit(1008)->setText("20");
        d.Edit(1009)->setText("0.02");
        d.Edit(1010)->setText("-1.5");
    });
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    wnd->Hooks().chooseSaveName = [&](QWidget*) { return dir.filePath("window"); };
    wnd->OnSavePicture();
    ASSERT_TRUE(errors.isEmpty());

    const QString size = QStringLiteral("%1x%2").arg(Client().width()).arg(Client().height());
    QProcess render;
    QStringList args{"--size", size, "--a", "0.75", "--dc-direction", "inward", "--iterations", "20", "--step", "0.02",
                  "--x1", "-1.5", "--grid", "--legend", "--a-symmetry", "--legend-hx", "Hx", "--legend-max-hx",
                  "1234.567", "--legend-t", "T region", "--legend-picture", QStringLiteral(ORBITOGRAPH_RESOURCES_DIR "/bitmap3.bmp"),
                  "-o", dir.filePath("render.png")};
    render.start(QStringLiteral(ORBITOGRAPH_RENDER_COMMAND), args);
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage fromWindow(dir.filePath("window.png"));
    const QImage fromCommand(dir.filePath("render.png"));
    ASSERT_FALSE(fromCommand.isNull());
    EXPECT_EQ(DifferentPixels(fromWindow.convertToFormat(QImage::Format_ARGB32),
                              fromCommand.convertToFormat(QImage::Format_ARGB32)),
              0);
    EXPECT_EQ(fromWindow.text(kPngTextKey), fromCommand.text(kPngTextKey));

    // The fitted display: switched on in the sheet, it recomputes for the
    // exact end points, and the command with --fit draws the same frame.
    wnd->Hooks().runDialog = Press<CSetSheet>(true, [](CSetSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        s.m_page2->FitWindowBox()->setChecked(true);
    });
    wnd->OnProgramSettings();
    WaitForResult();
    ASSERT_TRUE(wnd->Action(kCmdFitWindow)->isChecked());
    ASSERT_EQ(wnd->Model().attractorEnds.size(), wnd->Model().attractors.size());
    ASSERT_GT(wnd->Model().attractors.size(), 0u);
    wnd->Hooks().chooseSaveName = [&](QWidget*) { return dir.filePath("fitted"); };
    wnd->OnSavePicture();
    args.last() = dir.filePath("fitted-render.png");
    args.insert(args.size() - 2, QStringLiteral("--fit"));
    render.start(QStringLiteral(ORBITOGRAPH_RENDER_COMMAND), args);
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    EXPECT_EQ(DifferentPixels(QImage(dir.filePath("fitted.png")).convertToFormat(QImage::Format_ARGB32),
                              QImage(dir.filePath("fitted-render.png")).convertToFormat(QImage::Format_ARGB32)),
              0);
}

TEST_F(MainWindowTest, ARubberBandZoomsAndBackReturnsToTheDialogsValues) {
    wnd->Hooks().runDialog = Press<CSetSheet>(true, [](CSetSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        s.m_page2->FitWindowBox()->setChecked(true);
    });
    wnd->OnProgramSettings();
    Compute();
    const ModelParams first = wnd->View().Params();
    // From the basin area's middle to its top-right corner and beyond.
    const FittedLayout f = FittedLayoutOf(wnd->View());
    const PixelRect& a = f.basinArea;
    wnd->ZoomToBand(QPoint(a.left + a.width / 2, a.top + a.height / 2), QPoint(a.left + a.width + 50, a.top - 50));
    WaitForResult();
    const ModelParams zoomed = wnd->View().Params();
    // The band's last grid point, exactly as the grid accumulated it.
    const GridSide side(-2.0, 2.0, 0.01);
    const double last = side.At(side.Count() - 1);
    EXPECT_EQ(std::tie(zoomed.x2, zoomed.y2), std::tie(last, last));
    EXPECT_NEAR(zoomed.x1, 0.0, 0.01);
    EXPECT_EQ(std::max(CountColumns(zoomed), CountRows(zoomed)), 400);
    EXPECT_EQ(wnd->Model().attractorEnds.size(), wnd->Model().attractors.size());

    wnd->Action(kCmdBack)->trigger();
    WaitForResult();
    EXPECT_EQ(wnd->View().Params(), first);
    ExpectSameLists(wnd->Model(), Reference(first));
    wnd->Action(kCmdBack)->trigger();  // nothing before the first
    EXPECT_FALSE(wnd->Computing());
    EXPECT_FALSE(wnd->LastRefusal().isEmpty());
    wnd->Action(kCmdForward)->trigger();
    WaitForResult();
    EXPECT_EQ(wnd->View().Params(), zoomed);
}

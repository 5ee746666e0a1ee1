// The commands end to end through the real main window.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextBrowser>

#include "main_wnd_fixture.h"
#include "model/grid.h"
#include "view/fitted_frame.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST_F(MainWindowTest, TitleMenuAndInitialStates) {
    EXPECT_EQ(wnd->windowTitle(), "Orbitograph 5.1");
    EXPECT_FALSE(wnd->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(wnd->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(wnd->windowIcon().isNull());

    QStringList menus;
    for (QAction* popup : wnd->menuBar()->actions()) {
        QStringList items;
        for (QAction* a : popup->menu()->actions()) {
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            // The key names are in the texts; the items carry no second shortcut.
            EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
        }
        menus << popup->text() + ": " + items.join("|");
    }
    EXPECT_EQ(menus.join("\n"),
              "Файл: &Сохранить F5|Печать|Выход\n"
              "Параметры: -|&Параметры фрактала F7|Легенда|Настройки программы|-|Отобразить аттракторы|"
              "Отобразить бассейны\n"
              "Исследование: По размеру окна|-|Назад\tAlt+Left|Вперёд\tAlt+Right|Исходная область\tHome|-|"
              "Строка состояния|Параметры модели|-|Открыть параметры из рисунка...|Экспорт данных...|-|"
              "Траектория...|Убрать траекторию\tEsc|-|"
              "Развёртка по параметру...|Плоскость параметров...|-|Раскраска бассейнов|Аттракторы\n"
              "Справка: &Инструкция F1|О программе...");
    for (int id : {kCmdSavePicture, kCmdPrint, kCmdExit, kCmdFractalParameters, kCmdLegend, kCmdProgramSettings,
                   kCmdHelpInstructions, kCmdAbout, kCmdShowAttractors, kCmdShowBasins, kCmdFitWindow, kCmdStatusBar})
        EXPECT_EQ(wnd->Action(id)->isEnabled(), id != kCmdShowAttractors && id != kCmdShowBasins) << id;
    EXPECT_FALSE(wnd->Action(kCmdFitWindow)->isChecked() || wnd->Action(kCmdStatusBar)->isChecked());
    EXPECT_TRUE(wnd->Action(kCmdColourByKind)->isChecked() && !wnd->Action(kCmdAttractorDock)->isChecked());

    // The leading separator of "Параметры" is painted as the one between the
    // items: a line with room above and below, clear of the frame.
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

    // Restored from maximised, the window takes two thirds of the work area, centred.
    CMainWnd fresh(help);
    fresh.showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    const QRect work = fresh.screen()->availableGeometry();
    const QRect normal = fresh.normalGeometry();
    const QSize off = normal.size() - QSize(work.width() * 2 / 3, work.height() * 2 / 3);
    EXPECT_LE(qAbs(off.width()) + qAbs(off.height()) + (normal.center() - work.center()).manhattanLength(), 3);

    EXPECT_TRUE(Same(wnd->Canvas(), ExpectedFrame(FractalModel{})));
    EXPECT_EQ(QPoint(wnd->Model().originX, wnd->Model().originY), QPoint(Client().width() / 2, Client().height() / 2));
}

// F7 and Enter compute the defaults; Esc, through the real modal loop,
// changes nothing; a refused field keeps the dialog open on it until corrected.
TEST_F(MainWindowTest, F7ComputesTheDefaultsEscChangesNothingARefusalKeepsTheDialog) {
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
    EXPECT_TRUE(Same(wnd->Canvas(), ExpectedFrame(reference)));

    const QImage canvasBefore = wnd->Canvas();
    const int runs = engineRuns, requests = wnd->RepaintRequests();
    wnd->Hooks().runDialog = [](QDialog& d) { return d.exec(); };
    OnModal([](QWidget* dialog) {
        test::Named(*dialog, "a")->setText("0.3");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    wnd->OnFractalParameters();
    // A computation starts within the command; whatever the command posted
    // (a repaint) is handled here.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(std::tuple(wnd->RepaintRequests(), wnd->Computing(), int(engineRuns)), std::tuple(requests, false, runs));
    ExpectSameLists(wnd->Model(), reference);
    EXPECT_EQ(wnd->View().Params(), ModelParams{});
    EXPECT_TRUE(Same(wnd->Canvas(), canvasBefore));

    QStringList seen;
    OnModal([&seen](QWidget* dialog) {
        auto* dlg = dynamic_cast<CModelParamsDlg*>(dialog);
        test::Named(*dlg, "x1")->setText("2.0000001");
        OnModal([&seen, dlg](QWidget* box) {
            seen << box->windowTitle() << LayoutFaults(*box);
            QTest::keyClick(box, Qt::Key_Return);
            QTimer::singleShot(0, dlg, [&seen, dlg] {
                seen << (QApplication::activeModalWidget() == dlg ? "open" : "closed");
                seen << (dlg->focusWidget() == test::Named(*dlg, "x1") ? "focused" : "elsewhere");
                test::Named(*dlg, "x1")->setText("-1");
                dlg->accept();
            });
        });
        dlg->accept();
    });
    wnd->OnFractalParameters();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }, 30000));
    EXPECT_EQ(seen.join(" "), "orbitograph open focused");
    EXPECT_EQ(wnd->View().Params().x1, -1.0);
    EXPECT_EQ(wnd->Model().x1, -1.0);
    EXPECT_TRUE(errors.isEmpty());
}

// Each row runs the settings sheet and leaves the two-panel box as given: the
// view changes only on OK, the single-panel items follow the view's switch
// whichever way the sheet closes, and every OK repaints. Then, on one panel,
// the two commands choose it.
TEST_F(MainWindowTest, SettingsReachTheViewOnlyOnOkAndTheSinglePanelCommandsChooseThePanel) {
    Compute();
    // OK or cancel, the two-panel box as the user leaves it, the view's switch
    // after (the single-panel items are enabled exactly when it is off).
    const std::tuple<bool, bool, bool> rows[] = {{false, false, true}, {true, false, false}, {false, true, false},
                                                 {true, true, true},   {true, true, true},   {true, false, false}};
    for (const auto& [ok, twoModes, viewTwoModes] : rows) {
        SCOPED_TRACE(testing::Message() << "ok " << ok << " twoModes " << twoModes);
        const int requests = wnd->RepaintRequests();
        Answer<CSettingsSheet>(&CMainWnd::OnProgramSettings, ok, [box = twoModes](CSettingsSheet& s) {
            test::Named<QCheckBox>(s, "twoModes")->setChecked(box);
            test::Named<QCheckBox>(s, "showParams")->setChecked(false);
            test::Named<QCheckBox>(s, "showGrid")->setChecked(true);
            s.Tabs()->setCurrentIndex(1);
            s.m_page2->FontSizeEdit()->setText("20");
        });
        const DisplaySwitches& switches = wnd->View().m_switches;
        EXPECT_EQ(switches.m_twoModes, viewTwoModes);
        EXPECT_EQ(wnd->Action(kCmdShowAttractors)->isEnabled(), !viewTwoModes);
        EXPECT_EQ(wnd->Action(kCmdShowBasins)->isEnabled(), !viewTwoModes);
        EXPECT_EQ(switches.m_showGrid, switches.m_fontSize == 20);
        EXPECT_EQ(wnd->RepaintRequests() > requests, ok);
        if (ok) {
            EXPECT_FALSE(switches.m_showParams);
            EXPECT_EQ(switches.m_fontSize, 20);
            ASSERT_TRUE(WaitForRequestedRepaint());
            EXPECT_TRUE(ShowsItsModel());
        }
    }

    QImage attractors;
    for (ViewMode mode :
         {ViewMode::Attractors, ViewMode::Attractors, ViewMode::Basins, ViewMode::Basins, ViewMode::Attractors}) {
        const int requests = wnd->RepaintRequests();
        wnd->Action(mode == ViewMode::Attractors ? kCmdShowAttractors : kCmdShowBasins)->trigger();
        EXPECT_EQ(wnd->View().m_viewMode, mode);
        EXPECT_GT(wnd->RepaintRequests(), requests);
        ASSERT_TRUE(WaitForRequestedRepaint());
        EXPECT_TRUE(ShowsItsModel());
        if (mode == ViewMode::Attractors) attractors = wnd->Canvas();
        EXPECT_TRUE(mode == ViewMode::Attractors || wnd->Canvas() != attractors);
    }
}

TEST_F(MainWindowTest, HelpAboutPrintAndExit) {
    QTest::keyClick(wnd.get(), Qt::Key_F1);
    HelpWindow* window = help.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->Browser()->source(), QUrl("qrc:/help/index.html"));
    const QString html = window->Browser()->toHtml();
    for (const char* page : {"model", "parameters", "spaces", "settings", "legend", "saving", "explore"}) {
        EXPECT_TRUE(html.contains(QString(page) + ".html")) << page;
        EXPECT_TRUE(QFile::exists(QString(":/help/%1.html").arg(page))) << page;
    }
    EXPECT_FALSE(QImage(QStringLiteral(":/help/fitted.png")).isNull());

    QStringList seen;
    wnd->Hooks().runDialog = [&seen](QDialog& d) {
        d.show();
        seen << d.windowTitle() << LayoutFaults(d);
        for (QLabel* label : d.findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) seen << label->text();
            if (!label->pixmap().isNull()) seen << "icon";
        }
        for (QPushButton* button : d.findChildren<QPushButton*>()) seen << button->text();
        return int(QDialog::Accepted);
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
    EXPECT_TRUE(window->isVisible());  // the help window is its owner's to close
    window->close();
}

// A computation that runs out of memory, or cannot get a thread, is reported
// and changes nothing, and the next one starts; a long one can be watched,
// cancelled or ended by Exit.
TEST_F(MainWindowTest, ALongComputationCanBeWatchedCancelledOrEndedByExit) {
    Compute();
    const FractalModel before = wnd->Model();
    const QImage canvasBefore = wnd->Canvas();
    const std::tuple<bool, int, const char*> rows[] = {{true, 0, "памяти"}, {false, 1, "Не удалось начать"}};
    for (const auto& [outOfMemory, refused, errorHas] : rows) {
        SCOPED_TRACE(errorHas);
        errors.clear();
        engineOutOfMemory = outOfMemory;
        threadsRefused = refused;
        Enter({{"iterations", "50"}});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }));
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains(errorHas)) << errors[0].toStdString();
        ExpectSameLists(wnd->Model(), before);
        EXPECT_EQ(wnd->View().Params().iterations, 10);
        EXPECT_TRUE(wnd->Action(kCmdFractalParameters)->isEnabled());
    }
    engineOutOfMemory = false;
    errors.clear();

    blockEngine = true;
    wnd->SetProgressDelay(50);
    Enter({{"a", "0.3"}});
    ASSERT_TRUE(wnd->Computing());
    ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->Progress() != nullptr && wnd->Progress()->isVisible(); }));
    QProgressDialog* progress = wnd->Progress();
    EXPECT_EQ(LayoutFaults(*progress), QStringList{});
    EXPECT_EQ(progress->findChild<QPushButton*>()->text(), "Отмена");
    EXPECT_TRUE(progress->labelText().startsWith("Вычисл"));
    EXPECT_TRUE(QTest::qWaitFor([progress] { return progress->value() == 250; }));

    // Only Help, About and Exit can be chosen meanwhile; the window still repaints.
    for (int id : {kCmdSavePicture, kCmdPrint, kCmdFractalParameters, kCmdLegend, kCmdProgramSettings,
                   kCmdHelpInstructions, kCmdAbout, kCmdExit})
        EXPECT_EQ(wnd->Action(id)->isEnabled(), id == kCmdHelpInstructions || id == kCmdAbout || id == kCmdExit) << id;
    wnd->Action(kCmdHelpInstructions)->trigger();
    ASSERT_NE(help.Window(), nullptr);
    help.Window()->close();
    const int runs = engineRuns;
    wnd->OnFractalParameters();
    EXPECT_EQ(engineRuns, runs);
    ASSERT_TRUE(ResizeAndWait(900, 700));

    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing(); }));
    EXPECT_EQ(wnd->Progress(), nullptr);
    ExpectSameLists(wnd->Model(), before);
    EXPECT_EQ(wnd->View().Params(), before.Params());
    EXPECT_TRUE(wnd->Action(kCmdFractalParameters)->isEnabled());
    EXPECT_FALSE(wnd->Action(kCmdShowAttractors)->isEnabled());
    EXPECT_TRUE(errors.isEmpty());

    // Back at the first size the picture is the one from before; at another
    // the same points are drawn, nothing recomputed.
    ASSERT_TRUE(ResizeAndWait(1000, 760));
    EXPECT_TRUE(Same(wnd->Canvas(), canvasBefore));
    ASSERT_TRUE(ResizeAndWait(700, 500));
    EXPECT_EQ(engineRuns, runs);
    EXPECT_EQ(wnd->Model().originX, Client().width() / 2);
    EXPECT_TRUE(Same(wnd->Canvas(), ExpectedFrame(before)));

    // Exit during a computation stops it at once and closes the window.
    wnd->OnFractalParameters();
    ASSERT_TRUE(wnd->Computing());
    const auto start = std::chrono::steady_clock::now();
    wnd->Action(kCmdExit)->trigger();
    EXPECT_FALSE(wnd->isVisible());
    wnd.reset();  // waits for the worker
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST_F(MainWindowTest, ARubberBandZoomsAndBackReturnsToTheDialogsValues) {
    FitTheWindow();
    Compute();
    const ModelParams first = wnd->View().Params();
    // From the basin area's middle to its top-right corner and beyond.
    const PixelRect& a = FittedLayoutOf(wnd->View()).basinArea;
    wnd->ZoomToBand(QPoint(a.left + a.width / 2, a.top + a.height / 2), QPoint(a.left + a.width + 50, a.top - 50));
    WaitForResult();
    const ModelParams zoomed = wnd->View().Params();
    const GridSide side(-2.0, 2.0, 0.01);
    const double last = side.At(side.Count() - 1);  // exactly as the grid accumulates it
    EXPECT_EQ(std::tie(zoomed.x2, zoomed.y2), std::tie(last, last));
    EXPECT_NEAR(zoomed.x1, 0.0, 0.01);
    EXPECT_EQ(std::max(CountColumns(zoomed), CountRows(zoomed)), 400);

    Trigger(kCmdBack);
    EXPECT_EQ(wnd->View().Params(), first);
    ExpectSameLists(wnd->Model(), Reference(first));
    // Nothing before the first: the item disabled, the key says why.
    EXPECT_EQ(std::pair(wnd->Action(kCmdBack)->isEnabled(), wnd->Action(kCmdForward)->isEnabled()),
              std::pair(false, true));
    wnd->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    QTest::keyClick(wnd.get(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_FALSE(wnd->Computing());
    EXPECT_FALSE(wnd->LastRefusal().isEmpty());
    Trigger(kCmdForward);
    EXPECT_EQ(wnd->View().Params(), zoomed);
    EXPECT_EQ(std::pair(wnd->Action(kCmdBack)->isEnabled(), wnd->Action(kCmdForward)->isEnabled()),
              std::pair(true, false));
}

// The main window's menus and keys: the three original menus as they have
// always been, and the pop-up "Исследование" between "Параметры" and
// "Справка"; each item calls the part that owns its feature.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <functional>
#include <tuple>

#include "app/attractor_controller.h"
#include "app/command_ids.h"
#include "app/computation_controller.h"
#include "app/display_controller.h"
#include "app/help_window.h"
#include "app/live_controller.h"
#include "app/main_wnd.h"
#include "app/menu_style.h"
#include "app/picture_data_commands.h"
#include "app/probe_controller.h"
#include "app/sweep_session.h"

namespace orbitograph {

namespace {

// The keys of items whose texts name them are shortcuts of the window
// rather than of the actions (which would show them again). A disabled
// action ignores its trigger.
void AddWindowKey(QWidget* window, const QKeySequence& key, QAction* action) {
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, action, [action] { action->trigger(); });
}

}  // namespace

void CMainWnd::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, int id, const QString& text, std::function<void()> command = {}) {
        QAction* action = menu->addAction(text);
        m_shared.actions.insert(id, action);
        if (command) connect(action, &QAction::triggered, this, std::move(command));
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    SetUpMenu(file);
    add(file, kCmdSavePicture, QStringLiteral("&Сохранить F5"), [this] { OnSavePicture(); });
    add(file, kCmdPrint, QStringLiteral("Печать"));  // enabled, and does nothing
    add(file, kCmdExit, QStringLiteral("Выход"), [this] { close(); });

    QMenu* params = bar->addMenu(QStringLiteral("Параметры"));
    SetUpMenu(params);  // the pop-up begins with a separator
    params->addSeparator();
    DisplayController* display = m_display.get();
    add(params, kCmdFractalParameters, QStringLiteral("&Параметры фрактала F7"), [this] { OnFractalParameters(); });
    add(params, kCmdLegend, QStringLiteral("Легенда"), [display] { display->OnLegend(); });
    add(params, kCmdProgramSettings, QStringLiteral("Настройки программы"),
        [display] { display->OnProgramSettings(); });
    params->addSeparator();
    // Unavailable until the settings sheet first closes.
    add(params, kCmdShowAttractors, QStringLiteral("Отобразить аттракторы"), [display] {
        display->OnShowAttractors();
    })->setEnabled(false);
    add(params, kCmdShowBasins, QStringLiteral("Отобразить бассейны"), [display] {
        display->OnShowBasins();
    })->setEnabled(false);

    QMenu* help = bar->addMenu(QStringLiteral("Справка"));
    SetUpMenu(help);
    add(help, kCmdHelpInstructions, QStringLiteral("&Инструкция F1"), [this] { m_help.ShowContents(); });
    add(help, kCmdAbout, QStringLiteral("О программе..."), [this] { OnAbout(); });

    AddWindowKey(this, QKeySequence(Qt::Key_F7), Action(kCmdFractalParameters));
    AddWindowKey(this, QKeySequence(Qt::Key_F5), Action(kCmdSavePicture));
    AddWindowKey(this, QKeySequence(Qt::Key_F1), Action(kCmdHelpInstructions));
}

void CMainWnd::BuildExploreMenu() {
    QAction* helpMenu = menuBar()->actions().last();
    auto* explore = new QMenu(QStringLiteral("Исследование"), this);
    menuBar()->insertMenu(helpMenu, explore);
    auto add = [&](int id, const QString& text, std::function<void()> command) {
        QAction* action = explore->addAction(text);
        m_shared.actions.insert(id, action);
        connect(action, &QAction::triggered, this, std::move(command));
        return action;
    };
    DisplayController* display = m_display.get();
    ComputationController* computation = m_computation.get();
    add(kCmdFitWindow, QStringLiteral("По размеру окна"), [display] { display->OnFitWindow(); })->setCheckable(true);
    explore->addSeparator();
    add(kCmdBack, QStringLiteral("Назад"), [computation] { computation->OnBack(); });
    add(kCmdForward, QStringLiteral("Вперёд"), [computation] { computation->OnForward(); });
    add(kCmdHomeArea, QStringLiteral("Исходная область"), [computation] { computation->OnHomeArea(); });
    explore->addSeparator();
    add(kCmdStatusBar, QStringLiteral("Строка состояния"), [display] { display->OnStatusBar(); })->setCheckable(true);
    add(kCmdLiveParams, QStringLiteral("Параметры модели"), [this] { m_live->OnLiveParams(); })->setCheckable(true);
    explore->addSeparator();
    add(kCmdOpenParamsFromPicture, QStringLiteral("Открыть параметры из рисунка..."),
        [this] { OnOpenParamsFromPicture(); });
    add(kCmdExportData, QStringLiteral("Экспорт данных..."), [this] { OnExportData(); });
    explore->addSeparator();
    add(kCmdProbe, QStringLiteral("Траектория..."), [this] { OnProbe(); });
    add(kCmdClearProbe, QStringLiteral("Убрать траекторию"), [this] { m_probe->OnClearProbe(); });
    explore->addSeparator();
    add(kCmdSweep, QStringLiteral("Развёртка по параметру..."), [this] { OnSweep(); });
    add(kCmdPlane, QStringLiteral("Плоскость параметров..."), [this] { OnPlane(); });
    explore->addSeparator();
    m_attractors->AddToMenu(explore);

    // The keys are shown beside the items; Back and Forward keep their keys
    // while disabled, to say why nothing happens.
    const std::tuple<QKeySequence, int, std::function<void()>> keys[] = {
        {QKeySequence(Qt::ALT | Qt::Key_Left), kCmdBack, [computation] { computation->OnBack(); }},
        {QKeySequence(Qt::ALT | Qt::Key_Right), kCmdForward, [computation] { computation->OnForward(); }},
        {QKeySequence(Qt::Key_Home), kCmdHomeArea, {}},
        {QKeySequence(Qt::Key_Escape), kCmdClearProbe, {}}};
    for (const auto& [key, id, direct] : keys) {
        QAction* action = Action(id);
        const QString shown = key.toString(QKeySequence::NativeText);
        action->setText(action->text() + QLatin1Char('\t') + shown);
        action->setStatusTip(shown);
        if (id == kCmdClearProbe) continue;  // the probe's own shortcut
        if (!direct) {
            AddWindowKey(this, key, action);
            continue;
        }
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, direct);
    }
    computation->ShowHistoryState();
}

}  // namespace orbitograph

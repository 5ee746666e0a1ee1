#pragma once
// The real main window on the offscreen platform, with an engine that can be
// made to block until cancelled or to run out of memory, and thread starts
// that can be refused.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "app/command_ids.h"
#include "app/help_window.h"
#include "app/main_wnd.h"
#include "app/model_params_dlg.h"
#include "app/settings_sheet.h"
#include "png/png_export.h"
#include "support/dialog_test_support.h"
#include "support/file_test_support.h"
#include "view/frame.h"

namespace orbitograph::test {

using namespace std::chrono_literals;

// Runs fn on the modal dialog as soon as one is open, inside its loop.
inline void OnModal(std::function<void(QWidget*)> fn) {
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

// Types each text into the line edit of that name and checks each radio
// button named.
using Fields = std::vector<std::pair<const char*, QString>>;
inline void Fill(QWidget& window, const Fields& fields, const std::vector<const char*>& checked = {}) {
    for (const auto& [name, text] : fields) Named(window, name)->setText(text);
    for (const char* name : checked) Named<QRadioButton>(window, name)->setChecked(true);
}

// Same size, format and pixels.
inline bool Same(const QImage& a, const QImage& b) { return a.format() == b.format() && a == b; }
inline QImage Argb(const QImage& img) { return img.convertToFormat(QImage::Format_ARGB32); }

class MainWindowTest : public ::testing::Test {
protected:
    HelpViewer help;
    std::atomic<bool> blockEngine{false};
    std::atomic<bool> engineOutOfMemory{false};
    std::atomic<int> engineRuns{0};
    int threadsRefused = 0;  // thread starts still to fail
    std::unique_ptr<CMainWnd> wnd;
    QStringList errors;
    QStringList questions;  // asked through askYesNo, which answers answerYes
    bool answerYes = false;
    QTemporaryDir dir;  // the test's own folder

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        SpacesEngine engine = [this](const ModelParams& p, std::int32_t ox, std::int32_t oy,
                                     const ComputeControl& c) -> std::optional<SpaceLists> {
            ++engineRuns;
            if (engineOutOfMemory) throw std::bad_alloc();
            if (!blockEngine) return ComputeSpaces(p, ox, oy, c);
            const auto deadline = std::chrono::steady_clock::now() + 20s;
            while (!c.cancel->load() && std::chrono::steady_clock::now() < deadline) {
                if (c.progress) c.progress(0.25);
                std::this_thread::sleep_for(1ms);
            }
            return std::nullopt;
        };
        ThreadStarter startThread = [this](std::function<void()> body) {
            if (threadsRefused > 0) {
                --threadsRefused;
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            }
            return std::jthread(std::move(body));
        };
        Open(std::make_unique<CMainWnd>(help, engine, startThread), QSize(1000, 760));
    }

    void Open(std::unique_ptr<CMainWnd> w, QSize size) {
        wnd = std::move(w);
        wnd->Hooks().showError = [this](QWidget*, const QString& text) { errors << text; };
        wnd->Hooks().askYesNo = [this](QWidget*, const QString& text) {
            questions << text;
            return answerYes;
        };
        wnd->resize(size);
        wnd->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->PaintCount() > 0; }));
        wnd->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
    }

    QSize Client() const { return wnd->CanvasArea()->size(); }

    bool WaitForRequestedRepaint() {
        return QTest::qWaitFor([this] { return !wnd->RepaintPending(); });
    }

    bool ResizeAndWait(int w, int h) {
        const int paints = wnd->PaintCount();
        wnd->resize(w, h);
        return QTest::qWaitFor([&] { return wnd->PaintCount() > paints; });
    }

    // Waits for the computation to end and for the repaint it asked for.
    void WaitForResult() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->Computing() && !wnd->RepaintPending(); }, 30000));
    }

    // Runs the command, its dialog edited, then confirmed or cancelled
    // without a modal loop.
    template <typename Dialog>
    void Answer(void (CMainWnd::*command)(), bool ok, std::function<void(Dialog&)> edit = {}) {
        wnd->Hooks().runDialog = [ok, edit](QDialog& d) {
            auto& dlg = dynamic_cast<Dialog&>(d);
            dlg.show();
            if (edit) edit(dlg);
            ok ? dlg.accept() : dlg.reject();
            return dlg.result();
        };
        (wnd.get()->*command)();
    }

    // Confirms the parameters dialog with these fields; the computation it
    // starts is not waited for.
    void Enter(Fields fields, std::vector<const char*> checked = {}) {
        Answer<CModelParamsDlg>(&CMainWnd::OnFractalParameters, true,
                                [=](CModelParamsDlg& d) { Fill(d, fields, checked); });
    }

    void Compute(Fields fields = {}, std::vector<const char*> checked = {}) {
        Enter(fields, checked);
        WaitForResult();
    }

    // Runs the command and waits for the computation it starts.
    void Trigger(int command) {
        wnd->Action(command)->trigger();
        WaitForResult();
    }

    // Waits for a probed orbit and the repaint that draws it.
    void WaitForProbe() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return wnd->Probe().has_value(); }));
        ASSERT_TRUE(WaitForRequestedRepaint());
    }

    // Saves the picture as dir/name (the command appends ".png").
    void SaveAs(const QString& name) {
        wnd->Hooks().chooseSaveName = [path = dir.filePath(name)](QWidget*) { return path; };
        wnd->OnSavePicture();
    }

    QImage CanvasArgb() const { return Argb(wnd->Canvas()); }

    // Switches the fitted display on and waits for its picture.
    void FitTheWindow() {
        Answer<CSettingsSheet>(&CMainWnd::OnProgramSettings, true, [](CSettingsSheet& s) {
            s.Tabs()->setCurrentIndex(1);
            s.m_page2->FitWindowBox()->setChecked(true);
        });
        WaitForResult();
    }

    // The frame the view library composes for the window's view state and
    // this model at the window's client size.
    QImage ExpectedFrame(FractalModel model) const {
        ViewState view = wnd->View();
        const QImage& picture = wnd->LegendPicture();
        return ComposeFrame(view, model, Client().width(), Client().height(), picture.isNull() ? nullptr : &picture);
    }

    bool ShowsItsModel() const { return Same(wnd->Canvas(), ExpectedFrame(wnd->Model())); }

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

}  // namespace orbitograph::test

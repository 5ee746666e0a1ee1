#include "app/window_shared.h"

#include <QCursor>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolTip>

#include "app/canvas_widget.h"

namespace orbitograph {

namespace {

constexpr int kRefusalShownMs = 8000;

}  // namespace

void WindowShared::RequestRepaint() {
    ++repaintRequests;
    canvas->update();
}

void WindowShared::Refuse(const QString& text) {
    lastRefusal = text;
    if (QStatusBar* bar = ShownStatusBar()) {
        bar->showMessage(text, kRefusalShownMs);
    } else {
        QToolTip::showText(QCursor::pos(), text, window);
    }
}

QStatusBar* WindowShared::ShownStatusBar() const {
    QStatusBar* bar = window->findChild<QStatusBar*>();
    return bar && bar->isVisible() ? bar : nullptr;
}

}  // namespace orbitograph

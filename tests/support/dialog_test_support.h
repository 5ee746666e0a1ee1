#pragma once

#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

namespace orbitograph::test {

// A dialog prepared, then shown (which loads its controls), its warnings
// recorded instead of shown.
template <typename Dialog>
struct Shown {
    Dialog dlg;
    QStringList warnings;
    explicit Shown(const std::function<void(Dialog&)>& prepare = {}) {
        if (prepare) prepare(dlg);
        dlg.SetWarningSink([this](QWidget*, const QString& text) { warnings << text; });
        dlg.show();
    }
};

// The control of this object name and type inside a window; a missing one
// fails the test at once (GoogleTest reports the exception).
template <typename Control = QLineEdit>
Control* Named(const QWidget& window, const char* name) {
    if (auto* control = window.findChild<Control*>(QString::fromLatin1(name))) return control;
    throw std::logic_error(std::string("no control named ") + name);
}

// What is wrong with a window's layout: a window that can be resized or has
// a minimise or maximise box, a control (direct child) not wholly inside it,
// two controls that overlap (a group box may hold controls wholly).
inline QStringList LayoutFaults(const QWidget& window) {
    auto name = [](const QWidget* w) { return w->metaObject()->className() + (" " + w->property("text").toString()); };
    QStringList faults;
    if (window.isWindow() && (window.minimumSize() != window.maximumSize() ||
                              window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)))
        faults << "resizable";
    QList<QWidget*> c = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    c.removeIf([&window](const QWidget* w) { return !w->isVisibleTo(&window); });
    for (qsizetype i = 0; i < c.size(); ++i) {
        if (!window.rect().contains(c[i]->geometry())) faults << name(c[i]) + " outside";
        for (qsizetype j = i + 1; j < c.size(); ++j) {
            const QRect a = c[i]->geometry(), b = c[j]->geometry();
            const bool held =
                (c[i]->inherits("QGroupBox") && a.contains(b)) || (c[j]->inherits("QGroupBox") && b.contains(a));
            if (a.intersects(b) && !held) faults << name(c[i]) + " overlaps " + name(c[j]);
        }
    }
    return faults;
}

}  // namespace orbitograph::test

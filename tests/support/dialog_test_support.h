#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

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

// What is wrong with the layout of a window's own controls (its direct
// children): a control not wholly inside the window, two controls that
// overlap (a group box may hold controls wholly), and a window that can be
// resized or carries a minimise or maximise box. Empty when all is well.
inline QStringList LayoutFaults(const QWidget& window) {
    auto name = [](const QWidget* w) {
        QString text = w->property("text").toString();
        if (text.isEmpty()) text = w->property("title").toString();
        return QString::fromLatin1(w->metaObject()->className()) + " '" + text + "' " + w->objectName();
    };
    QStringList faults;
    if (window.isWindow() && (window.minimumSize() != window.maximumSize() ||
                              window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)))
        faults << "resizable or with a minimise or maximise box";
    QList<QWidget*> controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    controls.removeIf([&window](const QWidget* w) { return !w->isVisibleTo(&window); });
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect a = controls[i]->geometry();
        if (!window.rect().contains(a)) faults << name(controls[i]) + " outside";
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QRect b = controls[j]->geometry();
            const bool held = (controls[i]->inherits("QGroupBox") && a.contains(b)) ||
                              (controls[j]->inherits("QGroupBox") && b.contains(a));
            if (a.intersects(b) && !held) faults << name(controls[i]) + " overlaps " + name(controls[j]);
        }
    }
    return faults;
}

}  // namespace orbitograph::test

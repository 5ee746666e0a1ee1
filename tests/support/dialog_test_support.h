#pragma once

#include <QString>
#include <QStringList>
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

}  // namespace orbitograph::test

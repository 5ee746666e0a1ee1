#pragma once

#include <QDialog>

namespace orbitograph {

// The About box: the program's icon, its name and version, and OK.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace orbitograph

#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace orbitograph {

// A window of its own that shows a picture of a sweep or a plane at one
// pixel per picture pixel; a left click hands the picture pixel to the
// callback. It closes with the main window (its parent) and is deleted
// when closed.
class CSweepWnd : public QWidget {
public:
    CSweepWnd(QWidget* parent, const QString& title, QImage picture, std::function<void(QPoint)> onClick);

    const QImage& Picture() const { return m_picture; }
    // What a left click at this pixel does.
    void ClickAt(QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    std::function<void(QPoint)> m_onClick;
};

}  // namespace orbitograph

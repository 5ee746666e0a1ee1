#include "app/sweep_window.h"

#include <QMouseEvent>
#include <QPainter>

namespace orbitograph {

CSweepWnd::CSweepWnd(QWidget* parent, const QString& title, QImage picture, std::function<void(QPoint)> onClick)
    : QWidget(parent, Qt::Window), m_picture(std::move(picture)), m_onClick(std::move(onClick)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    setFixedSize(m_picture.size());
    setCursor(Qt::CrossCursor);
}

void CSweepWnd::ClickAt(QPoint at) {
    if (m_onClick) m_onClick(at);
}

void CSweepWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_picture);
}

void CSweepWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ClickAt(event->position().toPoint());
}

}  // namespace orbitograph

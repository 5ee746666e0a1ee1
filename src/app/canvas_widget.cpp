#include "app/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace orbitograph {

CanvasWidget::CanvasWidget(PaintHandler onPaint, QWidget* parent) : QWidget(parent), m_onPaint(std::move(onPaint)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

void CanvasWidget::SetInput(CanvasInput input) {
    m_input = std::move(input);
    setMouseTracking(true);
}

void CanvasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    if (m_onPaint) m_onPaint(painter, device, ratio);
}

QPoint CanvasWidget::Device(QPointF logical) const {
    const qreal ratio = devicePixelRatioF();
    return QPoint(static_cast<int>(std::floor(logical.x() * ratio)), static_cast<int>(std::floor(logical.y() * ratio)));
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    if (m_input.press) m_input.press(Device(event->position()), event);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_input.move) m_input.move(Device(event->position()), event);
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (m_input.release) m_input.release(Device(event->position()), event);
}

void CanvasWidget::wheelEvent(QWheelEvent* event) {
    m_wheelAngle += event->angleDelta().y();
    const int notches = m_wheelAngle / 120;
    m_wheelAngle -= notches * 120;
    if (notches != 0 && m_input.wheel) m_input.wheel(Device(event->position()), notches);
    event->accept();
}

void CanvasWidget::leaveEvent(QEvent*) {
    if (m_input.leave) m_input.leave();
}

}  // namespace orbitograph

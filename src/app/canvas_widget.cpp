#include "app/canvas_widget.h"

#include <QPainter>

namespace orbitograph {

CanvasWidget::CanvasWidget(PaintHandler onPaint, QWidget* parent) : QWidget(parent), m_onPaint(std::move(onPaint)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

void CanvasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QSize device(qRound(width() * ratio), qRound(height() * ratio));
    if (m_onPaint) m_onPaint(painter, device, ratio);
}

}  // namespace orbitograph

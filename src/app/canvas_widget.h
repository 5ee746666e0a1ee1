#pragma once

#include <QWidget>
#include <functional>

class QPainter;
class QMouseEvent;
class QWheelEvent;

namespace orbitograph {

// The mouse on the client area, positions in device pixels (canvas pixels).
struct CanvasInput {
    std::function<void(QPoint at, QMouseEvent* event)> press;
    std::function<void(QPoint at, QMouseEvent* event)> move;  // also without a button held
    std::function<void(QPoint at, QMouseEvent* event)> release;
    std::function<void(QPoint at, int notches)> wheel;  // positive: away from the user
    std::function<void()> leave;
};

// The main window's client area. Its repaint is the owner's: the callback
// gets a painter on the widget and the area's size in device pixels.
class CanvasWidget : public QWidget {
public:
    using PaintHandler = std::function<void(QPainter& painter, QSize deviceSize, qreal devicePixelRatio)>;

    explicit CanvasWidget(PaintHandler onPaint, QWidget* parent = nullptr);

    void SetInput(CanvasInput input);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPoint Device(QPointF logical) const;

    PaintHandler m_onPaint;
    CanvasInput m_input;
    int m_wheelAngle = 0;  // eighths of a degree not yet turned into notches
};

}  // namespace orbitograph

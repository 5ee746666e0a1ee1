#pragma once

#include <QWidget>
#include <functional>

class QPainter;

namespace orbitograph {

// The main window's client area. Its repaint is the owner's: the callback
// gets a painter on the widget and the area's size in device pixels.
class CanvasWidget : public QWidget {
public:
    using PaintHandler = std::function<void(QPainter& painter, QSize deviceSize, qreal devicePixelRatio)>;

    explicit CanvasWidget(PaintHandler onPaint, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaintHandler m_onPaint;
};

}  // namespace orbitograph

#pragma once

#include "core/engine/image_control.h"

#include <QWidget>
#include <functional>

namespace ormica {

// The mouse buttons and keys of a mouse event, as one set.
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = unsigned;

// A mouse handler of an image control: button (press and release only),
// buttons and keys, and the position in picture pixels.
using TMouseHandler = std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)>;

// The image control of the windows: shows its picture unscaled at its
// top-left corner and sizes itself to it.
class TImageWidget : public QWidget, public TImageControl {
    Q_OBJECT
public:
    TImageWidget(QSize designSize, QWidget* parent = nullptr);
    void repaintNow() override;
    QSize sizeHint() const override;

    // The control's mouse handlers; whoever takes them over keeps the old
    // ones to give back.
    TMouseHandler OnMouseDown;
    TMouseHandler OnMouseMove;
    TMouseHandler OnMouseUp;

    // Repaints only the part of the picture that changed.
    void pictureAreaChanged(const QRect& area);

protected:
    void onPictureChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace ormica

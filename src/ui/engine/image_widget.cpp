#include "ui/engine/image_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace ormica {

TImageWidget::TImageWidget(QSize designSize, QWidget* parent) : QWidget(parent), TImageControl(designSize)
{
    resize(designSize);
}

QSize TImageWidget::sizeHint() const
{
    return QSize(TImageControl::width(), TImageControl::height());
}

void TImageWidget::onPictureChanged()
{
    QWidget::resize(TImageControl::width(), TImageControl::height());
    update();
}

void TImageWidget::repaintNow()
{
    repaint();
}

namespace {

TShiftState shiftOf(const QMouseEvent* e, bool twice = false)
{
    TShiftState s = 0;
    const auto mods = e->modifiers();
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    const auto buttons = e->buttons();
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    if (twice)
        s |= ssDouble;
    return s;
}

void call(const TMouseHandler& handler, QMouseEvent* e, TShiftState shift)
{
    if (handler) {
        const QPoint p = e->position().toPoint();
        handler(e->button(), shift, p.x(), p.y());
    }
}

}  // namespace

void TImageWidget::mousePressEvent(QMouseEvent* event)
{
    call(OnMouseDown, event, shiftOf(event));
}

// The second press of a double click comes marked, as a press of its own.
void TImageWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    call(OnMouseDown, event, shiftOf(event, true));
}

void TImageWidget::mouseMoveEvent(QMouseEvent* event)
{
    call(OnMouseMove, event, shiftOf(event));
}

void TImageWidget::mouseReleaseEvent(QMouseEvent* event)
{
    call(OnMouseUp, event, shiftOf(event));
}

void TImageWidget::pictureAreaChanged(const QRect& area)
{
    update(area.adjusted(-1, -1, 1, 1));
}

void TImageWidget::paintEvent(QPaintEvent* event)
{
    if (picture().isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), picture(), event->rect());
}

}  // namespace ormica

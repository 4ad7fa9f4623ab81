#include "image_widget.h"

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

void TImageWidget::paintEvent(QPaintEvent* event)
{
    if (picture().isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect().topLeft(), picture(), event->rect());
}

}  // namespace ormica

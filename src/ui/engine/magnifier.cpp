#include "ui/engine/magnifier.h"

#include "ui/engine/image_widget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace ormica {

namespace {

// Rounds towards minus infinity: a point left of the picture is off it.
int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int stepAtOrBelow(int zoom)
{
    int step = TMagnifier::kMinZoom;
    while (step * 2 <= std::min(zoom, TMagnifier::kMaxZoom))
        step *= 2;
    return step;
}

}  // namespace

TMagnifier::TMagnifier(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Window);
    setToolTip(tr("Масштаб: Ctrl + колесо мыши, клавиши + и -"));
}

int TMagnifier::fitZoom(QSize picture, QSize room)
{
    if (picture.isEmpty())
        return kMinZoom;
    for (int zoom = kMaxZoom; zoom > kMinZoom; zoom /= 2)
        if (qint64(picture.width()) * zoom <= room.width() && qint64(picture.height()) * zoom <= room.height())
            return zoom;
    return kMinZoom;
}

void TMagnifier::setImage(const QImage& image)
{
    const bool newSize = image.size() != image_.size();
    image_ = image;
    if (newSize) {
        updateScrollBars();
        const TMagnifier* twin = nullptr;
        for (const QPointer<TMagnifier>& peer : peers_)
            if (peer && peer->image_.size() == image_.size())
                twin = peer;
        if (twin) {
            follow(*twin);
        } else {
            fitted_ = true;
            applyZoom(fitZoom(image_.size(), maximumViewportSize()), QPoint(0, 0));
            horizontalScrollBar()->setValue(0);
            verticalScrollBar()->setValue(0);
        }
    }
    viewport()->update();
}

void TMagnifier::setZoom(int zoom, QPoint anchor)
{
    fitted_ = false;
    applyZoom(zoom, anchor);
}

void TMagnifier::zoomIn()
{
    setZoom(zoom_ * 2, viewport()->rect().center());
}

void TMagnifier::zoomOut()
{
    setZoom(zoom_ / 2, viewport()->rect().center());
}

void TMagnifier::applyZoom(int zoom, QPoint anchor)
{
    zoom = stepAtOrBelow(zoom);
    if (zoom == zoom_)
        return;
    const double x = double(anchor.x() + horizontalScrollBar()->value()) / zoom_;
    const double y = double(anchor.y() + verticalScrollBar()->value()) / zoom_;
    zoom_ = zoom;
    {
        // The bars pass through positions of neither zoom on the way.
        const QScopedValueRollback<bool> quiet(quiet_, true);
        updateScrollBars();
        horizontalScrollBar()->setValue(qRound(x * zoom - anchor.x()));
        verticalScrollBar()->setValue(qRound(y * zoom - anchor.y()));
    }
    viewport()->update();
    emit zoomChanged(zoom_);
    tellPeers();
}

QPoint TMagnifier::pixelAt(QPoint viewportPos) const
{
    return QPoint(floorDiv(viewportPos.x() + horizontalScrollBar()->value(), zoom_),
                  floorDiv(viewportPos.y() + verticalScrollBar()->value(), zoom_));
}

void TMagnifier::updateScrollBars()
{
    const QSize view = viewport()->size();
    const QSize content = image_.size() * zoom_;
    const int step = std::max(zoom_, 16);
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(step);
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setSingleStep(step);
}

void TMagnifier::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    // Until the user picks a zoom, the picture keeps fitting the pane.
    if (fitted_)
        applyZoom(fitZoom(image_.size(), maximumViewportSize()), QPoint(0, 0));
    updateScrollBars();
}

void TMagnifier::scrollContentsBy(int, int)
{
    viewport()->update();
    tellPeers();
}

void TMagnifier::linkWith(TMagnifier* other)
{
    if (!other || other == this)
        return;
    if (!peers_.contains(other))
        peers_.append(other);
    if (!other->peers_.contains(this))
        other->peers_.append(this);
    other->follow(*this);
}

void TMagnifier::tellPeers()
{
    if (quiet_)
        return;
    const QScopedValueRollback<bool> quiet(quiet_, true);
    for (const QPointer<TMagnifier>& peer : peers_)
        if (peer)
            peer->follow(*this);
}

void TMagnifier::follow(const TMagnifier& leader)
{
    const QScopedValueRollback<bool> quiet(quiet_, true);
    fitted_ = leader.fitted_;
    if (zoom_ != leader.zoom_) {
        zoom_ = leader.zoom_;
        updateScrollBars();
        viewport()->update();
        emit zoomChanged(zoom_);
    }
    horizontalScrollBar()->setValue(leader.horizontalScrollBar()->value());
    verticalScrollBar()->setValue(leader.verticalScrollBar()->value());
}

void TMagnifier::standInFor(TImageWidget* control)
{
    control_ = control;
    refresh();
}

void TMagnifier::refresh()
{
    if (!control_)
        return;
    // Moves with no button held reach the control only if it asked for them.
    viewport()->setMouseTracking(control_->hasMouseTracking());
    setImage(control_->picture());
}

void TMagnifier::forward(QMouseEvent* event)
{
    if (!control_)
        return;
    QMouseEvent moved(event->type(), QPointF(pixelAt(event->position().toPoint())), event->globalPosition(),
                      event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(control_, &moved);
    refresh();
}

void TMagnifier::mousePressEvent(QMouseEvent* event)
{
    forward(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint pixel = pixelAt(event->position().toPoint());
        pressed_ = image_.rect().contains(pixel) ? pixel : QPoint(-1, -1);
    }
    event->accept();
}

void TMagnifier::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TMagnifier::mouseMoveEvent(QMouseEvent* event)
{
    forward(event);
    event->accept();
}

void TMagnifier::mouseReleaseEvent(QMouseEvent* event)
{
    forward(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint pixel = pixelAt(event->position().toPoint());
        const bool click = pressed_ == pixel && image_.rect().contains(pixel);
        pressed_ = QPoint(-1, -1);
        if (click)
            emit pixelClicked(pixel);
    }
    event->accept();
}

void TMagnifier::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A touchpad sends a notch in small parts.
    wheelAngle_ += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    for (; wheelAngle_ >= 120; wheelAngle_ -= 120)
        setZoom(zoom_ * 2, anchor);
    for (; wheelAngle_ <= -120; wheelAngle_ += 120)
        setZoom(zoom_ / 2, anchor);
    event->accept();
}

void TMagnifier::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

std::array<int, 3> TMagnifier::channelsOf(QRgb pixel)
{
    return {qBlue(pixel), qGreen(pixel), qRed(pixel)};
}

QString TMagnifier::valueText(QRgb pixel)
{
    const std::array<int, 3> v = channelsOf(pixel);
    return QStringLiteral("%1\n%2\n%3").arg(v[0]).arg(v[1]).arg(v[2]);
}

QColor TMagnifier::textColourOn(QRgb pixel)
{
    const int luma = 299 * qRed(pixel) + 587 * qGreen(pixel) + 114 * qBlue(pixel);
    return luma >= 128 * 1000 ? QColor(Qt::black) : QColor(Qt::white);
}

void TMagnifier::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const QRect pixels = QRect(pixelAt(exposed.topLeft()), pixelAt(exposed.bottomRight())) & image_.rect();
    const QRect target(origin + pixels.topLeft() * zoom_, pixels.size() * zoom_);
    for (const QRect& rest : QRegion(exposed).subtracted(target))
        painter.fillRect(rest, palette().color(QPalette::Window));
    if (!pixels.isEmpty()) {
        if (zoom_ == 1)
            painter.drawImage(target.topLeft(), image_, pixels);
        else
            painter.drawImage(target, image_, pixels);
        if (zoom_ >= kGridZoom) {
            painter.setPen(QColor(128, 128, 128));
            for (int x = pixels.left(); x <= pixels.right() + 1; ++x)
                painter.drawLine(origin.x() + x * zoom_, target.top(), origin.x() + x * zoom_, target.bottom());
            for (int y = pixels.top(); y <= pixels.bottom() + 1; ++y)
                painter.drawLine(target.left(), origin.y() + y * zoom_, target.right(), origin.y() + y * zoom_);
        }
        if (zoom_ >= kValuesZoom)
            paintValues(painter, pixels, origin);
    }
    // The zoom in the corner, once there is one to tell: unmagnified, the
    // corner's pixels matter more.
    if (zoom_ == 1)
        return;
    painter.setFont(font());
    const QString zoomText = QString::number(zoom_) + QStringLiteral("×");
    const QRect corner = painter.fontMetrics().boundingRect(zoomText).adjusted(-3, -1, 3, 1);
    const QRect readOut(viewport()->rect().bottomRight() - QPoint(corner.width(), corner.height()), corner.size());
    if (readOut.intersects(exposed)) {
        painter.fillRect(readOut, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(readOut, Qt::AlignCenter, zoomText);
    }
}

void TMagnifier::paintValues(QPainter& painter, const QRect& pixels, QPoint origin)
{
    // Three lines in the cell, whatever room the font would ask for.
    const int line = zoom_ / 3;
    QFont small = font();
    small.setPixelSize(line);
    painter.setFont(small);
    if (numbersLine_ != line) {
        numbers_.resize(256);
        for (int v = 0; v < 256; ++v) {
            numbers_[v].setText(QString::number(v));
            numbers_[v].prepare(QTransform(), small);
        }
        numbersLine_ = line;
    }
    const int top = (zoom_ - 3 * line) / 2;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QRgb pixel = image_.pixel(x, y);
            painter.setPen(textColourOn(pixel));
            const QPoint cell = origin + QPoint(x, y) * zoom_;
            const std::array<int, 3> values = channelsOf(pixel);
            for (int i = 0; i < 3; ++i) {
                const QStaticText& text = numbers_[values[i]];
                const QSizeF size = text.size();
                painter.drawStaticText(QPointF(cell.x() + (zoom_ - size.width()) / 2,
                                               cell.y() + top + i * line + (line - size.height()) / 2),
                                       text);
            }
        }
}

}  // namespace ormica

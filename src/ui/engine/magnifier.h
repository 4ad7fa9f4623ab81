#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>
#include <QStaticText>
#include <QVector>
#include <array>

namespace ormica {

class TImageWidget;

// A pane that shows a picture enlarged 1, 2, 4, 8, 16 or 32 times, so that
// single pixels of a small fragment can be seen: a grid between the pixels
// from 8 times, and each pixel's B, G, R values written in it from 16 times.
// Ctrl+wheel (about the mouse) and the + and - keys change the zoom.
class TMagnifier : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 32;
    static constexpr int kGridZoom = 8;
    static constexpr int kValuesZoom = 16;

    explicit TMagnifier(QWidget* parent = nullptr);

    // A picture of another size than the last one starts at the largest zoom
    // that shows it whole (or that of a linked pane showing one of its size);
    // one of the same size keeps the view.
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

    int zoom() const { return zoom_; }
    // Takes the step at or below `zoom`, within kMinZoom..kMaxZoom, keeping
    // the picture point at `anchor` (viewport coordinates) where it is.
    void setZoom(int zoom, QPoint anchor = QPoint(0, 0));
    void zoomIn();
    void zoomOut();
    // The largest step at which `picture` fits into `room`; at least 1.
    static int fitZoom(QSize picture, QSize room);

    // The picture pixel under a viewport point; it may lie off the picture.
    QPoint pixelAt(QPoint viewportPos) const;

    // Zoom and scroll position follow each other's, both ways.
    void linkWith(TMagnifier* other);

    // The pane stands where `control` stood (the owner hides it): it shows the
    // control's picture and hands it every mouse event at picture coordinates,
    // so whatever handles the control's mouse works through the pane.
    void standInFor(TImageWidget* control);
    // Shows the control's picture again after it was drawn on.
    void refresh();

    // What a pixel shows from kValuesZoom: B, G and R, one a line, and the
    // colour that reads on it.
    static QString valueText(QRgb pixel);
    static QColor textColourOn(QRgb pixel);

signals:
    // A left click on a pixel of the picture (pressed and released on it).
    void pixelClicked(QPoint pixel);
    void zoomChanged(int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyZoom(int zoom, QPoint anchor);
    void updateScrollBars();
    void follow(const TMagnifier& leader);
    void tellPeers();
    void forward(QMouseEvent* event);
    void paintValues(QPainter& painter, const QRect& pixels, QPoint origin);
    // B, G, R: the order the pixel's values are written in.
    static std::array<int, 3> channelsOf(QRgb pixel);

    QImage image_;
    int zoom_ = 1;
    QVector<QPointer<TMagnifier>> peers_;
    // Set while this pane follows a peer or tells its peers: a change then
    // made goes no further.
    bool quiet_ = false;
    // The zoom is the fitting one until the user picks another.
    bool fitted_ = false;
    int wheelAngle_ = 0;
    // The numbers 0..255 laid out once for the font of `numbersLine_` pixels.
    QVector<QStaticText> numbers_;
    int numbersLine_ = 0;
    QPointer<TImageWidget> control_;
    QPoint pressed_{-1, -1};
};

}  // namespace ormica

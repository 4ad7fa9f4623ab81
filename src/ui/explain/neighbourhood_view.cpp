#include "ui/explain/neighbourhood_view.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace ormica {

namespace {

QString weightText(std::int32_t weight)
{
    return QStringLiteral("×%1").arg(weight);
}

}  // namespace

// The grid itself; the view around it scrolls it. Its geometry follows the
// cell size and the widest text, so the numbers are never clipped.
class TNeighbourhoodCanvas : public QWidget {
public:
    explicit TNeighbourhoodCanvas(TNeighbourhoodView* view) : QWidget(view), view_(view) {}

    void relayout()
    {
        const int s = view_->cellSize();
        margin_ = std::max(2, s / 12);
        // Four lines (B, G, R, weight) beside the swatch fill the cell's height.
        const int room = s - 2 * margin_;
        cellFont_ = font();
        int px = std::max(4, room / 4);
        for (;; --px) {
            cellFont_.setPixelSize(px);
            if (px == 4 || 4 * QFontMetrics(cellFont_).lineSpacing() <= room)
                break;
        }
        const QFontMetrics cell(cellFont_);
        int text = cell.horizontalAdvance(QStringLiteral("R 255"));
        // The row and column numbers grow with the cells, never below the usual size.
        headFont_ = font();
        if (px > QFontInfo(headFont_).pixelSize())
            headFont_.setPixelSize(px);
        const QFontMetrics head(headFont_);
        headLeft_ = 0;
        headTop_ = head.lineSpacing() + 2 * HeadMargin;
        if (const auto& n = view_->neighbourhood()) {
            for (const auto& row : n->Weights)
                for (std::int32_t w : row)
                    text = std::max(text, cell.horizontalAdvance(weightText(w)));
            for (int r : n->Rows)
                headLeft_ = std::max(headLeft_, head.horizontalAdvance(QString::number(r)));
        }
        headLeft_ += 2 * HeadMargin;
        textWidth_ = text;
        cellWidth_ = margin_ + room + margin_ + text + margin_;
        setFixedSize(headLeft_ + 7 * cellWidth_ + 1, headTop_ + 7 * s + 1);
        update();
    }

    QRect cellRect(int row, int col) const
    {
        return QRect(headLeft_ + col * cellWidth_, headTop_ + row * view_->cellSize(), cellWidth_, view_->cellSize());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        const auto& n = view_->neighbourhood();
        if (!n)
            return;
        const QColor text = palette().color(QPalette::Text);
        p.setPen(text);
        p.setFont(headFont_);
        for (int i = 0; i < 7; ++i) {
            const QRect cellRow = cellRect(i, 0);
            p.drawText(QRect(0, cellRow.top(), headLeft_ - HeadMargin, cellRow.height()),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(n->Rows[i]));
            const QRect cellCol = cellRect(0, i);
            p.drawText(QRect(cellCol.left(), 0, cellCol.width(), headTop_), Qt::AlignCenter,
                       QString::number(n->Cols[i]));
        }
        p.setFont(cellFont_);
        const int lineH = QFontMetrics(cellFont_).lineSpacing();
        const int side = view_->cellSize() - 2 * margin_;
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < 7; ++c) {
                const QRect cell = cellRect(r, c);
                const TBGRTriple v = n->Values[r][c];
                p.setPen(palette().color(QPalette::Mid));
                p.drawRect(cell);
                const QRect swatch(cell.left() + margin_, cell.top() + margin_, side, side);
                p.fillRect(swatch, QColor(v.r, v.g, v.b));
                // A frame, so that a swatch the colour of the background still shows.
                p.setPen(palette().color(QPalette::Dark));
                p.drawRect(swatch.adjusted(0, 0, -1, -1));
                p.setPen(text);
                const QString lines[4] = {QStringLiteral("B %1").arg(v.b), QStringLiteral("G %1").arg(v.g),
                                          QStringLiteral("R %1").arg(v.r), weightText(n->Weights[r][c])};
                const int left = swatch.right() + 1 + margin_;
                const int top = cell.top() + (cell.height() - 4 * lineH) / 2;
                for (int k = 0; k < 4; ++k)
                    p.drawText(QRect(left, top + k * lineH, textWidth_, lineH), Qt::AlignLeft | Qt::AlignVCenter,
                               lines[k]);
            }
        }
        // The pixel the explanation is about.
        const int frame = std::max(2, view_->cellSize() / 16);
        p.setPen(QPen(palette().color(QPalette::Highlight), frame));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cellRect(3, 3).adjusted(frame / 2, frame / 2, -frame / 2, -frame / 2));
    }

private:
    static constexpr int HeadMargin = 4;
    TNeighbourhoodView* view_;
    QFont cellFont_;
    QFont headFont_;
    int margin_ = 2;
    int textWidth_ = 0;
    int cellWidth_ = 0;
    int headLeft_ = 0;
    int headTop_ = 0;
};

TNeighbourhoodView::TNeighbourhoodView(QWidget* parent) : QScrollArea(parent), canvas_(new TNeighbourhoodCanvas(this))
{
    setWidget(canvas_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setToolTip(tr("Увеличить или уменьшить: Ctrl+колесо мыши, клавиши + и -"));
    canvas_->relayout();
    hide();
}

void TNeighbourhoodView::setNeighbourhood(const std::optional<TNeighbourhood>& neighbourhood)
{
    neighbourhood_ = neighbourhood;
    canvas_->relayout();
    setVisible(neighbourhood_.has_value());
}

void TNeighbourhoodView::setCellSize(int size)
{
    size = std::clamp(size, MinCellSize, MaxCellSize);
    if (size == cellSize_)
        return;
    // Keep the part of the grid in the middle of the view where it is.
    QScrollBar* bars[2] = {horizontalScrollBar(), verticalScrollBar()};
    const int oldExtent[2] = {canvas_->width(), canvas_->height()};
    const int page[2] = {viewport()->width(), viewport()->height()};
    double middle[2];
    for (int i = 0; i < 2; ++i)
        middle[i] = (bars[i]->value() + page[i] / 2.0) / std::max(1, oldExtent[i]);
    cellSize_ = size;
    canvas_->relayout();
    const int newExtent[2] = {canvas_->width(), canvas_->height()};
    for (int i = 0; i < 2; ++i)
        bars[i]->setValue(int(middle[i] * newExtent[i] - page[i] / 2.0));
}

QRect TNeighbourhoodView::cellRect(int row, int col) const
{
    return canvas_->cellRect(row, col);
}

QWidget* TNeighbourhoodView::grid() const
{
    return canvas_;
}

void TNeighbourhoodView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    wheelRest_ += event->angleDelta().y();
    for (; wheelRest_ >= 120; wheelRest_ -= 120)
        zoomIn();
    for (; wheelRest_ <= -120; wheelRest_ += 120)
        zoomOut();
    event->accept();
}

void TNeighbourhoodView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // the + key unshifted
        zoomIn();
        break;
    case Qt::Key_Minus:
        zoomOut();
        break;
    default:
        QScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

}  // namespace ormica

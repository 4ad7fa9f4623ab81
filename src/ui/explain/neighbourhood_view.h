#pragma once

#include "core/explain/explanation.h"

#include <QScrollArea>

#include <optional>

namespace ormica {

class TNeighbourhoodCanvas;

// The 7 x 7 source neighbourhood of a filtered pixel as a grid: each cell
// shows the pixel's colour, its B, G, R values and its weight; the source
// rows and columns are written along the edges and the centre is framed.
// Ctrl+wheel and the +/- keys magnify it; the area scrolls when it grows.
// Hidden while there is no neighbourhood to show.
class TNeighbourhoodView : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int MinCellSize = 24;
    static constexpr int MaxCellSize = 96;
    static constexpr int CellSizeStep = 8;

    explicit TNeighbourhoodView(QWidget* parent = nullptr);

    void setNeighbourhood(const std::optional<TNeighbourhood>& neighbourhood);
    const std::optional<TNeighbourhood>& neighbourhood() const { return neighbourhood_; }

    // The height of a cell in pixels, clamped to MinCellSize .. MaxCellSize.
    int cellSize() const { return cellSize_; }
    void setCellSize(int size);
    void zoomIn() { setCellSize(cellSize_ + CellSizeStep); }
    void zoomOut() { setCellSize(cellSize_ - CellSizeStep); }

    // Where cell (row, col) is drawn, in the coordinates of the grid widget.
    QRect cellRect(int row, int col) const;
    QWidget* grid() const;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    TNeighbourhoodCanvas* canvas_;
    std::optional<TNeighbourhood> neighbourhood_;
    int cellSize_ = 48;
    int wheelRest_ = 0;  // wheel units not yet worth a step (touchpads send small ones)
};

}  // namespace ormica

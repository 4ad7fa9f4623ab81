#pragma once

#include "core/filter/filter_kernel.h"

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

namespace ormica {

// The editing state of a kernel grid: which cell is being edited, what it
// held and what the last commit made of it.
struct TGridEditState {
    bool Changed = false;
    bool Editing = false;
    bool Failed = false;
    int EditRow = 0;
    int EditCol = 0;
    std::int32_t OldValue = 0;
    std::int32_t OldScale = 0;
    std::int32_t NewValue = 0;
    std::int32_t NewSum = 0;
    QString CellText;
    int NewRow = 0;
    int NewCol = 0;
    int ParseStatus = -1;  // -1 not parsed, 0 a number, 1 empty, 2 a lone minus
};

// An n x n grid of 24-pixel cells, editable, without headers or scroll bars,
// its current cell in the middle.
void SetupFilterGrid(QTableWidget* grid, int n);
// Every weight as decimal text in its cell (column c, row r); 0 as an empty cell.
void KernelToGrid(QTableWidget* grid, const TFilterKernel& kernel);
// Each column as wide as its widest text, never narrower than the 24-pixel
// cell, and the control as wide as its columns, so that every weight a
// kernel can hold (up to "-8421504") shows whole.
void FitGridColumns(QTableWidget* grid);

struct TCellCheck {
    bool Ok = false;
    int ParseStatus = -1;
    std::int32_t Value = 0;
};
// A cell's text as a weight: a lone "-" and empty text are 0; anything else
// must be an integer, or the warning names the text.
TCellCheck CheckCellText(const QString& text);
// The warning for a text that is not an integer.
QString NotANumberText(const QString& text);
// The warning for a sum or scale below 1.
QString ScaleBelowOneText();
// The edit shows the number without its change handling running.
void SetEditQuietly(QLineEdit* edit, std::int32_t number);

// The commit protocol of a kernel grid. A weight typed into a cell joins the
// kernel when the cell's editor closes (Enter, another cell, the grid losing
// the focus). A text that is not an integer, or a weight that would bring the
// sum below 1 or make the kernel too large to convolve, is refused with a
// warning: the old weight comes back and the cursor returns to the cell.
class TKernelGridEditor : public QObject {
    Q_OBJECT
public:
    // `kernel` is the kernel the grid shows; `accepted` hears of every
    // accepted change with the new weight sum.
    TKernelGridEditor(QTableWidget* grid, std::function<TFilterKernel&()> kernel,
                      std::function<void(std::int32_t newSum)> accepted, QObject* parent = nullptr);

    // Shows the kernel without committing anything.
    void showKernel();
    // From now on the columns follow the widest weight (FitGridColumns) and
    // the in-cell editor widens to show all it holds.
    void fitColumnsToWeights();
    // After every commit that succeeded, also one that left the weight as it was.
    std::function<void()> OnCommitted;
    const TGridEditState& state() const { return state_; }

private:
    void itemChanged(QTableWidgetItem* item);
    bool CommitCell(int row, int column);
    void RestoreEditCell();
    void setCellQuietly(int row, int column, std::int32_t value);
    void fitColumns();

    QTableWidget* grid_;
    std::function<TFilterKernel&()> kernel_;
    std::function<void(std::int32_t)> accepted_;
    TGridEditState state_;
    bool quiet_ = false;
    bool fit_ = false;
};

}  // namespace ormica

#include "filter_grid.h"

#include "engine/message_sink.h"
#include "engine/text_convert.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>

namespace ormica {

void SetupFilterGrid(QTableWidget* grid, int n)
{
    const QSignalBlocker quiet(grid);
    grid->setRowCount(n);
    grid->setColumnCount(n);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    // A section holds the 24-pixel cell with its grid line: n x 26 + 2 then
    // fills the control exactly.
    grid->horizontalHeader()->setDefaultSectionSize(26);
    grid->verticalHeader()->setDefaultSectionSize(26);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setShowGrid(true);
    // Four characters ("-108") must show whole in a cell, never as an ellipsis.
    QFont font = grid->font();
    font.setPixelSize(10);
    grid->setFont(font);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setWordWrap(false);
    grid->setStyleSheet(QStringLiteral("QTableView::item { padding: 0px; }"));
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setFixedSize(n * 26 + 2, n * 26 + 2);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            if (!grid->item(r, c)) {
                auto* item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                grid->setItem(r, c, item);
            }
    grid->setCurrentCell(n / 2, n / 2);
}

void KernelToGrid(QTableWidget* grid, const TFilterKernel& kernel)
{
    const QSignalBlocker quiet(grid);
    for (int r = 0; r < TFilterKernel::kSide && r < grid->rowCount(); ++r)
        for (int c = 0; c < TFilterKernel::kSide && c < grid->columnCount(); ++c) {
            const std::int32_t w = kernel.at(r, c);
            grid->item(r, c)->setText(w == 0 ? QString() : QString::number(w));
        }
}

QString NotANumberText(const QString& text)
{
    return QStringLiteral(" Введенный Вами текст : ") + text + QStringLiteral("\r\n") +
           QStringLiteral(" Не является натуральным числом.");
}

QString ScaleBelowOneText()
{
    return QStringLiteral("Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено.");
}

TCellCheck CheckCellText(const QString& text)
{
    TCellCheck check;
    const QString t = text.trimmed();
    if (t == QStringLiteral("-"))
        return {true, 2, 0};
    if (t.isEmpty())
        return {true, 1, 0};
    std::int32_t value = 0;
    if (TextToInt(t, value))
        return {true, 0, value};
    messages().warning(NotANumberText(text));
    return check;
}

void SetEditQuietly(QLineEdit* edit, std::int32_t number)
{
    const QSignalBlocker quiet(edit);
    edit->setText(QString::number(number));
}

TKernelGridEditor::TKernelGridEditor(QTableWidget* grid, std::function<TFilterKernel&()> kernel,
                                     std::function<void(std::int32_t)> accepted, QObject* parent)
    : QObject(parent), grid_(grid), kernel_(std::move(kernel)), accepted_(std::move(accepted))
{
    connect(grid_, &QTableWidget::itemChanged, this, &TKernelGridEditor::itemChanged);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        state_.NewRow = row;
        state_.NewCol = column;
        state_.Changed = row != state_.EditRow || column != state_.EditCol;
    });
}

void TKernelGridEditor::showKernel()
{
    const bool was = quiet_;
    quiet_ = true;
    KernelToGrid(grid_, kernel_());
    quiet_ = was;
}

void TKernelGridEditor::setCellQuietly(int row, int column, std::int32_t value)
{
    const QSignalBlocker quiet(grid_);
    grid_->item(row, column)->setText(value == 0 ? QString() : QString::number(value));
}

void TKernelGridEditor::itemChanged(QTableWidgetItem* item)
{
    if (quiet_ || !item)
        return;
    if (!CommitCell(item->row(), item->column()))
        // The cursor goes back once the view has finished moving it.
        QTimer::singleShot(0, this, [this] { RestoreEditCell(); });
}

bool TKernelGridEditor::CommitCell(int row, int column)
{
    TFilterKernel& kernel = kernel_();
    state_.EditRow = row;
    state_.EditCol = column;
    state_.CellText = grid_->item(row, column)->text();
    state_.OldValue = kernel.at(row, column);
    const TCellCheck check = CheckCellText(state_.CellText);
    state_.ParseStatus = check.ParseStatus;
    if (!check.Ok) {
        setCellQuietly(row, column, state_.OldValue);
        state_.Failed = true;
        return false;
    }
    state_.NewValue = check.Value;
    if (state_.NewValue == state_.OldValue) {
        state_.Failed = false;
        if (OnCommitted)
            OnCommitted();
        return true;
    }
    kernel.at(row, column) = state_.NewValue;
    const std::optional<std::int32_t> sum = KernelSum(kernel);
    // A kernel too large to convolve is refused like one whose sum is too small.
    const bool fits = sum && KernelFits(kernel);
    if (!fits || *sum <= 0) {
        if (fits)
            messages().warning(ScaleBelowOneText());
        else
            CheckKernel(kernel, grid_->objectName());
        kernel.at(row, column) = state_.OldValue;
        setCellQuietly(row, column, state_.OldValue);
        state_.Failed = true;
        return false;
    }
    state_.NewSum = *sum;
    state_.Failed = false;
    if (accepted_)
        accepted_(*sum);
    if (OnCommitted)
        OnCommitted();
    return true;
}

void TKernelGridEditor::RestoreEditCell()
{
    grid_->setCurrentCell(state_.EditRow, state_.EditCol);
    state_.NewRow = state_.EditRow;
    state_.NewCol = state_.EditCol;
    state_.Changed = false;
}

}  // namespace ormica

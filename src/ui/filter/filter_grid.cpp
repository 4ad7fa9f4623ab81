#include "ui/filter/filter_grid.h"

#include "core/engine/message_sink.h"
#include "core/engine/text_convert.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace ormica {

namespace {

constexpr int kSection = 26;  // the 24-pixel cell with its grid line

// Room beside a cell's text: the grid line and a pixel or so on each side.
constexpr int kTextRoom = 4;

// Qt's own editor stops growing at the view's right edge, so the last column
// would scroll a long weight out of sight: this one grows leftwards there.
class TWeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(edit->style()->styleHint(QStyle::SH_ItemView_DrawDelegateFrame, nullptr, edit));
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { fit(edit); });
        return edit;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setProperty(kCellProperty, option.rect);
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            fit(edit);
    }

private:
    static constexpr const char* kCellProperty = "ormicaCell";

    // The cell's rectangle, widened to the text and kept inside the view.
    static void fit(QLineEdit* edit)
    {
        const QRect cell = edit->property(kCellProperty).toRect();
        const QWidget* area = edit->parentWidget();
        if (!cell.isValid() || !area)
            return;
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
        const QMargins tm = edit->textMargins();
        const QMargins cm = edit->contentsMargins();
        // QLineEdit keeps 2 pixels on each side of its text and 1 for the cursor.
        const int textWidth =
            edit->fontMetrics().horizontalAdvance(edit->text()) + 5 + tm.left() + tm.right() + cm.left() + cm.right();
        const int needed =
            edit->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(textWidth, 0), edit).width();
        const int width = std::clamp(needed, cell.width(), std::max(cell.width(), area->width()));
        const int left = std::clamp(cell.left(), 0, std::max(0, area->width() - width));
        edit->setGeometry(left, cell.top(), width, cell.height());
    }
};

}  // namespace

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
    grid->horizontalHeader()->setDefaultSectionSize(kSection);
    grid->verticalHeader()->setDefaultSectionSize(kSection);
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
    grid->setFixedSize(n * kSection + 2, n * kSection + 2);
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

void FitGridColumns(QTableWidget* grid)
{
    const QFontMetrics fm(grid->font());
    int total = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
        int widest = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            if (const QTableWidgetItem* item = grid->item(r, c))
                widest = std::max(widest, fm.horizontalAdvance(item->text()));
        const int width = std::max(kSection, widest + kTextRoom);
        if (grid->columnWidth(c) != width)
            grid->setColumnWidth(c, width);
        total += width;
    }
    grid->setFixedWidth(total + 2 * grid->frameWidth());
}

QString NotANumberText(const QString& text)
{
    return QCoreApplication::translate("FilterGrid", " Введенный Вами текст : %1\r\n Не является натуральным числом.")
        .arg(text);
}

QString ScaleBelowOneText()
{
    return QCoreApplication::translate(
        "FilterGrid", "Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено.");
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
    fitColumns();
}

void TKernelGridEditor::fitColumnsToWeights()
{
    fit_ = true;
    grid_->setItemDelegate(new TWeightDelegate(grid_));
    fitColumns();
}

void TKernelGridEditor::fitColumns()
{
    if (fit_)
        FitGridColumns(grid_);
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
    const bool committed = CommitCell(item->row(), item->column());
    // The cell holds the text as typed, or the old weight again.
    fitColumns();
    if (!committed)
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

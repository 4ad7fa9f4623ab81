#include "ui/explain/explain_panel.h"

#include "ui/explain/neighbourhood_view.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace ormica {

namespace {

QString triple(TBGRTriple t)
{
    return QStringLiteral("(%1, %2, %3)").arg(t.b).arg(t.g).arg(t.r);
}

}  // namespace

TExplainPanel::TExplainPanel(QWidget* parent) : QWidget(parent)
{
    LabelHeading = new QLabel(this);
    QFont bold = LabelHeading->font();
    bold.setBold(true);
    LabelHeading->setFont(bold);
    LabelHeading->setWordWrap(true);
    LabelHeading->setTextInteractionFlags(Qt::TextSelectableByMouse);

    GridSteps = new QTableWidget(0, 3, this);
    GridSteps->setHorizontalHeaderLabels({tr("Шаг"), tr("Формула"), tr("Числа")});
    GridSteps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSteps->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridSteps->setWordWrap(true);
    GridSteps->verticalHeader()->hide();
    // Rows follow their wrapped text whenever a column changes width.
    GridSteps->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GridSteps->horizontalHeader()->setStretchLastSection(true);
    // The columns follow the table's own width, which a window shown for the
    // first time settles only after the panel's.
    GridSteps->viewport()->installEventFilter(this);

    LabelResult = new QLabel(this);
    LabelResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelMismatch = new QLabel(this);
    LabelMismatch->setWordWrap(true);
    QPalette red = LabelMismatch->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    LabelMismatch->setPalette(red);

    Neighbourhood = new TNeighbourhoodView(this);

    // The steps beside the neighbourhood: a wide panel keeps the numbers in sight.
    auto* steps = new QVBoxLayout;
    steps->addWidget(LabelHeading);
    steps->addWidget(GridSteps, 1);
    steps->addWidget(LabelResult);
    steps->addWidget(LabelMismatch);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(steps, 3);
    layout->addWidget(Neighbourhood, 2);
    render();
}

void TExplainPanel::showExplanation(const TExplanation& explanation)
{
    explanation_ = explanation;
    render();
}

void TExplainPanel::showNothing(const QString& why)
{
    explanation_ = TExplanation{};
    explanation_.Unavailable = why;
    render();
}

bool TExplainPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == GridSteps->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    return QWidget::eventFilter(watched, event);
}

// The label and the formula take what they need up to a quarter and a third
// of the width and wrap beyond, never narrower than their longest word (a
// word does not wrap); the numbers have the rest.
void TExplainPanel::fitColumns()
{
    if (GridSteps->rowCount() == 0)
        return;
    GridSteps->resizeColumnsToContents();
    const int width = GridSteps->viewport()->width();
    const QFontMetrics fm(GridSteps->font());
    const int textMargin = 2 * (GridSteps->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, GridSteps) + 1);
    const auto longestWord = [&](int col) {
        int widest = 0;
        for (int row = 0; row < GridSteps->rowCount(); ++row)
            if (const QTableWidgetItem* item = GridSteps->item(row, col))
                for (const QString& word : item->text().simplified().split(QLatin1Char(' ')))
                    widest = std::max(widest, fm.horizontalAdvance(word));
        return widest + textMargin + 4;  // and the grid line, and rounding
    };
    GridSteps->setColumnWidth(0, std::min(GridSteps->columnWidth(0), std::max({90, width / 4, longestWord(0)})));
    GridSteps->setColumnWidth(1, std::min(GridSteps->columnWidth(1), std::max({120, width / 3, longestWord(1)})));
}

void TExplainPanel::render()
{
    const TExplanation& e = explanation_;
    const bool available = e.Unavailable.isEmpty();
    if (!available)
        LabelHeading->setText(e.Unavailable);
    else if (e.Operation.isEmpty())
        LabelHeading->setText(tr("Щёлкните по точке изображения, чтобы увидеть, как она вычислена."));
    else
        LabelHeading->setText(tr("%1: точка (%2, %3)").arg(e.Operation, QString::number(e.X), QString::number(e.Y)));

    GridSteps->setRowCount(0);
    if (available) {
        GridSteps->setRowCount(int(e.Steps.size()));
        for (int row = 0; row < GridSteps->rowCount(); ++row) {
            const TExplainStep& step = e.Steps[size_t(row)];
            const QString texts[3] = {step.Label, step.Formula, step.Numbers};
            for (int col = 0; col < 3; ++col) {
                auto* item = new QTableWidgetItem(texts[col]);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                GridSteps->setItem(row, col, item);
            }
        }
    }
    fitColumns();

    const bool result = available && e.Result.has_value();
    LabelResult->setText(result ? tr("Результат (B, G, R): %1").arg(triple(*e.Result)) : QString());
    LabelResult->setVisible(result);
    const bool mismatch = result && e.Actual && !e.Matches();
    LabelMismatch->setText(mismatch ? tr("Результат не совпадает с точкой изображения %1").arg(triple(*e.Actual))
                                    : QString());
    LabelMismatch->setVisible(mismatch);

    Neighbourhood->setNeighbourhood(available ? e.Neighbourhood : std::nullopt);
}

}  // namespace ormica

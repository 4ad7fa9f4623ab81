#include "ui/explain/explain_panel.h"

#include "ui/explain/neighbourhood_view.h"

#include <QHeaderView>
#include <QLabel>
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
    GridSteps->setHorizontalHeaderLabels({QStringLiteral("Шаг"), QStringLiteral("Формула"), QStringLiteral("Числа")});
    GridSteps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSteps->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridSteps->setWordWrap(true);
    GridSteps->verticalHeader()->hide();
    // Rows follow their wrapped text whenever a column changes width.
    GridSteps->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    GridSteps->horizontalHeader()->setStretchLastSection(true);

    LabelResult = new QLabel(this);
    LabelResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelMismatch = new QLabel(this);
    LabelMismatch->setWordWrap(true);
    QPalette red = LabelMismatch->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    LabelMismatch->setPalette(red);

    Neighbourhood = new TNeighbourhoodView(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelHeading);
    layout->addWidget(GridSteps, 1);
    layout->addWidget(LabelResult);
    layout->addWidget(LabelMismatch);
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

void TExplainPanel::render()
{
    const TExplanation& e = explanation_;
    const bool available = e.Unavailable.isEmpty();
    LabelHeading->setText(
        available ? QStringLiteral("%1: точка (%2, %3)").arg(e.Operation, QString::number(e.X), QString::number(e.Y))
                  : e.Unavailable);

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
        GridSteps->resizeColumnsToContents();
        // A long formula wraps rather than pushing the numbers out of sight.
        const int widest = std::max(160, GridSteps->viewport()->width() * 2 / 5);
        for (int col = 0; col < 2; ++col)
            GridSteps->setColumnWidth(col, std::min(GridSteps->columnWidth(col), widest));
    }

    const bool result = available && e.Result.has_value();
    LabelResult->setText(result ? QStringLiteral("Результат: %1").arg(triple(*e.Result)) : QString());
    LabelResult->setVisible(result);
    const bool mismatch = result && e.Actual && !e.Matches();
    LabelMismatch->setText(
        mismatch ? QStringLiteral("Результат не совпадает с точкой изображения %1").arg(triple(*e.Actual)) : QString());
    LabelMismatch->setVisible(mismatch);

    Neighbourhood->setNeighbourhood(available ? e.Neighbourhood : std::nullopt);
}

}  // namespace ormica

#pragma once

#include "core/explain/explanation.h"

#include <QWidget>

class QLabel;
class QTableWidget;

namespace ormica {

class TNeighbourhoodView;

// Shows the worked arithmetic of one pixel: a heading with the operation and
// the pixel, the steps as a table (label, formula, numbers), the result, and
// for the filter the 7 x 7 source neighbourhood with the weights.
class TExplainPanel : public QWidget {
    Q_OBJECT
public:
    explicit TExplainPanel(QWidget* parent = nullptr);

    void showExplanation(const TExplanation& explanation);
    // Nothing to explain, and why (no operation wrote the image, ...).
    void showNothing(const QString& why);

    const TExplanation& explanation() const { return explanation_; }

    QLabel* LabelHeading = nullptr;
    QTableWidget* GridSteps = nullptr;
    QLabel* LabelResult = nullptr;
    // Shown in red when the steps arrive at another value than the image holds.
    QLabel* LabelMismatch = nullptr;
    TNeighbourhoodView* Neighbourhood = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();
    void render();

    TExplanation explanation_;
};

}  // namespace ormica

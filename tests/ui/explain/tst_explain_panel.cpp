#include "ui/explain/explain_panel.h"
#include "ui/explain/neighbourhood_view.h"

#include <QLabel>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace ormica;

namespace {

std::optional<TBGRTriple> tripleOf(const QList<int>& v)
{
    if (v.isEmpty())
        return std::nullopt;
    return TBGRTriple{std::uint8_t(v[0]), std::uint8_t(v[1]), std::uint8_t(v[2])};
}

// Every cell a different colour and weight, so a cell drawn in another's
// place or with its channels swapped shows.
TNeighbourhood sampleNeighbourhood()
{
    TNeighbourhood n;
    for (int i = 0; i < 7; ++i) {
        n.Rows[i] = 100 + i;
        n.Cols[i] = 200 + i;
        for (int j = 0; j < 7; ++j) {
            n.Values[i][j] = {std::uint8_t(10 + 30 * i), std::uint8_t(5 * j), std::uint8_t(250 - 30 * j)};
            n.Weights[i][j] = (i - 3) * (j - 3) - 1000;
        }
    }
    return n;
}

TExplanation filterExplanation()
{
    TExplanation e;
    e.Operation = QStringLiteral("Фильтр");
    e.X = 104;
    e.Y = 203;
    e.Steps = {{QStringLiteral("Сумма B"), QStringLiteral("ΣB·w"), QStringLiteral("10·(-1) + 20·5 = 90")},
               {QStringLiteral("B"), QStringLiteral("ΣB·w / S"), QStringLiteral("90 / 9 = 10")}};
    e.Result = TBGRTriple{10, 20, 30};
    e.Actual = e.Result;
    e.Neighbourhood = sampleNeighbourhood();
    return e;
}

}  // namespace

class TstExplainPanel : public QObject {
    Q_OBJECT

    void show(const TExplanation& e)
    {
        panel->showExplanation(e);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    }

    // Sent to the viewport: an event not from the window system is not passed
    // on from the grid to the widgets around it.
    void wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers)
    {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

private slots:
    void init() { panel = std::make_unique<TExplainPanel>(); }
    void cleanup() { panel.reset(); }

    // One row a step, in order; the neighbourhood only when there is one.
    void showsTheStepsAndTheHeading_data()
    {
        QTest::addColumn<bool>("withNeighbourhood");
        QTest::newRow("filter") << true;
        QTest::newRow("grey") << false;
    }
    void showsTheStepsAndTheHeading()
    {
        QFETCH(bool, withNeighbourhood);
        TExplanation e = filterExplanation();
        if (!withNeighbourhood) {
            e.Operation = QStringLiteral("Серый");
            e.Steps.push_back({QStringLiteral("L"), QStringLiteral("√((B²+G²+R²)/3)"), QStringLiteral("= 21")});
            e.Neighbourhood.reset();
        }
        show(e);
        QCOMPARE(panel->LabelHeading->text(), e.Operation + QStringLiteral(": точка (104, 203)"));
        QCOMPARE(panel->GridSteps->rowCount(), int(e.Steps.size()));
        for (int row = 0; row < panel->GridSteps->rowCount(); ++row) {
            const TExplainStep& step = e.Steps[size_t(row)];
            QCOMPARE(panel->GridSteps->item(row, 0)->text(), step.Label);
            QCOMPARE(panel->GridSteps->item(row, 1)->text(), step.Formula);
            QCOMPARE(panel->GridSteps->item(row, 2)->text(), step.Numbers);
            QVERIFY(!(panel->GridSteps->item(row, 2)->flags() & Qt::ItemIsEditable));
        }
        QCOMPARE(panel->Neighbourhood->isVisible(), withNeighbourhood);
    }

    // The warning names the image's pixel, and only when the steps arrive
    // elsewhere.
    void warnsOnlyWhenTheResultDiffers_data()
    {
        QTest::addColumn<QList<int>>("result");  // B, G, R; empty: none
        QTest::addColumn<QList<int>>("actual");
        QTest::addColumn<QString>("resultText");  // empty: hidden
        QTest::addColumn<QString>("warning");

        const QString equal = QStringLiteral("Результат (B, G, R): (10, 20, 30)");
        const QString differs = QStringLiteral("Результат не совпадает с точкой изображения ");
        QTest::newRow("equal") << QList<int>{10, 20, 30} << QList<int>{10, 20, 30} << equal << QString();
        QTest::newRow("blue differs") << QList<int>{10, 20, 30} << QList<int>{11, 20, 30} << equal
                                      << differs + "(11, 20, 30)";
        QTest::newRow("red differs") << QList<int>{10, 20, 30} << QList<int>{10, 20, 0} << equal
                                     << differs + "(10, 20, 0)";
        QTest::newRow("no result") << QList<int>{} << QList<int>{10, 20, 30} << QString() << QString();
    }
    void warnsOnlyWhenTheResultDiffers()
    {
        QFETCH(QList<int>, result);
        QFETCH(QList<int>, actual);
        QFETCH(QString, resultText);
        QFETCH(QString, warning);
        TExplanation e = filterExplanation();
        e.Result = tripleOf(result);
        e.Actual = tripleOf(actual);
        show(e);
        QCOMPARE(panel->LabelResult->isVisible(), !resultText.isEmpty());
        if (!resultText.isEmpty())
            QCOMPARE(panel->LabelResult->text(), resultText);
        QCOMPARE(panel->LabelMismatch->isVisible(), !warning.isEmpty());
        if (!warning.isEmpty()) {
            QCOMPARE(panel->LabelMismatch->text(), warning);
            QCOMPARE(panel->LabelMismatch->palette().color(QPalette::WindowText), QColor(Qt::red));
        }
    }

    // Whether told so or given an explanation that is not available, the
    // panel keeps nothing of what it showed before but the reason.
    void nothingToExplainEmptiesThePanel_data()
    {
        QTest::addColumn<bool>("unavailable");
        QTest::newRow("showNothing") << false;
        QTest::newRow("unavailable explanation") << true;
    }
    void nothingToExplainEmptiesThePanel()
    {
        QFETCH(bool, unavailable);
        TExplanation wrong = filterExplanation();
        wrong.Actual = TBGRTriple{0, 0, 0};
        show(wrong);
        QVERIFY(panel->LabelMismatch->isVisible());

        const QString why = QStringLiteral("Изображение не получено операцией.");
        if (unavailable) {
            TExplanation e = filterExplanation();
            e.Unavailable = why;
            panel->showExplanation(e);
        } else {
            panel->showNothing(why);
        }
        QCOMPARE(panel->LabelHeading->text(), why);
        QCOMPARE(panel->GridSteps->rowCount(), 0);
        QVERIFY(!panel->LabelResult->isVisible());
        QVERIFY(!panel->LabelMismatch->isVisible());
        QVERIFY(!panel->Neighbourhood->isVisible());
        QCOMPARE(panel->explanation().Unavailable, why);
    }

    // Each cell's swatch is the colour of its source pixel.
    // A word never breaks: however narrow the panel, the label and formula
    // columns hold their longest word whole.
    void columnsHoldTheirLongestWord()
    {
        TExplanation e = filterExplanation();
        e.Steps.push_back({QStringLiteral("Среднеквадратичное"), QStringLiteral("Отбрасывание"), QStringLiteral("1")});
        panel->resize(260, 300);
        show(e);
        QTableWidget* grid = panel->GridSteps;
        const QFontMetrics fm(grid->font());
        for (int col : {0, 1}) {
            int widest = 0;
            for (int row = 0; row < grid->rowCount(); ++row)
                for (const QString& word : grid->item(row, col)->text().split(QLatin1Char(' ')))
                    widest = std::max(widest, fm.horizontalAdvance(word));
            QVERIFY2(grid->columnWidth(col) > widest, qPrintable(QString::number(col)));
        }
    }

    void swatchesShowTheSourcePixels()
    {
        const TExplanation e = filterExplanation();
        show(e);
        TNeighbourhoodView* view = panel->Neighbourhood;
        const QImage drawn = view->grid()->grab().toImage();
        const qreal ratio = drawn.devicePixelRatio();
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c) {
                const QRect cell = view->cellRect(r, c);
                const QPoint middle(cell.left() + view->cellSize() / 2, cell.top() + view->cellSize() / 2);
                const TBGRTriple v = e.Neighbourhood->Values[r][c];
                QCOMPARE(drawn.pixelColor(middle * ratio), QColor(v.r, v.g, v.b));
            }
    }

    // Ctrl+wheel (its steps added up) and +/- magnify within the range; the
    // wheel alone scrolls; the grid grows to hold every cell.
    void zoomsWithinItsRange()
    {
        show(filterExplanation());
        TNeighbourhoodView* view = panel->Neighbourhood;
        view->setCellSize(48);
        wheel(view->viewport(), 120, Qt::ControlModifier);
        QCOMPARE(view->cellSize(), 48 + TNeighbourhoodView::CellSizeStep);
        wheel(view->viewport(), 120, Qt::NoModifier);
        QCOMPARE(view->cellSize(), 48 + TNeighbourhoodView::CellSizeStep);
        wheel(view->viewport(), -60, Qt::ControlModifier);
        QCOMPARE(view->cellSize(), 48 + TNeighbourhoodView::CellSizeStep);
        wheel(view->viewport(), -60, Qt::ControlModifier);
        QCOMPARE(view->cellSize(), 48);
        QTest::keyClick(view, Qt::Key_Minus);
        QCOMPARE(view->cellSize(), 48 - TNeighbourhoodView::CellSizeStep);

        for (int i = 0; i < 20; ++i)
            QTest::keyClick(view, Qt::Key_Plus);
        QCOMPARE(view->cellSize(), TNeighbourhoodView::MaxCellSize);
        QVERIFY(view->grid()->rect().contains(view->cellRect(6, 6)));
        QCOMPARE(view->cellRect(6, 6).height(), TNeighbourhoodView::MaxCellSize);
        for (int i = 0; i < 20; ++i)
            wheel(view->viewport(), -120, Qt::ControlModifier);
        QCOMPARE(view->cellSize(), TNeighbourhoodView::MinCellSize);
        QVERIFY(view->grid()->rect().contains(view->cellRect(6, 6)));
    }

private:
    std::unique_ptr<TExplainPanel> panel;
};

QTEST_MAIN(TstExplainPanel)
#include "tst_explain_panel.moc"

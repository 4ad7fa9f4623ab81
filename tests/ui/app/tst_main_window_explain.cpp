// The "Пояснение" panel: a click on a pixel explains it, and the panel
// keeps step with undo and redo.
#include "main_window_fixture.h"
#include "ui/explain/explain_panel.h"
#include "ui/filter/filter_window.h"
#include "ui/workspace/workspace.h"

#include <QDockWidget>
#include <QTableWidget>
#include <QtTest>

using namespace ormica;

class TstMainWindowExplain : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void aClickExplainsTheFilteredPixelAndUndoKeepsStep()
    {
        TFormDFilter filter(*ws, form.get());
        form->setToolWindows({.filter = &filter});
        showForm();
        giveSource(test::patternImage(40, 30, 7));
        form->ShowModal = [&](QDialog& d) {
            d.show();
            filter.TB1RunDest->click();
            return 0;
        };
        drag(QPoint(5, 5), QPoint(20, 15));
        form->MMDFilter->trigger();
        const QPoint pixel(17, 12);

        // Closed, the panel hears nothing of a click.
        QVERIFY(form->DockExplain->isHidden());
        QTest::mouseClick(form->TargetImage, Qt::LeftButton, {}, pixel);
        QVERIFY(form->PanelExplain->explanation().Steps.empty());

        form->MMExplain->trigger();
        QVERIFY(!form->DockExplain->isHidden());
        QTest::mouseClick(form->TargetImage, Qt::LeftButton, {}, pixel);
        const TExplanation& e = form->PanelExplain->explanation();
        QCOMPARE(e.Operation, OperationName(TOperationRecord::TKind::Filter));
        QCOMPARE(QPoint(e.X, e.Y), pixel);
        QVERIFY(e.Matches());
        QVERIFY(e.Neighbourhood.has_value());
        QCOMPARE(form->PanelExplain->GridSteps->rowCount(), int(e.Steps.size()));
        QCOMPARE(form->PanelExplain->GridSteps->item(0, 0)->text(), e.Steps.front().Label);

        // Another operation on the target, then back and forth.
        form->TBRMirrorLR->click();
        QCOMPARE(form->PanelExplain->explanation().Operation, OperationName(TOperationRecord::TKind::MirrorH));
        QVERIFY(form->PanelExplain->explanation().Matches());
        form->MMUndo->trigger();
        QCOMPARE(form->PanelExplain->explanation().Operation, OperationName(TOperationRecord::TKind::Filter));
        QVERIFY(form->PanelExplain->explanation().Matches());
        form->MMRedo->trigger();
        QCOMPARE(form->PanelExplain->explanation().Operation, OperationName(TOperationRecord::TKind::MirrorH));

        // A copy is no operation: nothing to explain, and the panel says so.
        form->MMCopySrcToDest->trigger();
        QVERIFY(!ws->Records[1]);
        QVERIFY(form->PanelExplain->explanation().Steps.empty());
        form->MMUndo->trigger();
        QCOMPARE(form->PanelExplain->explanation().Operation, OperationName(TOperationRecord::TKind::MirrorH));
        QVERIFY(sink->silent());
    }

    void everyMainWindowOperationIsExplainedWhereItWrote()
    {
        showForm();
        giveSource(test::patternImage(31, 23, 4));
        form->MMExplain->trigger();
        form->MMPRotate->trigger();
        QTest::mouseClick(form->ImageMain, Qt::LeftButton, {}, QPoint(12, 9));  // the rotation centre
        form->EdiAngle->setText(QStringLiteral("25"));
        struct Case {
            QAction* action;
            QToolButton* button;
            TOperationRecord::TKind kind;
        };
        using K = TOperationRecord::TKind;
        for (const Case& c :
             {Case{nullptr, form->TBRMirrorTD, K::MirrorV}, Case{nullptr, form->TBRRot90Plus, K::Rotate90Plus},
              Case{nullptr, form->TBRRot90Minus, K::Rotate90Minus}, Case{nullptr, form->TBRRunAngle, K::Rotate},
              Case{form->MMToGray, nullptr, K::Grey}}) {
            form->PageControl1->setCurrentIndex(1);
            if (c.action)
                c.action->trigger();
            else
                c.button->click();
            const QSize size = form->TargetImage->picture().size();
            for (const QPoint p : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1), QPoint(3, 4)}) {
                QTest::mouseClick(form->TargetImage, Qt::LeftButton, {}, p);
                const TExplanation& e = form->PanelExplain->explanation();
                QCOMPARE(e.Operation, OperationName(c.kind));
                QVERIFY2(e.Matches(), qPrintable(ExplanationText(e)));
            }
        }
    }
};

QTEST_MAIN(TstMainWindowExplain)
#include "tst_main_window_explain.moc"

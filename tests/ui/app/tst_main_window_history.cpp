// The main window's undo and redo.
#include "core/app/undo_history.h"
#include "core/engine/bmp_file.h"
#include "main_window_fixture.h"
#include "ui/filter/filter_window.h"
#include "ui/histogram/histogram_window.h"

#include <QDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <utility>
#include <vector>

using namespace ormica;

class TstMainWindowHistory : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

    // What an undo or redo must bring back.
    struct TState {
        QImage src, trg;
        QString srcName, trgName;
        bool srcFilled, trgFilled;
        int tab;
    };
    TState state()
    {
        form->regionSelector()->ShowFrame(false);
        return TState{form->ImageMain->picture().copy(),
                      form->TargetImage->picture().copy(),
                      form->ImageMain->imageDesc()->FileName,
                      form->TargetImage->imageDesc()->FileName,
                      !ws->SrcArr.empty(),
                      !ws->TrgArr.empty(),
                      form->PageControl1->currentIndex()};
    }
    void expectState(const TState& s, const char* where)
    {
        QVERIFY2(form->ImageMain->picture() == s.src, where);
        QVERIFY2(form->TargetImage->picture() == s.trg, where);
        QCOMPARE(form->ImageMain->imageDesc()->FileName, s.srcName);
        QCOMPARE(form->TargetImage->imageDesc()->FileName, s.trgName);
        QCOMPARE(!ws->SrcArr.empty(), s.srcFilled);
        QCOMPARE(!ws->TrgArr.empty(), s.trgFilled);
        checkInvariant();
    }

    using TCommands = std::vector<std::pair<const char*, std::function<void()>>>;
    // Every command that changes an image, on both images; `big` and `small`
    // are the files loaded into the source and the target.
    TCommands commandsOnBothImages(const QString& big, const QString& small)
    {
        return {
            {"load source",
             [this, big] {
                 dialogs->choices.push_back(TFileChoice{big, 2});
                 form->MMLoadToSrc->trigger();
             }},
            {"mirror", [this] { form->TBRMirrorTD->click(); }},
            {"rot90", [this] { form->TBRRot90Plus->click(); }},
            {"angle",
             [this] {
                 form->EdiAngle->setText(QStringLiteral("20"));
                 form->TBRRunAngle->click();
             }},
            {"zoom source",
             [this] {
                 form->PageControl1->setCurrentIndex(0);
                 form->TrBarZoom->setValue(50);
                 form->TBRZoomPlus->click();
             }},
            {"crop",
             [this] {
                 drag(QPoint(3, 4), QPoint(20, 15));
                 form->MMCropping->trigger();
             }},
            {"grey target", [this] { form->MMToGray->trigger(); }},
            {"target to source", [this] { form->MMCopyDestToSrc->trigger(); }},
            {"load a smaller target",
             [this, small] {
                 dialogs->choices.push_back(TFileChoice{small, 3});
                 form->MMLoadToDest->trigger();
             }},
            {"transfer function", [this] { form->MMGistogramFull->trigger(); }},
            {"source to target", [this] { form->MMCopySrcToDest->trigger(); }},
            {"filter",
             [this] {
                 drag(QPoint(2, 2), QPoint(12, 12));
                 form->MMDFilter->trigger();
             }},
            {"clear source", [this] { form->MMMinSrc->trigger(); }},
        };
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void undoAndRedoWalkThroughEveryCommandOnBothImages()
    {
        TFormGistogram hist(*ws, form.get());
        TFormDFilter filter(*ws, form.get());
        form->setToolWindows({.filter = &filter, .histogram = &hist});
        form->ShowModal = [&](QDialog& d) {
            d.show();
            if (&d == &hist) {
                hist.PageControl1->setCurrentIndex(1);
                hist.TB1Neg->click();
                hist.TB1Run->click();
            } else {
                filter.TB1RunDest->click();
            }
            return 0;
        };
        showForm();
        form->MMPRotate->trigger();
        QTemporaryDir dir;
        const QString big = dir.filePath(QStringLiteral("big.bmp"));
        const QString small = dir.filePath(QStringLiteral("small.png"));
        QVERIFY(WriteBmpFile(test::patternImage(64, 48, 21), big));
        QVERIFY(test::patternImage(23, 31, 22).save(small, "PNG"));

        const TCommands commands = commandsOnBothImages(big, small);
        std::vector<TState> states{state()};
        for (const auto& [name, run] : commands) {
            run();
            states.push_back(state());
            QVERIFY2(form->undoHistory()->UndoCount() == int(states.size()) - 1, name);
        }
        QVERIFY(form->MMUndo->isEnabled());
        QVERIFY(!form->MMRedo->isEnabled());

        // A selection frame shown now is taken off before the first undo.
        drag(QPoint(1, 1), QPoint(8, 8));
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            form->MMUndo->trigger();
            expectState(states[i - 1], commands[i - 1].first);
        }
        QVERIFY(!form->MMUndo->isEnabled());
        QCOMPARE(form->undoHistory()->RedoCount(), int(commands.size()));
        for (std::size_t i = 1; i < states.size(); ++i) {
            form->MMRedo->trigger();
            expectState(states[i], commands[i - 1].first);
            QCOMPARE(form->PageControl1->currentIndex(), states[i].tab);
        }
        QVERIFY(!form->MMRedo->isEnabled());

        // Undo puts back the page that was shown before the command.
        form->MMUndo->trigger();  // the clear was given on the target's page
        form->MMUndo->trigger();  // the filter was started from the source
        QCOMPARE(form->PageControl1->currentIndex(), states[11].tab);
        // A command now forgets what could be redone.
        form->MMCopySrcToDest->trigger();
        QVERIFY(!form->MMRedo->isEnabled());
        QVERIFY(sink->silent());
    }

    void commandsThatChangeNothingAreNoStepsAndTheCapHolds()
    {
        showForm();
        giveSource(test::patternImage(40, 30, 5));
        TUndoHistory& history = *form->undoHistory();

        dialogs->choices.push_back(std::nullopt);  // a cancelled load
        form->MMLoadToSrc->trigger();
        form->MMCropping->trigger();  // nothing selected
        form->EdiAngle->setText(QStringLiteral("0"));
        form->TBRRunAngle->click();
        QCOMPARE(history.UndoCount(), 0);
        QVERIFY(!form->MMUndo->isEnabled());

        history.MaxSteps = 3;
        for (int i = 0; i < 5; ++i)
            form->TBRMirrorLR->click();
        QCOMPARE(history.UndoCount(), 3);

        // A picture beyond the cap: the command is done, the bar says it cannot be undone.
        history.Clear();
        giveSource(test::patternImage(300, 200, 6));  // 180,000 bytes; the mirrored target 3,600
        const QImage before = form->TargetImage->picture().copy();
        history.MaxBytes = 100000;
        form->MMCopySrcToDest->trigger();
        QCOMPARE(history.UndoCount(), 1);
        QVERIFY(form->sttxtHistory->isHidden());
        form->MMToGray->trigger();  // on the target's page, where the copy went
        QCOMPARE(history.UndoCount(), 1);
        QVERIFY(test::arrayHoldsPicture(ws->TrgArr, form->TargetImage->picture()));
        const QColor grey = form->TargetImage->picture().pixelColor(7, 5);
        QVERIFY(grey.red() == grey.green() && grey.green() == grey.blue());
        QVERIFY(!form->sttxtHistory->isHidden());
        QVERIFY(form->sttxtHistory->text().contains(QStringLiteral("нельзя отменить")));
        // Undoing the copy would need the present picture kept for a redo.
        form->MMUndo->trigger();
        QVERIFY(form->sttxtHistory->text().contains(QStringLiteral("Отмена невозможна")));
        QCOMPARE(form->TargetImage->picture().size(), QSize(300, 200));
        history.MaxBytes = qint64(1) << 30;
        form->MMUndo->trigger();
        QVERIFY(form->sttxtHistory->isHidden());
        QCOMPARE(form->TargetImage->picture(), before);
        checkInvariant();
        QVERIFY(sink->silent());
    }
};

QTEST_MAIN(TstMainWindowHistory)
#include "tst_main_window_history.moc"

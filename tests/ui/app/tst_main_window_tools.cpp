// The tool windows as the main window opens them: what each is given, and
// what the main window does with what it writes.
#include "main_window_fixture.h"
#include "ui/app/about_box.h"
#include "ui/filter/filter_window.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_window.h"
#include "ui/scale/scale_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QtTest>

using namespace ormica;

class TstMainWindowTools : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void aboutBoxShowsModally()
    {
        TFormAbout about;
        form->setToolWindows({.about = &about});
        QDialog* shown = nullptr;
        form->ShowModal = [&](QDialog& d) {
            shown = &d;
            return 0;
        };
        form->MMAbout->trigger();
        QCOMPARE(shown, static_cast<QDialog*>(&about));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("LabelVersion"))->text(), QStringLiteral("Версия 3.5.3.1"));
    }

    void histogramsOnlyOpenOnTheSourceImage()
    {
        TFormGistogram hist(*ws, form.get());
        form->setToolWindows({.histogram = &hist});
        QVERIFY(form->MMGistogramFull->isEnabled());
        QVERIFY(form->MMAutoCorr->isEnabled());
        QImage grey(20, 10, QImage::Format_BGR888);
        grey.fill(QColor(128, 128, 128));
        giveSource(grey);
        form->TargetImage->ensureImageDesc().FileName = QStringLiteral("trg.bmp");
        form->SetAttention(true, clYellow, QStringLiteral(" old"));
        emit hist.targetWritten();  // said before the command: it does not count

        struct {
            int shown = 0;
            QDialog* window = nullptr;
            int mode = 0, tab = -1;
            QString caption, count, mean, targetCaption, targetCount, targetPercent;
        } seen;
        bool writeTarget = false;
        form->ShowModal = [&](QDialog& d) {
            ++seen.shown;
            seen.window = &d;
            seen.mode = hist.GistogramMode;
            d.show();
            seen.tab = hist.PageControl1->currentIndex();
            seen.caption = hist.windowTitle();
            seen.count = hist.stTextNumAll->text();
            seen.mean = hist.StTextMM->text();
            // The target is empty: zeros on the other image button.
            hist.SpButGistTrg->click();
            seen.targetCaption = hist.windowTitle();
            seen.targetCount = hist.stTextNumAll->text();
            seen.targetPercent = hist.StTextNumWhitePr->text();
            d.hide();
            if (writeTarget)
                emit hist.targetWritten();
            return 0;
        };
        form->MMGistogramFull->trigger();
        QCOMPARE(seen.shown, 1);
        QCOMPARE(seen.window, static_cast<QDialog*>(&hist));
        QCOMPARE(seen.mode, 1);
        QCOMPARE(seen.tab, 0);
        QCOMPARE(seen.caption, QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        QCOMPARE(seen.count, QStringLiteral("200"));
        QCOMPARE(seen.mean, QStringLiteral("128"));
        QCOMPARE(seen.targetCaption, QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        QCOMPARE(seen.targetCount, QStringLiteral("0"));
        QCOMPARE(seen.targetPercent, QStringLiteral("0 %"));
        QVERIFY(!form->lampBlinking());
        QVERIFY(form->statusText(3).isEmpty());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("trg.bmp"));

        // Reopened from the target tab: the source button is down again. The
        // window wrote the target this time, so it becomes a new picture.
        form->ShowPage(1);
        writeTarget = true;
        form->MMGistogramFull->trigger();
        QCOMPARE(seen.shown, 2);
        QCOMPARE(seen.caption, QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        QCOMPARE(seen.tab, 0);
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QCOMPARE(form->windowTitle(), TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : NoName"));
        QVERIFY(sink->silent());
    }

    void aTransferFunctionRunGivesANewTarget()
    {
        TFormGistogram hist(*ws, form.get());
        form->setToolWindows({.histogram = &hist});
        QImage grey(20, 10, QImage::Format_BGR888);
        grey.fill(QColor(128, 128, 128));
        giveSource(grey);
        form->TargetImage->ensureImageDesc().FileName = QStringLiteral("trg.bmp");
        form->ShowModal = [&](QDialog& d) {
            d.show();
            hist.PageControl1->setCurrentIndex(1);
            hist.TB1Neg->click();
            hist.TB1Run->click();
            return 0;
        };
        form->MMGistogramFull->trigger();
        QVERIFY(!hist.isVisible());
        // The negative of 128 is 127 (the factor 127 / 128 on every channel).
        QCOMPARE(form->TargetImage->picture().size(), QSize(20, 10));
        QCOMPARE(form->TargetImage->picture().pixelColor(7, 3), QColor(127, 127, 127));
        checkInvariant();
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QVERIFY(sink->silent());
    }

    void filterWindowGetsTheFragmentAndWritesTheTarget()
    {
        TFormDFilter filter(*ws, form.get());
        form->setToolWindows({.filter = &filter});
        QVERIFY(form->MMDFilter->isEnabled());
        showForm();
        const QImage picture = test::patternImage(60, 50, 3);
        giveSource(picture);
        form->TargetImage->ensureImageDesc().FileName = QStringLiteral("trg.bmp");

        bool run = false;
        QImage shownFragment;
        int shown = 0;
        form->ShowModal = [&](QDialog& d) {
            ++shown;
            shownFragment = filter.ImgTestSource->picture().copy();
            d.show();
            if (run)
                filter.TB1RunDest->click();
            else
                d.hide();
            return 0;
        };
        form->MMDFilter->trigger();
        QCOMPARE(shown, 0);
        QCOMPARE(form->statusText(3), QStringLiteral(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ НЕБОЛЬШОЙ ФРАГМЕНТ ИЗОБРАЖЕНИЯ"));

        // Closed without a run: the target keeps its name.
        drag(QPoint(10, 12), QPoint(29, 21));
        form->MMDFilter->trigger();
        QCOMPARE(shown, 1);
        QCOMPARE(shownFragment, picture.copy(10, 12, 20, 10));
        QVERIFY(!form->fragment().selected());
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("trg.bmp"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);

        drag(QPoint(10, 12), QPoint(29, 21));
        run = true;
        QSignalSpy written(&filter, &TFormDFilter::targetWritten);
        form->MMDFilter->trigger();
        QCOMPARE(shown, 2);
        QCOMPARE(written.count(), 1);
        QCOMPARE(form->TargetImage->picture().size(), QSize(60, 50));
        checkInvariant();
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QVERIFY(sink->silent());
    }

    void scaleDialogScalesTheActiveImageIntoTheTarget()
    {
        TFormScaleDialog scale(form.get());
        form->setToolWindows({.scale = &scale});
        QVERIFY(form->MMScale->isEnabled());
        QVERIFY(form->TBRZoomForm->isEnabled());
        showForm();
        giveSource(test::patternImage(80, 60, 5));
        form->TargetImage->ensureImageDesc().FileName = QStringLiteral("trg.bmp");
        QString width;
        form->ShowModal = [&](QDialog& d) {
            d.show();
            width = scale.EditTrgW->text();
            scale.EditTrgW->setText(QStringLiteral("40"));
            scale.BitBtnRun->click();
            return 0;
        };
        // From the source tab: source into target.
        form->ShowPage(0);
        form->MMScale->trigger();
        QCOMPARE(width, QStringLiteral("80"));
        QCOMPARE(form->TargetImage->picture().size(), QSize(40, 30));
        QCOMPARE(form->ImageMain->picture().size(), QSize(80, 60));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        checkInvariant();
        QCOMPARE(ws->TrgArr.rowCount(), 30);
        // A scaled picture is a new one: it names no file.
        QCOMPARE(form->windowTitle(), TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : NoName"));

        // From the target tab: the target in place.
        form->TBRZoomForm->click();
        QCOMPARE(width, QStringLiteral("40"));
        QCOMPARE(form->TargetImage->picture().size(), QSize(40, 30));
        form->ShowModal = [&](QDialog& d) {
            d.show();
            scale.EditTrgW->setText(QStringLiteral("20"));
            scale.BitBtnRun->click();
            return 0;
        };
        form->MMScale->trigger();
        QCOMPARE(form->TargetImage->picture().size(), QSize(20, 15));
        QCOMPARE(ws->TrgArr.rowCount(), 15);
        checkInvariant();
        QVERIFY(sink->silent());

        // Over a target above the fill limit, cancelled or run with a reserve
        // method: nothing new is shown, so nothing is asked; array and name stay.
        QImage big(5000, 3601, QImage::Format_BGR888);
        big.fill(Qt::white);
        form->TargetImage->setPicture(big);
        ImageToImgTab(*form->TargetImage, ws->TrgArr, nullptr);
        form->TargetImage->ensureImageDesc().FileName = QStringLiteral("big.bmp");
        for (const bool reserve : {false, true}) {
            form->ShowModal = [&](QDialog& d) {
                d.show();
                scale.EditTrgW->setText(QStringLiteral("500"));
                scale.CboBoxMhetod->setCurrentIndex(reserve ? 1 : 0);
                (reserve ? scale.BitBtnRun : scale.BitBtnCancel)->click();
                return 0;
            };
            form->MMScale->trigger();
            QVERIFY(sink->questions.isEmpty());
            QCOMPARE(ws->TrgArr.rowCount(), 3601);
            QCOMPARE(form->windowTitle(),
                     TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : big.bmp"));
        }
    }

    // A fragment one point thin, also once cut to the picture, has no sample:
    // the window stays closed and a box says why.
    void aFragmentOnePointThinIsRefused()
    {
        TFormGistogram hist(*ws, form.get());
        form->setToolWindows({.histogram = &hist});
        showForm();
        giveSource(test::patternImage(80, 60, 3));
        int shown = 0;
        form->ShowModal = [&](QDialog&) {
            ++shown;
            return 0;
        };
        const QStringList thin{QStringLiteral("Габариты изображения\r\nменьше двух точек")};
        for (const QPoint& end : {QPoint(40, 12), QPoint(10, 40), QPoint(120, 30)}) {
            sink->warnings.clear();
            drag(QPoint(end.x() == 120 ? 79 : 10, 12), end);
            form->MMAutoCorr->trigger();
            QCOMPARE(shown, 0);
            QCOMPARE(sink->warnings, thin);
        }
        sink->warnings.clear();
        drag(QPoint(10, 12), QPoint(11, 13));
        form->MMAutoCorr->trigger();
        QCOMPARE(shown, 1);
        QVERIFY(sink->silent());
    }

    void histogramsWithFragmentShowTheFragment()
    {
        TFormGistogram hist(*ws, form.get());
        form->setToolWindows({.histogram = &hist});
        showForm();
        const QImage picture = test::patternImage(400, 300, 7);
        giveSource(picture);

        struct {
            int shown = 0;
            int mode = 0, tab = -1, fragW = 0, fragH = 0;
            QString caption, count;
            QImage box;
        } seen;
        form->ShowModal = [&](QDialog& d) {
            ++seen.shown;
            seen.mode = hist.GistogramMode;
            d.show();
            seen.tab = hist.PageControl1->currentIndex();
            seen.caption = hist.windowTitle();
            seen.count = hist.stTextNumAll->text();
            seen.fragW = hist.FragArr.empty() ? 0 : int(hist.FragArr.rowLength(0));
            seen.fragH = hist.FragArr.rowCount();
            // The picture without the cross over it.
            hist.crossHair()->Deactivate();
            seen.box = hist.ImgAcFrg->picture().copy();
            hist.crossHair()->Activate();
            d.hide();
            return 0;
        };

        // Without a fragment the window stays closed.
        form->MMAutoCorr->trigger();
        QCOMPARE(seen.shown, 0);
        QCOMPARE(form->statusText(3), QStringLiteral(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ НЕБОЛЬШОЙ ФРАГМЕНТ ИЗОБРАЖЕНИЯ"));
        QVERIFY(form->lampBlinking());

        // Larger than the fragment image: cut to 287 x 167 from its start.
        drag(QPoint(10, 20), QPoint(390, 290));
        form->MMAutoCorr->trigger();
        QCOMPARE(seen.shown, 1);
        QCOMPARE(seen.mode, 2);
        QCOMPARE(seen.tab, 2);
        QCOMPARE(seen.caption, QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        QCOMPARE(seen.count, QStringLiteral("120000"));
        QCOMPARE(seen.fragW, 287);
        QCOMPARE(seen.fragH, 167);
        QCOMPARE(seen.box, picture.copy(10, 20, 287, 167));
        QVERIFY(hist.FragArr.empty());
        QVERIFY(!form->fragment().selected());
        QVERIFY(!form->lampBlinking());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        checkInvariant();

        // A small fragment sits at the top-left corner on a blank box.
        drag(QPoint(30, 40), QPoint(49, 49));
        form->MMAutoCorr->trigger();
        QCOMPARE(seen.shown, 2);
        QCOMPARE(seen.fragW, 20);
        QCOMPARE(seen.fragH, 10);
        QCOMPARE(seen.box.copy(0, 0, 20, 10), picture.copy(30, 40, 20, 10));
        const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
        for (QPoint p : {QPoint(20, 0), QPoint(0, 10), QPoint(286, 166), QPoint(100, 50)})
            QCOMPARE(seen.box.pixelColor(p), face);
        QVERIFY(sink->silent());
    }
};

QTEST_MAIN(TstMainWindowTools)
#include "tst_main_window_tools.moc"

// The main window's pictures and image commands: scrolling and focus,
// selection, crop, copy, clear, grey, the rotation bar and the quick zoom.
#include "core/engine/bmp_file.h"
#include "core/engine/geometry.h"
#include "main_window_fixture.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

using namespace ormica;

class TstMainWindowEdit : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void viewOptionsAndTheirTexts()
    {
        QVERIFY(form->MMWheelV->isChecked());
        QVERIFY(form->MMRulerSmoothly->isChecked());
        QVERIFY(form->MMShowHint->isChecked());
        QVERIFY(!form->MMPRotate->isChecked());

        form->MMShowHint->trigger();
        QVERIFY(!form->MMShowHint->isChecked());
        QCOMPARE(form->statusText(3), QStringLiteral(" Всплывающие подсказки отключены"));
        showForm();
        auto askHint = [&] {
            QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), form->sttxtAttention->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(form->sttxtAttention, &help);
        };
        askHint();
        QVERIFY(!QToolTip::isVisible());
        form->MMShowHint->trigger();
        QCOMPARE(form->statusText(3), QStringLiteral(" Всплывающие подсказки включены"));
        askHint();
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Индикатор внимания"));
        QToolTip::hideText();

        form->MMRulerSmoothly->trigger();
        QVERIFY(!form->ScrollBoxSrcImg->verticalScrollBar()->hasTracking());
        QVERIFY(!form->ScrollBoxTrgImg->horizontalScrollBar()->hasTracking());
        form->MMRulerSmoothly->trigger();
        QVERIFY(form->ScrollBoxTrgImg->horizontalScrollBar()->hasTracking());
    }

    void wheelScrollsAsTheViewOptionSays()
    {
        showForm();
        giveSource(test::patternImage(3000, 3000, 1));
        QScrollBar* v = form->ScrollBoxSrcImg->verticalScrollBar();
        QScrollBar* h = form->ScrollBoxSrcImg->horizontalScrollBar();
        QTRY_VERIFY(v->maximum() > 0);
        v->setValue(500);
        h->setValue(500);
        auto turn = [&](int delta) {
            QWheelEvent wheel(QPointF(10, 10), form->ScrollBoxSrcImg->viewport()->mapToGlobal(QPointF(10, 10)),
                              QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(form->ScrollBoxSrcImg->viewport(), &wheel);
        };
        turn(120);  // away from the user: up
        QCOMPARE(v->value(), 500 - 3 * v->singleStep());
        turn(-240);
        QCOMPARE(v->value(), 500);
        turn(0);
        QCOMPARE(v->value(), 500);
        form->MMWheelV->trigger();
        turn(-120);
        QCOMPARE(h->value(), 500 + 3 * h->singleStep());
        QCOMPARE(v->value(), 500);
    }

    void focusFollowsTheMouseOverAPicture()
    {
        showForm();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->MMPRotate->trigger();
        form->EdiAngle->setFocus();
        QTRY_VERIFY(form->EdiAngle->hasFocus());
        QTest::mouseMove(form->ImageMain, QPoint(20, 20));
        QTRY_VERIFY(form->ScrollBoxSrcImg->hasFocus());
    }

    void selectionReadOutsAndCropping()
    {
        showForm();
        giveSource(test::patternImage(260, 200, 9));
        drag(QPoint(200, 150), QPoint(50, 40));
        const TFragRect f = form->fragment();
        QCOMPARE(f.StartX, 50);
        QCOMPARE(f.StartY, 40);
        QCOMPARE(f.EndX, 200);
        QCOMPARE(f.EndY, 150);
        const QColor c = test::patternImage(260, 200, 9).pixelColor(200, 150);
        QCOMPARE(form->statusText(1),
                 QStringLiteral(" Старт XY : (200, 150)  RGB(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()));
        QCOMPARE(form->statusText(3), QStringLiteral(" Финиш  XY : (50, 40)"));
        // The rotation panel is hidden: the centre stays at the origin.
        QCOMPARE(form->sttxtRotationCentre->text(), QStringLiteral(" R, C = 0, 0"));

        form->MMCroppingClick();
        QCOMPARE(ws->TrgArr.width(), 151);
        QCOMPARE(ws->TrgArr.height(), 111);
        QCOMPARE(form->TargetImage->picture(), test::patternImage(260, 200, 9).copy(50, 40, 151, 111));
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QVERIFY(!form->fragment().selected());  // collapsed
        checkInvariant();

        form->MMCroppingClick();
        QCOMPARE(form->statusText(3), QStringLiteral(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ СОХРАНЯЕМУЮ ОБРЕЗКОЙ ОБЛАСТЬ"));
        QVERIFY(!form->lampBlinking());
    }

    void clickWithoutMoveLeavesNoFragment()
    {
        showForm();
        giveSource(test::patternImage(100, 80, 2));
        QTest::mouseClick(form->ImageMain, Qt::LeftButton, {}, QPoint(30, 30));
        form->MMCroppingClick();
        QCOMPARE(form->statusText(3), QStringLiteral(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ СОХРАНЯЕМУЮ ОБРЕЗКОЙ ОБЛАСТЬ"));
        QVERIFY(ws->TrgArr.empty());
    }

    void rotationPanelSetsTheCentreAndRotates()
    {
        showForm();
        giveSource(test::patternImage(120, 90, 4));
        form->MMPRotate->trigger();
        QVERIFY(form->MMPRotate->isChecked());
        QVERIFY(!form->PanelRotate->isHidden());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QTest::mouseClick(form->ImageMain, Qt::LeftButton, {}, QPoint(70, 40));
        QCOMPARE(form->rotationRow(), 40);
        QCOMPARE(form->rotationCol(), 70);
        QCOMPARE(form->sttxtRotationCentre->text(), QStringLiteral(" R, C = 40, 70"));

        colors->answer = RGBToColor(10, 20, 30);
        QTest::mouseClick(form->sttxtTBRotColor, Qt::LeftButton);
        QCOMPARE(colors->asked.size(), std::size_t(1));
        QCOMPARE(form->rotationFill(), RGBToColor(10, 20, 30));

        form->EdiAngle->setText(QStringLiteral("30"));
        form->TBRRunAngle->click();
        TImgTabBGR expected;
        RotateForTabBGR(ws->SrcArr, 40, 70, nullptr, expected, RGBToColor(10, 20, 30), 30.0L);
        QVERIFY(ws->TrgArr.sameAs(expected));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        checkInvariant();

        form->TBRMirrorLR->click();
        MirrorToTrgArr(ws->SrcArr, 'H', expected, nullptr);
        QVERIFY(ws->TrgArr.sameAs(expected));
        form->TBRRot90Plus->click();
        QCOMPARE(form->TargetImage->picture().size(), QSize(90, 120));
        checkInvariant();
        form->MMPRotate->trigger();
        QVERIFY(form->PanelRotate->isHidden());
    }

    void fillColourBoxShowsTheChosenColour()
    {
        showForm();
        form->MMPRotate->trigger();
        auto shown = [&] {
            const QImage box = form->sttxtTBRotColor->grab().toImage();
            return box.pixelColor(box.width() / 2, box.height() / 2);
        };
        const QColor before = shown();
        colors->answer = RGBToColor(0xff, 0, 0);
        QTest::mouseClick(form->sttxtTBRotColor, Qt::LeftButton);
        QCOMPARE(shown(), QColor(0xff, 0, 0));
        QCOMPARE(form->rotationFill(), RGBToColor(0xff, 0, 0));

        // Cancel keeps both the colour and the box.
        colors->answer.reset();
        QTest::mouseClick(form->sttxtTBRotColor, Qt::LeftButton);
        QCOMPARE(colors->asked.back(), RGBToColor(0xff, 0, 0));
        QCOMPARE(shown(), QColor(0xff, 0, 0));
        QVERIFY(before != QColor(0xff, 0, 0));
    }

    void rotationBarWrapsToStayWithinTheWindow()
    {
        showForm();
        form->MMPRotate->trigger();
        const QList<QWidget*> controls = {
            form->TBRMirrorTD, form->TBRMirrorLR, form->TBRRot90Minus,       form->TBRRot90Plus,
            form->EdiAngle,    form->TBRRunAngle, form->sttxtRotationCentre, form->sttxtTBRotColor,
            form->TBRZoomPlus, form->TrBarZoom,   form->sttxtZoomValue,      form->TBRZoomForm,
        };
        auto rectIn = [&](QWidget* w) { return QRect(w->mapTo(form.get(), QPoint(0, 0)), w->size()); };
        auto allReachable = [&] {
            QRect panel = rectIn(form->PanelRotate);
            for (QWidget* w : controls) {
                const QRect r = rectIn(w);
                if (!w->isVisible() || !form->rect().contains(r) || !panel.contains(r))
                    return false;
            }
            // Nothing of the bar overlaps the pages below it.
            return panel.bottom() < rectIn(form->PageControl1).top();
        };

        // Wide: one row of 33 pixels.
        QCOMPARE(form->width(), 871);
        QTRY_VERIFY(allReachable());
        QCOMPARE(form->PanelRotate->height(), 33);
        QCOMPARE(rectIn(form->TBRMirrorTD).center().y(), rectIn(form->TBRZoomForm).center().y());

        // At the smallest size the bar takes more rows, and keeps every control.
        form->resize(form->minimumSize());
        QTRY_COMPARE(form->size(), QSize(480, 350));
        QTRY_VERIFY(allReachable());
        QVERIFY(form->PanelRotate->height() > 33);
        for (QWidget* w : {static_cast<QWidget*>(form->sttxtTBRotColor), static_cast<QWidget*>(form->TBRZoomForm)}) {
            // The widget that answers a click at the control's centre is the control.
            const QPoint centre = w->mapTo(form.get(), w->rect().center());
            QCOMPARE(form->childAt(centre), w);
        }

        form->resize(700, 500);
        QTRY_COMPARE(form->width(), 700);
        QTRY_VERIFY(allReachable());
    }

    void angleInputIsChecked_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rotates");
        QTest::addColumn<int>("warnings");
        QTest::newRow("90") << QStringLiteral("90") << false << 1;
        QTest::newRow("-89,95") << QStringLiteral("-89,95") << false << 1;
        QTest::newRow("89,9") << QStringLiteral("89,9") << true << 0;
        QTest::newRow("-89,9") << QStringLiteral("-89,9") << true << 0;
        QTest::newRow("0") << QStringLiteral("0") << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("point under a comma locale") << QStringLiteral("12.5") << false << 1;
    }

    void angleInputIsChecked()
    {
        QFETCH(QString, text);
        QFETCH(bool, rotates);
        QFETCH(int, warnings);
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        giveSource(test::patternImage(40, 30, 1));
        form->EdiAngle->setText(text);
        form->TBRRunAngle->click();
        QLocale::setDefault(saved);
        QCOMPARE(!ws->TrgArr.empty(), rotates);
        QCOMPARE(int(sink->warnings.size()), warnings);
        if (warnings && text == QStringLiteral("90"))
            QCOMPARE(sink->warnings[0], QStringLiteral(" Допустимый угол поворота в градусах должен \r\n"
                                                       " определяться в границах (-89,9 .. 89,9)\r\n"
                                                       " Операция вращения отменяется ... "));
    }

    void zoomReadOutAndQuickZoom()
    {
        form->TrBarZoom->setValue(10);
        QCOMPARE(form->sttxtZoomValue->text(), QStringLiteral("10 %"));
        form->TrBarZoom->setValue(200);
        QCOMPARE(form->sttxtZoomValue->text(), QStringLiteral("200 %"));
        QTest::mouseClick(form->sttxtZoomValue, Qt::LeftButton);
        QCOMPARE(form->TrBarZoom->value(), 100);
        QCOMPARE(form->sttxtZoomValue->text(), QStringLiteral("100 %"));

        showForm();
        giveSource(test::patternImage(80, 60, 3));
        drag(QPoint(10, 10), QPoint(40, 30));  // a frame on the picture must not be scaled into it
        form->TrBarZoom->setValue(50);
        form->TBRZoomPlus->click();
        QCOMPARE(form->ImageMain->picture().size(), QSize(40, 30));
        QVERIFY(test::arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()));
        QCOMPARE(form->fragment().EndX, 40);  // the rectangle is kept
        QCOMPARE(form->PageControl1->currentIndex(), 0);
    }

    void copyingBetweenImagesNamesTheCopyNoName()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("a.bmp"));
        QVERIFY(WriteBmpFile(test::patternImage(25, 15, 2), file));
        dialogs->choices.push_back(TFileChoice{file, 2});
        form->MMLoadToSrcClick();
        form->MMCopySrcToDest->trigger();
        QCOMPARE(form->TargetImage->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QVERIFY(ws->TrgArr.sameAs(ws->SrcArr));
        checkInvariant();

        form->MMMinSrc->trigger();
        QCOMPARE(form->ImageMain->picture().size(), QSize(2, 2));
        QVERIFY(ws->SrcArr.empty());
        QCOMPARE(form->ImageMain->imageDesc()->FileName, QStringLiteral("NoName"));
        form->MMCopyDestToSrc->trigger();
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QVERIFY(ws->SrcArr.sameAs(ws->TrgArr));
        checkInvariant();

        // An empty source leaves the target array as it was.
        form->MMMinSrc->trigger();
        form->MMCopySrcToDest->trigger();
        QCOMPARE(ws->TrgArr.width(), 25);
        form->MMMinDest->trigger();
        QVERIFY(ws->TrgArr.empty());
        QCOMPARE(form->TargetImage->picture().size(), QSize(2, 2));
    }

    void greyWorksOnTheActiveTab()
    {
        showForm();
        giveSource(test::patternImage(20, 10, 3));
        form->MMCopySrcToDest->trigger();  // tab 1 now
        form->MMToGray->trigger();
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        const QImage& grey = form->TargetImage->picture();
        QCOMPARE(grey.pixelColor(3, 3).red(), grey.pixelColor(3, 3).blue());
        QVERIFY(form->ImageMain->picture().pixelColor(3, 3).red() !=
                form->ImageMain->picture().pixelColor(3, 3).blue());
        checkInvariant();
        form->ShowPage(0);
        drag(QPoint(1, 1), QPoint(15, 8));
        form->MMToGray->trigger();
        checkInvariant();
        QVERIFY(test::arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()));
    }

    void invariantHoldsAfterEveryCommand()
    {
        showForm();
        giveSource(test::patternImage(64, 48, 12));
        form->MMPRotate->trigger();
        const std::vector<std::pair<const char*, std::function<void()>>> commands = {
            {"select", [&] { drag(QPoint(5, 5), QPoint(40, 30)); }},
            {"mirror V", [&] { form->TBRMirrorTD->click(); }},
            {"mirror H", [&] { form->TBRMirrorLR->click(); }},
            {"rot90 -", [&] { form->TBRRot90Minus->click(); }},
            {"rot90 +", [&] { form->TBRRot90Plus->click(); }},
            {"angle",
             [&] {
                 form->EdiAngle->setText(QStringLiteral("15"));
                 form->TBRRunAngle->click();
             }},
            {"zoom",
             [&] {
                 form->TrBarZoom->setValue(150);
                 form->TBRZoomPlus->click();
             }},
            {"select again", [&] { drag(QPoint(10, 10), QPoint(50, 40)); }},
            {"crop", [&] { form->MMCropping->trigger(); }},
            {"copy", [&] { form->MMCopySrcToDest->trigger(); }},
            {"grey target", [&] { form->MMToGray->trigger(); }},
            {"back", [&] { form->MMCopyDestToSrc->trigger(); }},
            {"clip", [&] { form->MMClipCopySRC->trigger(); }},
            {"paste", [&] { form->MMClipPasteSRC->trigger(); }},
            {"clear target", [&] { form->MMMinDest->trigger(); }},
        };
        for (const auto& [name, run] : commands) {
            run();
            form->regionSelector()->ShowFrame(false);
            QVERIFY2(test::arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()), name);
            // A cleared image keeps an empty array beside its blank picture.
            if (!ws->TrgArr.empty())
                QVERIFY2(test::arrayHoldsPicture(ws->TrgArr, form->TargetImage->picture()), name);
            form->regionSelector()->ShowFrame(true);
        }
    }
};

QTEST_MAIN(TstMainWindowEdit)
#include "tst_main_window_edit.moc"

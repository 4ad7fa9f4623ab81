#include "core/engine/img_service.h"
#include "core/filter/filter_tab.h"
#include "core/filter/frequency_response.h"
#include "core/filter/popular_filters.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/magnifier.h"
#include "ui/explain/explain_panel.h"
#include "ui/filter/filter_window.h"
#include "ui/filter/response_window.h"
#include "window_test.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

using namespace ormica;

namespace {

QString cell(QTableWidget* grid, int row, int column)
{
    return grid->item(row, column)->text();
}

// The grid shows the kernel: each weight in its cell, 0 as an empty one.
bool gridShows(QTableWidget* grid, const TFilterKernel& k)
{
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 7; ++c)
            if (cell(grid, r, c) != (k.at(r, c) == 0 ? QString() : QString::number(k.at(r, c))))
                return false;
    return true;
}

// How an entry is finished.
enum Finish { ByEnter, ByLeaving, ByRunning };

TImgTabColor colorOf(const TImgTabBGR& arr)
{
    TImgTabColor c;
    TabBRGtoTabColor(arr, c);
    return c;
}

}  // namespace

class TstFilterWindow : public QObject, protected test::TWindowTest {
    Q_OBJECT

    // Types into a cell and leaves it, as the in-cell editor does.
    void commit(int row, int column, const QString& text)
    {
        form->SGridFilter->setCurrentCell(row, column);
        form->SGridFilter->item(row, column)->setText(text);
        form->SGridFilter->setCurrentCell(0, 0);
        QCoreApplication::processEvents();
    }
    void manual()
    {
        form->SpBttNotAuto->click();
        QVERIFY(form->SGridFilter->isEnabled());
    }

private slots:
    void init()
    {
        start();
        form = std::make_unique<TFormDFilter>(*ws);
    }
    void cleanup()
    {
        form.reset();
        stop();
    }

    void opensWithTheUnitKernelAndTheRegulators()
    {
        TFilterKernel unit;
        unit.centre() = 100;
        QVERIFY(gridShows(form->SGridFilter, unit));
        QCOMPARE(form->EdFScale->text(), QStringLiteral("100"));
        QVERIFY(form->SpBttAuto->isChecked());
        QVERIFY(!form->SGridFilter->isEnabled());
        QVERIFY(!form->EdFScale->isEnabled());
        QVERIFY(form->TB1RunDest->isEnabled());
        QCOMPARE(form->StTxtMessage->text(), QStringLiteral("Управление регуляторами"));
        QCOMPARE(form->SGridFilter->currentRow(), 3);
        QCOMPARE(form->SGridFilter->size(), QSize(7 * 26 + 2, 7 * 26 + 2));
        // No database window yet.
        QVERIFY(!form->TB1RunDB->isEnabled());
        QVERIFY(!form->MMGoToDB->isEnabled());

        // No origin yet: the focus does nothing.
        form->TrackBarContrast->setValue(6);
        QCOMPARE(ws->WorkingFilter.Kernel, unit);
        QCOMPARE(ws->WorkingFilter.Scale, 100);
        form->TrackBarLight->setValue(10);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("55"));
        QCOMPARE(ws->WorkingFilter.Scale, 55);
        form->TrackBarLight->setValue(-10);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("145"));
        QCOMPARE(ws->WorkingFilter.Kernel, unit);
        QVERIFY(sink->silent());
    }

    // Every weight a kernel can hold shows whole in its cell and in the cell's
    // editor, the rightmost column included; small ones keep the 24-pixel cells.
    void weightsShowWhole()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTableWidget* grid = form->SGridFilter;
        QCOMPARE(grid->size(), QSize(7 * 26 + 2, 7 * 26 + 2));
        const QFontMetrics fm(grid->font());
        const auto allShowWhole = [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            if (!grid->parentWidget()->contentsRect().contains(grid->geometry()))
                return false;
            for (int r = 0; r < 7; ++r)
                for (int c = 0; c < 7; ++c) {
                    const QRect cellRect = grid->visualItemRect(grid->item(r, c));
                    if (!grid->viewport()->rect().contains(cellRect) ||
                        fm.horizontalAdvance(cell(grid, r, c)) > cellRect.width() - 1)
                        return false;
                }
            return true;
        };
        TFilterKernel issue;  // "-1000" and "12345" side by side
        issue.at(3, 2) = -1000;
        issue.at(3, 3) = 12345;
        TFilterKernel corner;  // the longest weights, in the last column
        corner.at(0, 6) = -4210000;
        corner.at(6, 6) = 4210001;
        TFilterKernel largest;
        largest.at(3, 3) = 8421504;
        TFilterKernel spread;  // a long weight in every column: the panel grows
        for (int c = 0; c < 7; ++c)
            spread.at(c, c) = c % 2 ? -1100000 : 1100000;
        for (const TFilterKernel& k : {PopFilterH1, issue, corner, largest, spread}) {
            form->LoadFilter(k);
            QVERIFY(gridShows(grid, k));
            QVERIFY(allShowWhole());
        }
        form->LoadFilter(PopFilterH1);
        QCOMPARE(grid->width(), 7 * 26 + 2);

        // A weight typed by hand widens its column as well.
        manual();
        commit(2, 6, QStringLiteral("1234567"));
        QCOMPARE(ws->WorkingFilter.Kernel.at(2, 6), 1234567);
        QVERIFY(allShowWhole());

        // The editor of the last column shows the whole text, its start
        // included while the cursor stands at the end.
        grid->setFocus();
        grid->setCurrentCell(0, 6);
        grid->editItem(grid->item(0, 6));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("-8421504"));
        editor->setCursorPosition(int(editor->text().size()));
        editor->repaint();
        QVERIFY(grid->viewport()->rect().contains(editor->geometry()));
        QCOMPARE(editor->cursorPositionAt(QPoint(editor->contentsRect().left() + 2, editor->height() / 2)), 0);
        QVERIFY(sink->errors.isEmpty());
    }

    // The ready-made kernels under their type and width, each loading its own.
    void filtersMenuOffersTheReadyMadeKernels()
    {
        QMenu* filters = form->MainMenu->actions().at(1)->menu();
        QCOMPARE(form->MainMenu->actions().at(1)->text(), QStringLiteral("Фильтры"));
        const QList<QAction*> items = filters->actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[2], form->MMGoToDB);
        const QStringList widths{QStringLiteral("Широкий"), QStringLiteral("Нормальный"), QStringLiteral("Узкий")};
        const struct {
            QString type;
            QAction* actions[3];
            const TFilterKernel* kernels[3];
        } menus[] = {
            {QStringLiteral("Обостряющий"),
             {form->MMPopFilterH1, form->MMPopFilterH2, form->MMPopFilterH3},
             {&PopFilterH1, &PopFilterH2, &PopFilterH3}},
            {QStringLiteral("Сглаживающий"),
             {form->MMPopFilterL1, form->MMPopFilterL2, form->MMPopFilterL3},
             {&PopFilterL1, &PopFilterL2, &PopFilterL3}},
        };
        for (int m = 0; m < 2; ++m) {
            QCOMPARE(items[m]->text(), menus[m].type);
            const QList<QAction*> sub = items[m]->menu()->actions();
            QCOMPARE(sub.size(), 3);
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(sub[i], menus[m].actions[i]);
                QCOMPARE(sub[i]->text(), widths[i]);
                sub[i]->trigger();
                QVERIFY(gridShows(form->SGridFilter, *menus[m].kernels[i]));
            }
        }
    }

    void loadingAKernelResetsTheRegulators()
    {
        form->TrackBarContrast->setValue(7);
        form->MMPopFilterL3->trigger();
        QVERIFY(gridShows(form->SGridFilter, PopFilterL3));
        QCOMPARE(form->TrackBarContrast->value(), 0);
        QCOMPARE(form->TrackBarLight->value(), 0);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("6"));
        QCOMPARE(form->Origin, (TRegulatorOrigin{2, 6}));

        form->TrackBarLight->setValue(3);
        form->TrackBarContrast->setValue(10);
        QCOMPARE(ws->WorkingFilter.Kernel.centre(), -3);
        QCOMPARE(cell(form->SGridFilter, 3, 3), QStringLiteral("-3"));
        QCOMPARE(ws->WorkingFilter.Scale, 1);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("1"));
        QCOMPARE(form->TrackBarLight->value(), 0);

        form->TB1FPlus->click();
        QVERIFY(gridShows(form->SGridFilter, PopFilterH1));
        QCOMPARE(ws->WorkingFilter.Scale, 280);
        QVERIFY(sink->silent());
    }

    void manualCommitsAndRefusals()
    {
        manual();
        QVERIFY(!form->TB1RunDest->isEnabled());
        QVERIFY(!form->MMRunDest->isEnabled());
        QVERIFY(!form->TrackBarLight->isEnabled());
        QCOMPARE(form->StTxtMessage->text(), QStringLiteral("Ручное редактирование фильтра"));

        commit(3, 3, QStringLiteral("5"));
        QCOMPARE(ws->WorkingFilter.Kernel.centre(), 5);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("5"));
        QCOMPARE(form->Origin, (TRegulatorOrigin{5, 5}));

        // Letters: refused, the old weight comes back and the cursor too.
        commit(1, 2, QStringLiteral("ab"));
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral(" Введенный Вами текст : ab\r\n Не является натуральным числом.")});
        QCOMPARE(cell(form->SGridFilter, 1, 2), QString());
        QCOMPARE(form->SGridFilter->currentRow(), 1);
        QCOMPARE(form->SGridFilter->currentColumn(), 2);

        // A lone minus is a 0 and keeps its text.
        commit(0, 1, QStringLiteral("-"));
        QCOMPARE(cell(form->SGridFilter, 0, 1), QStringLiteral("-"));
        QCOMPARE(ws->WorkingFilter.Kernel.at(0, 1), 0);

        sink->warnings.clear();
        form->SpBttAuto->click();
        form->MMPopFilterL3->trigger();
        manual();
        commit(3, 3, QStringLiteral("-200"));
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral(
                     "Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено.")});
        QCOMPARE(ws->WorkingFilter.Kernel.centre(), 2);
        QCOMPARE(cell(form->SGridFilter, 3, 3), QStringLiteral("2"));
        QCOMPARE(ws->WorkingFilter.Scale, 6);

        // A weight the convolution could not sum without overflow.
        commit(0, 0, QStringLiteral("2000000000"));
        QCOMPARE(sink->errors.size(), 1);
        QCOMPARE(ws->WorkingFilter.Kernel.at(0, 0), 0);
        QCOMPARE(cell(form->SGridFilter, 0, 0), QString());
    }

    // The scale entry is read when it is finished, never on a partial number:
    // emptied and typed again, it only turns pink while it cannot be taken.
    void scaleEntryIsTakenWhenFinished_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("finish");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<int>("scale");
        const QString restored = QStringLiteral("\r\n Прежнее значение будет восстановлено.");
        QTest::newRow("Enter") << "30" << int(ByEnter) << QString() << 30;
        QTest::newRow("leaving") << "30" << int(ByLeaving) << QString() << 30;
        QTest::newRow("run") << "30" << int(ByRunning) << QString() << 30;
        QTest::newRow("empty, Enter") << "" << int(ByEnter) << ScaleBelowOneText() << 100;
        QTest::newRow("letters, leaving")
            << "x1" << int(ByLeaving) << NotANumberText(QStringLiteral("x1")) + restored << 100;
        QTest::newRow("zero, run") << "0" << int(ByRunning) << ScaleBelowOneText() << 100;
    }
    void scaleEntryIsTakenWhenFinished()
    {
        QFETCH(QString, typed);
        QFETCH(int, finish);
        QFETCH(QString, warning);
        QFETCH(int, scale);
        form->TestSrcArr = test::arrayOf(test::patternImage(12, 9));
        const QSize notRun = form->ImgTestTarget->picture().size();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        manual();
        QLineEdit* edit = form->EdFScale;
        const auto pink = [&] {
            return edit->palette().color(QPalette::Base) != form->palette().color(QPalette::Base);
        };
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QVERIFY(sink->silent());
        QVERIFY(pink());
        QTest::keyClicks(edit, typed);
        QCOMPARE(pink(), !warning.isEmpty());
        QVERIFY(sink->silent());
        QCOMPARE(ws->WorkingFilter.Scale, 100);

        if (finish == ByEnter)
            QTest::keyClick(edit, Qt::Key_Return);
        else if (finish == ByLeaving)
            form->SGridFilter->setFocus();
        else
            form->TB1RunFrag->click();
        QCOMPARE(sink->warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
        QCOMPARE(ws->WorkingFilter.Scale, scale);
        QCOMPARE(edit->text(), QString::number(scale));
        QVERIFY(!pink());
        // A refused entry stops the run; an accepted one is what it runs with.
        if (finish == ByRunning)
            QCOMPARE(form->ImgTestTarget->picture().size(), warning.isEmpty() ? QSize(12, 9) : notRun);
        // A typed scale leaves the origin alone.
        QCOMPARE(form->Origin, TRegulatorOrigin{});
    }

    void fragmentRunsInBothModes()
    {
        const QImage picture = test::patternImage(12, 9);
        form->TestSrcArr = test::arrayOf(picture);
        form->MMPopFilterH3->trigger();
        form->TB1RunFrag->click();
        TImgTabColor expected;
        QVERIFY(FilterTabColor(PopFilterH3, 1, colorOf(form->TestSrcArr), expected, nullptr));
        TImgTabBGR expectedBGR;
        TabColorToTabBRG(expected, expectedBGR);
        QVERIFY(test::arrayHoldsPicture(expectedBGR, form->ImgTestTarget->picture()));
        QCOMPARE(form->ImgTestTarget->picture().size(), QSize(12, 9));

        manual();
        form->MMRunFrag->trigger();
        QVERIFY(test::arrayHoldsPicture(expectedBGR, form->ImgTestTarget->picture()));
        QVERIFY(sink->silent());

        // Too small a fragment: a warning, and the last result stays.
        form->TestSrcArr = test::arrayOf(test::patternImage(3, 3));
        form->TB1RunFrag->click();
        QCOMPARE(sink->warnings.size(), 1);
        QCOMPARE(form->ImgTestTarget->picture().size(), QSize(12, 9));
    }

    // The panes show the fragment and its result, zoomed and scrolled together;
    // a click on a pixel of the result is handed on.
    void fragmentPanesAreLinkedMagnifiers()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(40, 30));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QList<QPoint> clicked;
        form->FragmentPixelClicked = [&](QPoint pixel) { clicked.append(pixel); };
        form->TakeFragment(TRect{2, 3, 21, 17}, nullptr);
        QCOMPARE(form->MagTestSource->image(), form->ImgTestSource->picture());
        QTest::mouseClick(form->MagTestSource->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(clicked.isEmpty());  // nothing filtered yet
        form->TB1RunFrag->click();
        QCOMPARE(form->MagTestTarget->image(), form->ImgTestTarget->picture());

        form->MagTestSource->setZoom(32);
        QCOMPARE(form->MagTestTarget->zoom(), 32);
        form->MagTestTarget->horizontalScrollBar()->setValue(70);
        QCOMPARE(form->MagTestSource->horizontalScrollBar()->value(), 70);
        QTest::mouseClick(form->MagTestTarget->viewport(), Qt::LeftButton, {}, QPoint(40, 70));
        QTest::mouseClick(form->MagTestSource->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked, (QList<QPoint>{{(40 + 70) / 32, 70 / 32}, {(5 + 70) / 32, 5 / 32}}));

        // Left to itself, the window explains the pixel clicked, border and interior alike.
        form->FragmentPixelClicked = nullptr;
        for (const QPoint p : {QPoint(0, 0), QPoint(9, 7)}) {
            form->ExplainFragmentPixel(p);
            QVERIFY(form->WindowExplain->isVisible());
            const TExplanation& e = form->PanelExplain->explanation();
            QCOMPARE(QPoint(e.X, e.Y), p);
            QVERIFY2(e.Matches(), qPrintable(ExplanationText(e)));
        }
        QVERIFY(form->PanelExplain->explanation().Neighbourhood.has_value());
    }

    void wholeImageRunWritesTheTargetAndCloses()
    {
        const QImage picture = test::patternImage(40, 30, 7);
        ws->SrcArr = test::arrayOf(picture);
        form->MMPopFilterL2->trigger();
        form->show();
        QSignalSpy written(form.get(), &TFormDFilter::targetWritten);
        form->TB1RunDest->click();
        QCOMPARE(written.count(), 1);
        QVERIFY(!form->isVisible());
        TImgTabColor expected;
        QVERIFY(FilterTabColor(PopFilterL2, 43, colorOf(ws->SrcArr), expected, nullptr));
        TImgTabBGR expectedBGR;
        TabColorToTabBRG(expected, expectedBGR);
        QVERIFY(test::arrayHoldsPicture(expectedBGR, ws->target.picture()));
        QVERIFY(test::arrayHoldsPicture(ws->TrgArr, ws->target.picture()));
        // Closing shrinks the test pictures and lets the fragment go.
        QCOMPARE(form->ImgTestSource->picture().size(), QSize(2, 2));
        QVERIFY(form->TestSrcArr.empty());
        QVERIFY(sink->silent());
    }

    void refusedRunsKeepTheWindowAndTheTarget()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(3, 20));
        ws->TrgArr = test::arrayOf(test::patternImage(5, 5));
        form->show();
        QSignalSpy written(form.get(), &TFormDFilter::targetWritten);
        form->TB1RunDest->click();
        QCOMPARE(written.count(), 0);
        QVERIFY(form->isVisible());
        QCOMPARE(ws->TrgArr.rowCount(), 5);
        QCOMPARE(sink->warnings.size(), 1);

        // A scale below 1 (a kernel summing to 0 keeps its sum as the scale).
        TFilterKernel zero;
        zero.at(3, 2) = -1;
        zero.at(3, 4) = 1;
        form->LoadFilter(zero);
        QCOMPARE(ws->WorkingFilter.Scale, 0);
        sink->warnings.clear();
        form->TB1RunDest->click();
        form->TB1RunFrag->click();
        QCOMPARE(sink->warnings, (QStringList{ScaleBelowOneRunText(), ScaleBelowOneRunText()}));
        QVERIFY(form->isVisible());
        QCOMPARE(written.count(), 0);
    }

    void databaseHandsOverAFilter()
    {
        int shown = 0;
        form->TrackBarContrast->setValue(4);
        form->setShowDatabase([&]() -> std::optional<TFilterData> {
            ++shown;
            // The database hands over the weights, the scale and the type.
            return TFilterData{PopFilterH2, 3, 2};
        });
        QVERIFY(form->TB1RunDB->isEnabled());
        form->TB1RunDB->click();
        QCOMPARE(shown, 1);
        QVERIFY(gridShows(form->SGridFilter, PopFilterH2));
        QCOMPARE(ws->WorkingFilter.Scale, 16);
        QCOMPARE(ws->WorkingFilter.Type, 2);
        QCOMPARE(form->TrackBarContrast->value(), 0);

        // Closed without a choice: nothing changes.
        form->setShowDatabase([&]() -> std::optional<TFilterData> {
            ++shown;
            return std::nullopt;
        });
        form->MMGoToDB->trigger();
        QCOMPARE(shown, 2);
        QCOMPARE(ws->WorkingFilter.Scale, 16);

        // A filter whose weights are refused changes nothing either, and the
        // filter shown is the one that runs.
        const TFilterData before = ws->WorkingFilter;
        const TRegulatorOrigin origin = form->Origin;
        form->setShowDatabase([&]() -> std::optional<TFilterData> {
            TFilterKernel huge = PopFilterL2;
            huge.centre() = 9000000;
            return TFilterData{huge, 9000027, 3};
        });
        form->TB1RunDB->click();
        QCOMPARE(sink->errors, QStringList{QStringLiteral("LoadFilter : ") + KernelTooLargeText()});
        QCOMPARE(ws->WorkingFilter, before);
        QCOMPARE(form->Origin, origin);
        QVERIFY(gridShows(form->SGridFilter, PopFilterH2));
        QCOMPARE(form->EdFScale->text(), QStringLiteral("16"));
        form->TestSrcArr = test::arrayOf(test::patternImage(12, 9));
        QVERIFY(form->RunOnFragment());
        QCOMPARE(sink->errors.size(), 1);
    }

    // The response window follows every change of the kernel and the scale.
    void responseFollowsTheFilter()
    {
        QVERIFY(!form->WindowResponse);
        form->TB1Response->click();
        QVERIFY(form->WindowResponse->isVisible());
        const auto shows = [&](const TFilterKernel& kernel, std::int32_t scale, const char* detail) {
            const QString gain = form->WindowResponse->StTxtGain->text();
            const QString prefix = QStringLiteral("Усиление яркости: ");
            QVERIFY2(gain.startsWith(prefix), qPrintable(gain));
            bool number = false;
            const double shown = QLocale().toDouble(gain.mid(prefix.size()), &number);
            QVERIFY(number);
            const double expected = FrequencyResponse(kernel, scale).Gain();
            QVERIFY2(std::abs(shown - expected) <= 1e-5 * expected, qPrintable(gain));
            QCOMPARE(form->WindowResponse->StTxtDetail->text(), QString::fromUtf8(detail));
        };
        const char* const unchanged = "Фильтр пропускает мелкие детали без изменений";
        const char* const smooths = "Фильтр подавляет мелкие детали (сглаживает)";
        const char* const sharpens = "Фильтр пропускает мелкие детали (усиливает)";
        shows(ws->WorkingFilter.Kernel, 100, unchanged);
        form->MMPopFilterL2->trigger();
        shows(PopFilterL2, 43, smooths);
        form->TrackBarLight->setValue(5);
        QCOMPARE_NE(ws->WorkingFilter.Scale, 43);
        shows(PopFilterL2, ws->WorkingFilter.Scale, smooths);
        form->MMPopFilterH2->trigger();
        shows(PopFilterH2, 16, sharpens);
        manual();
        form->EdFScale->setText(QStringLiteral("5"));
        emit form->EdFScale->returnPressed();
        QCOMPARE(ws->WorkingFilter.Scale, 5);
        shows(PopFilterH2, 5, sharpens);
        QVERIFY(sink->silent());

        // It goes with the filter window.
        form->show();
        form->MMExit->trigger();
        QVERIFY(!form->WindowResponse->isVisible());
    }

    void helpNamesTheBooks()
    {
        form->MMHelp->trigger();
        QCOMPARE(sink->informations.size(), 1);
        QVERIFY(sink->informations[0].startsWith(QStringLiteral("Все ответы Вы найдете в следующих книгах :")));
    }

private:
    std::unique_ptr<TFormDFilter> form;
};

QTEST_MAIN(TstFilterWindow)
#include "tst_filter_window.moc"

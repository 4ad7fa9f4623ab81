#include "app/main_data.h"
#include "engine/image_widget.h"
#include "engine/img_service.h"
#include "filter/filter_tab.h"
#include "filter/filter_window.h"
#include "filter/popular_filters.h"
#include "recorders.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
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

TImgTabColor colorOf(const TImgTabBGR& arr)
{
    TImgTabColor c;
    TabBRGtoTabColor(arr, c);
    return c;
}

}  // namespace

class TstFilterWindow : public QObject {
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
        MainData::SrcArr.clear();
        MainData::TrgArr.clear();
        WorkingFilter() = TFilterData();
        sink = std::make_unique<test::RecordingSink>();
        target = std::make_unique<TImageControl>(QSize(4, 4));
        MainData::TrgImageRef = target.get();
        form = std::make_unique<TFormDFilter>();
    }
    void cleanup()
    {
        form.reset();
        MainData::TrgImageRef = nullptr;
        target.reset();
        sink.reset();
        MainData::SrcArr.clear();
        MainData::TrgArr.clear();
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
        QCOMPARE(WorkingFilter().Kernel, unit);
        QCOMPARE(WorkingFilter().Scale, 100);
        form->TrackBarLight->setValue(10);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("55"));
        QCOMPARE(WorkingFilter().Scale, 55);
        form->TrackBarLight->setValue(-10);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("145"));
        QCOMPARE(WorkingFilter().Kernel, unit);
        QVERIFY(sink->silent());
    }

    void weightsShowWhole()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTableWidget* grid = form->SGridFilter;
        // The seven cells fill the control, and four characters fit a cell.
        QCOMPARE(grid->columnWidth(0) * 7 + 2 * grid->frameWidth(), grid->width());
        const QFontMetrics fm(grid->font());
        for (const QString& text : {QStringLiteral("-108"), QStringLiteral("500"), QStringLiteral("-20")})
            QVERIFY2(fm.horizontalAdvance(text) <= grid->columnWidth(0) - 2, qPrintable(text));
        QCOMPARE(grid->textElideMode(), Qt::ElideNone);
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
        QCOMPARE(WorkingFilter().Kernel.centre(), -3);
        QCOMPARE(cell(form->SGridFilter, 3, 3), QStringLiteral("-3"));
        QCOMPARE(WorkingFilter().Scale, 1);
        QCOMPARE(form->EdFScale->text(), QStringLiteral("1"));
        QCOMPARE(form->TrackBarLight->value(), 0);

        form->TB1FPlus->click();
        QVERIFY(gridShows(form->SGridFilter, PopFilterH1));
        QCOMPARE(WorkingFilter().Scale, 280);
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
        QCOMPARE(WorkingFilter().Kernel.centre(), 5);
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
        QCOMPARE(WorkingFilter().Kernel.at(0, 1), 0);

        sink->warnings.clear();
        form->SpBttAuto->click();
        form->MMPopFilterL3->trigger();
        manual();
        commit(3, 3, QStringLiteral("-200"));
        QCOMPARE(sink->warnings, QStringList{QStringLiteral(
                                     "Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено.")});
        QCOMPARE(WorkingFilter().Kernel.centre(), 2);
        QCOMPARE(cell(form->SGridFilter, 3, 3), QStringLiteral("2"));
        QCOMPARE(WorkingFilter().Scale, 6);

        // A weight the convolution could not sum without overflow.
        commit(0, 0, QStringLiteral("2000000000"));
        QCOMPARE(sink->errors.size(), 1);
        QCOMPARE(WorkingFilter().Kernel.at(0, 0), 0);
        QCOMPARE(cell(form->SGridFilter, 0, 0), QString());
    }

    void scaleEntry()
    {
        manual();
        form->EdFScale->setText(QStringLiteral("12"));
        QCOMPARE(WorkingFilter().Scale, 12);
        form->EdFScale->setText(QStringLiteral("x1"));
        QCOMPARE(sink->warnings.back(), QStringLiteral(" Введенный Вами текст : x1\r\n Не является натуральным числом.\r\n "
                                                       "Прежнее значение будет восстановлено."));
        QCOMPARE(form->EdFScale->text(), QStringLiteral("12"));
        form->EdFScale->setText(QStringLiteral("0"));
        QCOMPARE(sink->warnings.back(),
                 QStringLiteral("Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено."));
        QCOMPARE(form->EdFScale->text(), QStringLiteral("12"));
        QCOMPARE(WorkingFilter().Scale, 12);
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

    void wholeImageRunWritesTheTargetAndCloses()
    {
        const QImage picture = test::patternImage(40, 30, 7);
        MainData::SrcArr = test::arrayOf(picture);
        form->MMPopFilterL2->trigger();
        form->show();
        MainData::TargetFiltered = false;
        form->TB1RunDest->click();
        QVERIFY(MainData::TargetFiltered);
        QVERIFY(!form->isVisible());
        TImgTabColor expected;
        QVERIFY(FilterTabColor(PopFilterL2, 43, colorOf(MainData::SrcArr), expected, nullptr));
        TImgTabBGR expectedBGR;
        TabColorToTabBRG(expected, expectedBGR);
        QVERIFY(test::arrayHoldsPicture(expectedBGR, target->picture()));
        QVERIFY(test::arrayHoldsPicture(MainData::TrgArr, target->picture()));
        // Closing shrinks the test pictures and lets the fragment go.
        QCOMPARE(form->ImgTestSource->picture().size(), QSize(2, 2));
        QVERIFY(form->TestSrcArr.empty());
        QVERIFY(sink->silent());
    }

    void refusedRunsKeepTheWindowAndTheTarget()
    {
        MainData::SrcArr = test::arrayOf(test::patternImage(3, 20));
        MainData::TrgArr = test::arrayOf(test::patternImage(5, 5));
        form->show();
        MainData::TargetFiltered = false;
        form->TB1RunDest->click();
        QVERIFY(!MainData::TargetFiltered);
        QVERIFY(form->isVisible());
        QCOMPARE(MainData::TrgArr.rowCount(), 5);
        QCOMPARE(sink->warnings.size(), 1);

        // A scale below 1 (a kernel summing to 0 keeps its sum as the scale).
        TFilterKernel zero;
        zero.at(3, 2) = -1;
        zero.at(3, 4) = 1;
        form->LoadFilter(zero);
        QCOMPARE(WorkingFilter().Scale, 0);
        sink->warnings.clear();
        form->TB1RunDest->click();
        form->TB1RunFrag->click();
        QCOMPARE(sink->warnings,
                 (QStringList{ScaleBelowOneRunText(), ScaleBelowOneRunText()}));
        QVERIFY(form->isVisible());
        QVERIFY(!MainData::TargetFiltered);
    }

    void databaseHandsOverAFilter()
    {
        int shown = 0;
        form->TrackBarContrast->setValue(4);
        form->setShowDatabase([&] {
            ++shown;
            // The database replaces the weights, the scale and the type.
            WorkingFilter().Kernel = PopFilterH2;
            WorkingFilter().Scale = 3;
            WorkingFilter().Type = 2;
            form->FilterPassed = true;
        });
        QVERIFY(form->TB1RunDB->isEnabled());
        form->TB1RunDB->click();
        QCOMPARE(shown, 1);
        QVERIFY(!form->FilterPassed);
        QVERIFY(gridShows(form->SGridFilter, PopFilterH2));
        QCOMPARE(WorkingFilter().Scale, 16);
        QCOMPARE(WorkingFilter().Type, 2);
        QCOMPARE(form->TrackBarContrast->value(), 0);

        // Closed without a choice: nothing changes.
        form->setShowDatabase([&] { ++shown; });
        form->MMGoToDB->trigger();
        QCOMPARE(shown, 2);
        QCOMPARE(WorkingFilter().Scale, 16);
    }

    void helpNamesTheBooks()
    {
        form->MMHelp->trigger();
        QCOMPARE(sink->informations.size(), 1);
        QVERIFY(sink->informations[0].startsWith(QStringLiteral("Все ответы Вы найдете в следующих книгах :")));
    }

private:
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TImageControl> target;
    std::unique_ptr<TFormDFilter> form;
};

QTEST_MAIN(TstFilterWindow)
#include "tst_filter_window.moc"

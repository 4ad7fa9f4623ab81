#include "core/engine/img_service.h"
#include "core/histogram/fragment_stats.h"
#include "core/transfer/graph_label.h"
#include "recorders.h"
#include "test_workspace.h"
#include "ui/app/main_window.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/image_widget.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_window.h"
#include "ui/transfer/graph_xy.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>
#include <cmath>

using namespace ormica;

namespace {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l) { QLocale::setDefault(l); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

class NoColours : public TColorQuestion {
public:
    std::optional<TColor> askColor(TColor) override { return std::nullopt; }
};

// A fragment whose pixel (x, y) is given by the function, as a colour array.
template <class F> TImgTabColor fragmentOf(int w, int h, F pixel)
{
    TImgTabColor arr;
    arr.setShape(h, w);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            arr.row(y)[x] = pixel(x, y);
    return arr;
}

// Three rows of three: the reds of row 1 are 10, 11, 12.
TImgTabColor tenElevenTwelve()
{
    return fragmentOf(3, 3, [](int x, int y) {
        if (y == 1)
            return TBGRTriple{std::uint8_t(40 + x), std::uint8_t(90 - 7 * x), std::uint8_t(10 + x)};
        return TBGRTriple{std::uint8_t(x * 30), std::uint8_t(y * 40), std::uint8_t(200 - x)};
    });
}

bool hasPlotColour(const TGraphXY* g)
{
    const QImage& img = g->Image->picture();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(0, 255, 0))
                return true;
    return false;
}

QColor colourOf(TColor c)
{
    const TBGRTriple t = ColorToBGR(ResolveColor(c));
    return QColor(t.r, t.g, t.b);
}

// The column of the plot image over which point `index` of `count` lies.
int columnOf(const TGraphXY* g, int index, int count)
{
    const int w = g->Image->picture().width();
    return int(std::ceil((index + 0.5) * w / count));
}

}  // namespace

class TstFragmentTab : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ws = std::make_unique<test::TTestWorkspace>();
        sink = std::make_unique<test::RecordingSink>();
        form = std::make_unique<TFormGistogram>(*ws);
    }
    void cleanup()
    {
        form.reset();
        sink.reset();
        ws.reset();
    }

    void createdWithItsControlsAndPlots()
    {
        QCOMPARE(form->StTextChoiceStat->text(), QStringLiteral("Кликните на изображении"));
        QCOMPARE(form->choiceLampColor(), clYellow);
        QCOMPARE(form->StTextChoiceLamp->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(form->AcExtract.RowCol, 'R');
        QCOMPARE(form->AcExtract.Channel, 'L');
        QVERIFY(form->SpButtChoiceL->isChecked());
        QVERIFY(form->SpButtAcRow->isChecked());
        QCOMPARE(form->SpButtChoiceR->toolTip(), QStringLiteral("Выбрать канал RED"));
        QCOMPARE(form->SpButtChoiceG->toolTip(), QStringLiteral("Выбрать канал GREEN"));
        QCOMPARE(form->SpButtChoiceB->toolTip(), QStringLiteral("Выбрать канал BLUE"));
        QCOMPARE(form->SpButtChoiceL->toolTip(), QStringLiteral("Выбрать канал LIGHT"));
        QCOMPARE(form->SpButtAcCol->toolTip(), QStringLiteral("Для автокорреляции выбрать СТОЛБЕЦ"));
        QCOMPARE(form->SpButtAcRow->toolTip(), QStringLiteral("Для автокорреляции выбрать СТРОКУ"));
        QCOMPARE(form->CmbBoxAcCnvl->count(), 2);
        QCOMPARE(form->CmbBoxAcCnvl->itemText(1), QStringLiteral(" Свертка с Func ( X )"));
        QCOMPARE(form->CmbBoxFun3->itemText(2), QStringLiteral(" Func ( X ) = 1 - X"));
        QCOMPARE(form->CmbBoxFun3->itemText(3), QStringLiteral(" Func ( X ) = Rect"));
        QCOMPARE(form->PageControlAc->tabText(0), QStringLiteral(" Статистика по фрагменту изображения"));
        QCOMPARE(form->PageControlAc->tabText(1), QStringLiteral("  Функции для свертки"));
        QCOMPARE(form->graphSrc()->CaptionText, QStringLiteral("График центрированной мат. ожиданием выборки"));
        QCOMPARE(form->graphAc()->CaptionText, QStringLiteral("График функции автокорреляции или свертки"));
        QCOMPARE(form->graphFun()->CaptionText, QStringLiteral("Функция для свертки"));
        for (TGraphXY* g : {form->graphSrc(), form->graphAc(), form->graphFun()}) {
            QVERIFY(g->Ready);
            QCOMPARE(g->Scale.FmtX, QStringLiteral("%3.0f"));
        }
        QCOMPARE(form->graphFun()->Image->parentWidget(), form->PanelFun3);
        QCOMPARE(form->StTextAcIW->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextFragME->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral(" ------- "));
        QCOMPARE(form->StTextLightLevel->text(), QStringLiteral(" ------- "));
        QVERIFY(!form->StTextLightLevel->toolTip().isEmpty());
        QCOMPARE(form->fragLampColor(), ResolveColor(clBtnFace));
    }

    void tabTextsShowWholeAndNeverOverlap()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form = std::make_unique<TFormGistogram>(*ws);
        form->FragArr = tenElevenTwelve();
        openInMode(2);
        // The longest texts each read-out can show.
        form->StTextME->setText(FormatGeneral(0.0000888888888888888L));
        form->StTextDE->setText(FormatGeneral(8.88888888888888e-30L));
        form->StTextFragME->setText(FormatGeneral(0.000888888888888888L));
        form->StTextFragDivSrc->setText(FormatGeneral(99.9999999999999L) + QStringLiteral(" %"));
        form->StTextFun1->setText(QStringLiteral(" Func ( 286 ) = -254,9999"));
        form->StTextFun2->setText(QStringLiteral(" Func ( -288 ) = -9999999,9999"));
        form->StTextFun3->setText(QStringLiteral(" Func ( 286 ) = 1,0000"));
        form->StTextChoiceStat->setText(QStringLiteral("Кликните на изображении"));
        // Both sub-tab titles show without scrolling.
        QVERIFY(form->PageControlAc->tabBar()->sizeHint().width() <= form->PageControlAc->width());
        for (int page = 0; page < 2; ++page) {
            form->PageControlAc->setCurrentIndex(page);
            checkLayout(form->TabSheet3);
        }
    }

    void tenElevenTwelveRowWithItsCorrelationAndConvolution()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form->FragArr = tenElevenTwelve();
        openInMode(2);
        QCOMPARE(form->PageControl1->currentIndex(), 2);
        QCOMPARE(form->StTextAcIW->text(), QStringLiteral("3"));

        // The cross follows the mouse, then a click freezes it.
        QTest::mouseMove(form->ImgAcFrg, QPoint(2, 1));
        QCOMPARE(form->StTextSelRow->text(), QStringLiteral("1"));
        QCOMPARE(form->StTextSelCol->text(), QStringLiteral("2"));
        QCOMPARE(form->choiceLampColor(), clYellow);
        QTest::mouseClick(form->ImgAcFrg, Qt::LeftButton, {}, QPoint(2, 1));
        QCOMPARE(form->StTextChoiceStat->text(), QStringLiteral("Координаты выбраны"));
        QCOMPARE(form->choiceLampColor(), clLime);
        QCOMPARE(form->AcExtract.SelRow, 1);
        QCOMPARE(form->AcExtract.SelCol, 2);

        form->SpButtChoiceR->click();
        QCOMPARE(form->AcExtract.Channel, 'R');
        form->SpButtRunAcMD->click();
        QCOMPARE(form->StTextME->text(), QStringLiteral("11"));
        QCOMPARE(form->StTextDE->text(), QStringLiteral("0,666666666666667"));
        QVERIFY(hasPlotColour(form->graphSrc()));
        QCOMPARE(form->graphSrc()->Scale.FmtY, QStringLiteral("%4.1f"));
        QCOMPARE(double(form->graphSrc()->Scale.DataXMax), 2.0);
        QCOMPARE(double(form->graphSrc()->Scale.DataYMin), -1.0);
        // Func(X) = 1 is drawn on the third plot at once.
        QVERIFY(hasPlotColour(form->graphFun()));
        QVERIFY(std::abs(double(form->graphFun()->Scale.AxisYMax) - 1.1) < 1e-12);
        QVERIFY(!hasPlotColour(form->graphAc()));

        // Read-outs under the mouse.
        QTest::mouseMove(form->graphSrc()->Image, QPoint(0, 20));
        QCOMPARE(form->StTextFun1->text(), QStringLiteral(" Func (   0 ) =  -1,0000"));
        QTest::mouseMove(form->graphSrc()->Image, QPoint(form->graphSrc()->Image->picture().width() - 1, 20));
        QCOMPARE(form->StTextFun1->text(), QStringLiteral(" Func (   2 ) =   1,0000"));

        form->SpButtRunAcCnvl->click();  // autocorrelation
        QVERIFY(hasPlotColour(form->graphAc()));
        QCOMPARE(double(form->graphAc()->Scale.DataXMin), -4.0);
        QCOMPARE(double(form->graphAc()->Scale.DataXMax), 4.0);
        const TGraphXY* g2 = form->graphAc();
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 4, 9), 30));
        QCOMPARE(form->StTextFun2->text(), QStringLiteral(" Func (   0 ) =   3,0000"));
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 2, 9), 30));
        QCOMPARE(form->StTextFun2->text(), QStringLiteral(" Func (  -2 ) =  -1,5000"));

        // Convolution with Func(X) = 1: not divided by the variance.
        form->CmbBoxAcCnvl->setCurrentIndex(1);
        form->SpButtRunAcCnvl->click();
        QVERIFY(hasPlotColour(form->graphAc()));
        QCOMPARE(double(form->graphAc()->Scale.DataYMax), 1.0);
        QCOMPARE(double(form->graphAc()->Scale.DataYMin), -1.0);
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 3, 9), 30));
        QCOMPARE(form->StTextFun2->text(), QStringLiteral(" Func (  -1 ) =  -1,0000"));
        QTest::mouseMove(g2->Image, QPoint(g2->Image->picture().width() - 1, 30));
        QCOMPARE(form->StTextFun2->text(), QStringLiteral(" Func (   4 ) =   0,0000"));
        QVERIFY(sink->silent());
    }

    void changingTheChannelClearsButTheLastSampleStillCorrelates()
    {
        form->FragArr = tenElevenTwelve();
        openInMode(2);
        freezeAt(0, 1);
        form->SpButtChoiceR->click();
        form->SpButtRunAcMD->click();
        form->SpButtRunAcCnvl->click();
        QTest::mouseMove(form->graphSrc()->Image, QPoint(0, 20));
        QVERIFY(!form->StTextFun1->text().isEmpty());

        form->SpButtChoiceG->click();
        QCOMPARE(form->AcExtract.Channel, 'G');
        for (QLabel* l : {form->StTextME, form->StTextDE, form->StTextFun1, form->StTextFun2})
            QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
        QVERIFY(!hasPlotColour(form->graphSrc()));
        QVERIFY(!hasPlotColour(form->graphAc()));
        QVERIFY(hasPlotColour(form->graphFun()));  // plot 3 stays

        // The red sample is still there: lag 0 of its autocorrelation is 3.
        form->SpButtRunAcCnvl->click();
        QVERIFY(hasPlotColour(form->graphAc()));
        QCOMPARE(double(form->graphAc()->Scale.DataYMax), double(form->AcExtract.AcResult[4]));
        QVERIFY(std::abs(double(form->AcExtract.AcResult[4]) - 3) < 1e-12);

        // A new run takes the green channel of the same row: 90, 83, 76.
        form->SpButtRunAcMD->click();
        QCOMPARE(form->StTextME->text(), FormatGeneral(83));

        // Row and column buttons clear the same way.
        form->SpButtAcCol->click();
        QCOMPARE(form->AcExtract.RowCol, 'C');
        QVERIFY(form->StTextME->text().isEmpty());
        form->SpButtRunAcMD->click();  // column 0: greens 0, 90, 80
        QCOMPARE(form->StTextME->text(), FormatGeneral((0.0L + 90 + 80) / 3));
        form->SpButtAcRow->click();
        QCOMPARE(form->AcExtract.RowCol, 'R');
        QVERIFY(sink->silent());
    }

    void aTwoPixelWideRowHasNoCorrelation()
    {
        form->FragArr = fragmentOf(2, 4, [](int x, int y) { return TBGRTriple{0, 0, std::uint8_t(10 * x + y)}; });
        openInMode(2);
        freezeAt(1, 2);
        form->SpButtChoiceR->click();
        form->SpButtRunAcMD->click();
        QCOMPARE(form->StTextME->text(), QStringLiteral("7"));  // reds 2 and 12
        QCOMPARE(form->StTextDE->text(), QStringLiteral("25"));
        form->SpButtRunAcCnvl->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Необходим расчет мат. ожидания и дисперсии")});
        QVERIFY(!hasPlotColour(form->graphAc()));
        QCOMPARE(form->StTextME->text(), QStringLiteral("7"));  // read-outs left as they were
    }

    void aRowBeyondTheFragmentIsRefusedUntilANewPoint()
    {
        form->FragArr = fragmentOf(10, 5, [](int x, int y) { return TBGRTriple{std::uint8_t(x), std::uint8_t(y), 9}; });
        openInMode(2);
        QCOMPARE(form->StTextAcIW->text(), QStringLiteral("10"));
        QCOMPARE(form->StTextAcIH->text(), QStringLiteral("5"));
        QCOMPARE(form->StTextAcINumPnt->text(), QStringLiteral("50"));

        // Before any point is frozen.
        form->SpButtRunAcMD->click();
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral("Вначале выберите координаты\r\n(кликните в поле изображения)")});
        sink->warnings.clear();

        freezeAt(3, 100);  // inside the fragment image, below the fragment
        QCOMPARE(form->AcExtract.SelRow, 100);
        form->SpButtRunAcMD->click();
        QCOMPARE(form->AcExtract.SelRow, -1);
        form->SpButtRunAcMD->click();
        const QString out = QStringLiteral("Координаты СТРОКИ ВНЕ\r\nразмеров изображения");
        QCOMPARE(sink->warnings, (QStringList{out, out}));
        QVERIFY(form->StTextME->text().isEmpty());
        QVERIFY(!hasPlotColour(form->graphSrc()));

        // The column through the same point is inside: its greens are 0 .. 4.
        form->SpButtChoiceG->click();
        form->SpButtAcCol->click();
        form->SpButtRunAcMD->click();
        QCOMPARE(form->StTextME->text(), QStringLiteral("2"));
        QCOMPARE(form->StTextDE->text(), QStringLiteral("2"));
        sink->warnings.clear();

        // Released (yellow, results cleared), then frozen again inside.
        QTest::mouseClick(form->ImgAcFrg, Qt::LeftButton, {}, QPoint(3, 100));
        QCOMPARE(form->StTextChoiceStat->text(), QStringLiteral("Идет выбор координат"));
        QCOMPARE(form->choiceLampColor(), clYellow);
        QVERIFY(form->StTextME->text().isEmpty());
        form->SpButtAcRow->click();
        freezeAt(200, 4);
        form->SpButtAcCol->click();
        form->SpButtRunAcMD->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Координаты СТОЛБЦА ВНЕ\r\nразмеров изображения")});
        QCOMPARE(form->AcExtract.SelCol, -1);
        form->SpButtAcRow->click();
        form->SpButtRunAcMD->click();
        QCOMPARE(sink->warnings.size(), 1);
        QVERIFY(!form->StTextME->text().isEmpty());
    }

    void rectFunctionOnTheThirdPlot()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form->FragArr = fragmentOf(11, 2, [](int x, int) { return TBGRTriple{0, 0, std::uint8_t(x * x)}; });
        openInMode(2);
        freezeAt(5, 0);
        form->SpButtRunAcMD->click();
        form->PageControlAc->setCurrentIndex(1);
        QTest::keyClick(form->CmbBoxFun3, Qt::Key_End);  // " Func ( X ) = Rect"
        QCOMPARE(form->CmbBoxFun3->currentIndex(), 3);
        QCOMPARE(form->AcExtract.ConvFunc, (TArrExtnd{0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0}));
        const TGraphXY* g3 = form->graphFun();
        QVERIFY(hasPlotColour(g3));
        QTest::mouseMove(g3->Image, QPoint(columnOf(g3, 5, 11), 20));
        QCOMPARE(form->StTextFun3->text(), QStringLiteral(" Func (   5 ) = 1,0000"));
        QTest::mouseMove(g3->Image, QPoint(columnOf(g3, 3, 11), 20));
        QCOMPARE(form->StTextFun3->text(), QStringLiteral(" Func (   3 ) = 0,0000"));

        // Convolution with it: entry N + 1 + k is the sum of the centred values 4 - k .. 6 - k.
        form->CmbBoxAcCnvl->setCurrentIndex(1);
        form->SpButtRunAcCnvl->click();
        const TArrExtnd& c = form->AcExtract.Centred;
        QCOMPARE(double(form->AcExtract.AcResult[12]), double(c[4] + c[5] + c[6]));
        QCOMPARE(double(form->AcExtract.AcResult[12 + 2]), double(c[6] + c[7] + c[8]));

        QTest::keyClick(form->CmbBoxFun3, Qt::Key_Up);  // " Func ( X ) = 1 - X"
        QCOMPARE(form->CmbBoxFun3->currentIndex(), 2);
        QTest::mouseMove(g3->Image, QPoint(0, 20));
        QCOMPARE(form->StTextFun3->text(), QStringLiteral(" Func (   0 ) = 1,0000"));
        QVERIFY(sink->silent());
    }

    void withoutAFragmentOnlyTheWarning()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(20, 10));
        openInMode(1);
        QCOMPARE(form->StTextAcIW->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextAcINumPnt->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextFragME->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextFragDE->text(), QStringLiteral("0"));
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral(" ------- "));
        QCOMPARE(form->fragLampColor(), ResolveColor(clBtnFace));
        form->PageControl1->setCurrentIndex(2);
        QTest::mouseClick(form->ImgAcFrg, Qt::LeftButton, {}, QPoint(1, 1));
        form->SpButtRunAcMD->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Фрагмент изображения не загружен")});
        QVERIFY(form->StTextME->text().isEmpty());
    }

    void wholeFragmentStatisticsAndRatios()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        const QImage picture = test::patternImage(40, 25, 7);
        ws->SrcArr = test::arrayOf(picture);
        AreaBitMapToImgTabColor(picture, TRect{5, 3, 14, 7}, form->FragArr);  // 10 x 5
        const TImgTabColor frag = form->FragArr;
        openInMode(2);
        const long double m = FragmentMean(frag, 'L');
        QCOMPARE(form->StTextFragME->text(), FormatGeneral(m));
        QCOMPARE(form->StTextFragDE->text(), FormatGeneral(FragmentVariance(frag, 'L', m)));
        QCOMPARE(form->fragLampColor(), clWhite);
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral("5 %"));  // 50 of 1000 points
        QCOMPARE(form->StTextLightLevel->text(), FormatGeneral(m / form->Gistogram.MeanL * 100) + QStringLiteral(" %"));
        QVERIFY(form->StTextLightLevel->text() != QStringLiteral(" ------- "));

        // The target image has no ratios to the fragment.
        form->SpButGistTrg->click();
        QCOMPARE(form->StTextFragME->text(), FormatGeneral(m));
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral(" ------- "));
        QCOMPARE(form->StTextLightLevel->text(), QStringLiteral(" ------- "));
        form->SpButGistSrc->click();
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral("5 %"));
        form->hide();

        // A black picture has a point ratio but no brightness ratio.
        QImage black(20, 20, QImage::Format_BGR888);
        black.fill(Qt::black);
        ws->SrcArr = test::arrayOf(black);
        AreaBitMapToImgTabColor(black, TRect{0, 0, 9, 9}, form->FragArr);
        openInMode(2);
        QCOMPARE(form->StTextFragDivSrc->text(), QStringLiteral("25 %"));
        QCOMPARE(form->StTextLightLevel->text(), QStringLiteral(" ------- "));
        QCOMPARE(form->StTextFragME->text(), QStringLiteral("0"));
        QCOMPARE(form->fragLampColor(), clWhite);
    }

    void closingResetsTheTab()
    {
        form->FragArr = tenElevenTwelve();
        openInMode(2);
        freezeAt(1, 1);
        form->CmbBoxAcCnvl->setCurrentIndex(1);
        form->PageControlAc->setCurrentIndex(1);
        QTest::keyClick(form->CmbBoxFun3, Qt::Key_End);
        form->SpButtRunAcMD->click();
        form->SpButtRunAcCnvl->click();
        QTest::mouseMove(form->graphFun()->Image, QPoint(0, 20));
        QVERIFY(!form->StTextFun3->text().isEmpty());

        form->hide();
        QVERIFY(form->FragArr.empty());
        QCOMPARE(form->StTextChoiceStat->text(), QStringLiteral("Кликните на изображении"));
        QCOMPARE(form->choiceLampColor(), clYellow);
        QCOMPARE(form->AcExtract.SelRow, -1);
        QCOMPARE(form->AcExtract.SelCol, -1);
        QVERIFY(!form->AcExtract.StatReady);
        QVERIFY(form->AcExtract.Extract.empty() && form->AcExtract.Centred.empty() &&
                form->AcExtract.ConvFunc.empty() && form->AcExtract.AcResult.empty() &&
                form->AcExtract.GraphCentred.empty() && form->AcExtract.GraphAc.empty() &&
                form->AcExtract.GraphFunc.empty());
        for (QLabel* l : {form->StTextME, form->StTextDE, form->StTextFun1, form->StTextFun2, form->StTextFun3})
            QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
        for (TGraphXY* g : {form->graphSrc(), form->graphAc(), form->graphFun()})
            QVERIFY(!hasPlotColour(g));
        // The fragment image holds nothing but the cross, which follows the mouse again.
        TCrossHairSelector* cross = form->crossHair();
        QVERIFY(cross->Active && cross->Tracking && !cross->Selected);
        const QImage& img = form->ImgAcFrg->picture();
        const QColor face = colourOf(clBtnFace);
        QCOMPARE(img.pixelColor(0, 0), face);  // pixels of the fragment that was there, off the cross
        QCOMPARE(img.pixelColor(2, 2), face);

        // Opened again: the choice boxes start over.
        form->FragArr = tenElevenTwelve();
        openInMode(2);
        QCOMPARE(form->CmbBoxAcCnvl->currentIndex(), 0);
        QCOMPARE(form->CmbBoxFun3->currentIndex(), 0);
        // The old point is gone: a run asks for a new one.
        form->SpButtRunAcMD->click();
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral("Вначале выберите координаты\r\n(кликните в поле изображения)")});
    }

    void openedFromTheMainWindowsMenu()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form.reset();
        test::ScriptedDialogs dialogs;
        NoColours colours;
        TFormOrmica main(*ws, &dialogs, &colours);
        TFormGistogram hist(*ws, &main);
        TToolWindows windows;
        windows.histogram = &hist;
        main.setToolWindows(windows);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        const QImage picture = test::patternImage(60, 50, 3);
        main.ImageMain->setPicture(picture);
        ImageToImgTab(*main.ImageMain, ws->SrcArr, nullptr);
        QTest::mousePress(main.ImageMain, Qt::LeftButton, {}, QPoint(10, 12));
        QTest::mouseMove(main.ImageMain, QPoint(20, 16));
        QTest::mouseMove(main.ImageMain, QPoint(29, 21));
        QTest::mouseRelease(main.ImageMain, Qt::LeftButton, {}, QPoint(29, 21));

        QString me, size, divSrc;
        QImage shown;
        int shownCount = 0;
        main.ShowModal = [&](QDialog& d) {
            ++shownCount;
            d.show();
            if (!QTest::qWaitForWindowExposed(&d))
                return 0;
            size = hist.StTextAcIW->text() + QLatin1Char('x') + hist.StTextAcIH->text() + QLatin1Char('=') +
                   hist.StTextAcINumPnt->text();
            divSrc = hist.StTextFragDivSrc->text();
            shown = hist.ImgAcFrg->picture().copy();
            // Sent straight to the image: the main window's last drag may still steer the test's mouse.
            QMouseEvent move(QEvent::MouseMove, QPointF(4, 3), hist.ImgAcFrg->mapToGlobal(QPointF(4, 3)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(hist.ImgAcFrg, &move);
            QTest::mouseClick(hist.ImgAcFrg, Qt::LeftButton, {}, QPoint(4, 3));
            hist.SpButtChoiceB->click();
            hist.SpButtRunAcMD->click();
            me = hist.StTextME->text();
            d.hide();
            return 0;
        };
        main.MMAutoCorr->trigger();
        QCOMPARE(shownCount, 1);
        QCOMPARE(sink->warnings.join(QLatin1Char('|')), QString());
        QCOMPARE(size, QStringLiteral("20x10=200"));
        QCOMPARE(divSrc, FormatGeneral(200.0L / 3000 * 100) + QStringLiteral(" %"));
        // The fragment drawn at the top-left corner (the cross apart: columns and rows away from it).
        QCOMPARE(shown.pixelColor(0, 0), picture.pixelColor(10, 12));
        QCOMPARE(shown.pixelColor(19, 9), picture.pixelColor(29, 21));
        // Row 3 of the fragment is row 15 of the picture, columns 10..29; channel blue.
        long double sum = 0;
        for (int x = 10; x <= 29; ++x)
            sum += picture.pixelColor(x, 15).blue();
        QCOMPARE(me, FormatGeneral(sum / 20));
        QVERIFY(hist.FragArr.empty());
        QVERIFY(hist.AcExtract.Extract.empty());
        QVERIFY(sink->silent());
    }

private:
    std::unique_ptr<test::TTestWorkspace> ws;
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TFormGistogram> form;

    // Shows the window with the fragment drawn as the main window has it drawn.
    void openInMode(int mode)
    {
        if (!form->FragArr.empty())
            form->ShowFragment();
        form->GistogramMode = std::uint8_t(mode);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    void freezeAt(int x, int y)
    {
        QTest::mouseMove(form->ImgAcFrg, QPoint(x, y));
        QTest::mouseClick(form->ImgAcFrg, Qt::LeftButton, {}, QPoint(x, y));
        QVERIFY(form->crossHair()->Selected);
    }

    // Every label shows its whole text, every control lies inside its parent
    // and meets none of its visible siblings.
    void checkLayout(QWidget* root)
    {
        for (QLabel* l : root->findChildren<QLabel*>()) {
            if (!l->isVisibleTo(root) || l->text().isEmpty())
                continue;
            const QFontMetrics fm = l->fontMetrics();
            const QRect room = l->contentsRect();
            const QString why = l->objectName() + QLatin1Char(' ') + l->text();
            if (l->wordWrap()) {
                const QRect need = fm.boundingRect(room, int(l->alignment()) | Qt::TextWordWrap, l->text());
                QVERIFY2(need.width() <= room.width() && need.height() <= room.height(), qPrintable(why));
            } else {
                const int indent = l->indent() >= 0 ? l->indent() : 0;
                QVERIFY2(room.width() - 2 * l->margin() - indent >= fm.horizontalAdvance(l->text()), qPrintable(why));
            }
        }
        QList<QWidget*> all = root->findChildren<QWidget*>();
        for (QWidget* w : all) {
            if (!w->isVisibleTo(root) ||
                !(qobject_cast<QLabel*>(w) || qobject_cast<QToolButton*>(w) || qobject_cast<QComboBox*>(w) ||
                  qobject_cast<QGroupBox*>(w) || qobject_cast<QFrame*>(w)))
                continue;
            QWidget* parent = w->parentWidget();
            if (qobject_cast<QTabWidget*>(parent) || qobject_cast<QTabBar*>(parent) ||
                parent->inherits("QStackedWidget"))
                continue;
            QVERIFY2(QRect(QPoint(0, 0), parent->size()).contains(w->geometry()), qPrintable(w->objectName()));
            for (QWidget* o : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (o == w || !o->isVisibleTo(root) || o->objectName().startsWith(QLatin1String("qt_")))
                    continue;
                if (o->objectName() == QLatin1String("BevelWImgXY") || w->objectName() == QLatin1String("BevelWImgXY"))
                    continue;  // the frame around a plot image surrounds it
                const auto name = [](QWidget* x) {
                    auto* l = qobject_cast<QLabel*>(x);
                    return l && x->objectName().isEmpty() ? l->text() : x->objectName();
                };
                QVERIFY2(!w->geometry().intersects(o->geometry()),
                         qPrintable(name(w) + QStringLiteral(" / ") + name(o)));
            }
        }
    }
};

QTEST_MAIN(TstFragmentTab)
#include "tst_fragment_tab.moc"

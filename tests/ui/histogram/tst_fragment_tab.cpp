#include "core/engine/img_service.h"
#include "core/histogram/fragment_stats.h"
#include "core/transfer/graph_label.h"
#include "histogram_fixture.h"
#include "ui/app/main_window.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/magnifier.h"
#include "ui/engine/qt_color.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/fragment_tab.h"
#include "ui/histogram/histogram_tab.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/transfer/graph_xy.h"
#include "window_test.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <cmath>

using namespace ormica;
using test::LocaleScope;

namespace {

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
    const QImage img = g->Image->picture().convertToFormat(QImage::Format_RGB32);
    const auto* p = reinterpret_cast<const QRgb*>(img.constBits());
    return std::find(p, p + img.sizeInBytes() / 4, qRgb(0, 255, 0)) != p + img.sizeInBytes() / 4;
}

// The column of the plot image over which point `index` of `count` lies.
int columnOf(const TGraphXY* g, int index, int count)
{
    const int w = g->Image->picture().width();
    return int(std::ceil((index + 0.5) * w / count));
}

}  // namespace

class TstFragmentTab : public QObject, test::THistogramFixture {
    Q_OBJECT

    TFragmentTab& tab() const { return form->fragment(); }
    QTabWidget* pageControlAc() const { return control<QTabWidget>("PageControlAc"); }
    // Opens the window as "Гистограммы и фрагмент" does with this fragment.
    void openWith(TImgTabColor fragment)
    {
        form->FragArr = std::move(fragment);
        openInMode(2);
    }

private slots:
    void init() { makeWindow(); }
    void cleanup() { dropWindow(); }

    void createdWithItsControlsAndPlots()
    {
        QCOMPARE(label("StTextChoiceStat")->text(), QStringLiteral("Кликните на изображении"));
        QCOMPARE(tab().choiceLampColor(), clYellow);
        QCOMPARE(label("StTextChoiceLamp")->palette().color(QPalette::Window), QColor(255, 255, 0));
        QCOMPARE(tab().acExtract().RowCol, 'R');
        QCOMPARE(tab().acExtract().Channel, 'L');
        QVERIFY(button("SpButtChoiceL")->isChecked());
        QVERIFY(button("SpButtAcRow")->isChecked());
        QCOMPARE(button("SpButtChoiceR")->toolTip(), QStringLiteral("Выбрать канал RED"));
        QCOMPARE(button("SpButtChoiceG")->toolTip(), QStringLiteral("Выбрать канал GREEN"));
        QCOMPARE(button("SpButtChoiceB")->toolTip(), QStringLiteral("Выбрать канал BLUE"));
        QCOMPARE(button("SpButtChoiceL")->toolTip(), QStringLiteral("Выбрать канал LIGHT"));
        QCOMPARE(button("SpButtAcCol")->toolTip(), QStringLiteral("Для автокорреляции выбрать СТОЛБЕЦ"));
        QCOMPARE(button("SpButtAcRow")->toolTip(), QStringLiteral("Для автокорреляции выбрать СТРОКУ"));
        QCOMPARE(combo("CmbBoxAcCnvl")->count(), 2);
        QCOMPARE(combo("CmbBoxAcCnvl")->itemText(1), QStringLiteral(" Свертка с Func ( X )"));
        QCOMPARE(combo("CmbBoxFun3")->itemText(2), QStringLiteral(" Func ( X ) = 1 - X"));
        QCOMPARE(combo("CmbBoxFun3")->itemText(3), QStringLiteral(" Func ( X ) = Rect"));
        QCOMPARE(pageControlAc()->tabText(0), QStringLiteral(" Статистика по фрагменту изображения"));
        QCOMPARE(pageControlAc()->tabText(1), QStringLiteral("  Функции для свертки"));
        QCOMPARE(tab().graphSrc()->CaptionText, QStringLiteral("График центрированной мат. ожиданием выборки"));
        QCOMPARE(tab().graphAc()->CaptionText, QStringLiteral("График функции автокорреляции или свертки"));
        QCOMPARE(tab().graphFun()->CaptionText, QStringLiteral("Функция для свертки"));
        for (TGraphXY* g : {tab().graphSrc(), tab().graphAc(), tab().graphFun()}) {
            QVERIFY(g->Ready);
            QCOMPARE(g->Scale.FmtX, QStringLiteral("%3.0f"));
        }
        QCOMPARE(tab().graphFun()->Image->parentWidget(), control<QFrame>("PanelFun3"));
        QCOMPARE(label("StTextAcIW")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextFragME")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral(" ------- "));
        QCOMPARE(label("StTextLightLevel")->text(), QStringLiteral(" ------- "));
        QVERIFY(!label("StTextLightLevel")->toolTip().isEmpty());
        QCOMPARE(tab().fragLampColor(), ResolveColor(clBtnFace));
    }

    void tabTextsShowWholeAndNeverOverlap()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form = std::make_unique<TFormGistogram>(*ws);
        openWith(tenElevenTwelve());
        // The longest texts each read-out can show.
        label("StTextME")->setText(FormatGeneral(0.0000888888888888888L));
        label("StTextDE")->setText(FormatGeneral(8.88888888888888e-30L));
        label("StTextFragME")->setText(FormatGeneral(0.000888888888888888L));
        label("StTextFragDivSrc")->setText(FormatGeneral(99.9999999999999L) + QStringLiteral(" %"));
        label("StTextFun1")->setText(QStringLiteral(" Func ( 286 ) = -254,9999"));
        label("StTextFun2")->setText(QStringLiteral(" Func ( -288 ) = -9999999,9999"));
        label("StTextFun3")->setText(QStringLiteral(" Func ( 286 ) = 1,0000"));
        label("StTextChoiceStat")->setText(QStringLiteral("Кликните на изображении"));
        // Both sub-tab titles show without scrolling.
        QVERIFY(pageControlAc()->tabBar()->sizeHint().width() <= pageControlAc()->width());
        for (int page = 0; page < 2; ++page) {
            pageControlAc()->setCurrentIndex(page);
            checkLayout(&form->fragment());
        }
    }

    void tenElevenTwelveRowWithItsCorrelationAndConvolution()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        openWith(tenElevenTwelve());
        QCOMPARE(form->PageControl1->currentIndex(), 2);
        QCOMPARE(label("StTextAcIW")->text(), QStringLiteral("3"));

        // The cross follows the mouse, then a click freezes it.
        QTest::mouseMove(image("ImgAcFrg"), QPoint(2, 1));
        QCOMPARE(label("StTextSelRow")->text(), QStringLiteral("1"));
        QCOMPARE(label("StTextSelCol")->text(), QStringLiteral("2"));
        QCOMPARE(tab().choiceLampColor(), clYellow);
        QTest::mouseClick(image("ImgAcFrg"), Qt::LeftButton, {}, QPoint(2, 1));
        QCOMPARE(label("StTextChoiceStat")->text(), QStringLiteral("Координаты выбраны"));
        QCOMPARE(tab().choiceLampColor(), clLime);
        QCOMPARE(QPoint(tab().acExtract().SelCol, tab().acExtract().SelRow), QPoint(2, 1));

        button("SpButtChoiceR")->click();
        QCOMPARE(tab().acExtract().Channel, 'R');
        button("SpButtRunAcMD")->click();
        QCOMPARE(label("StTextME")->text(), QStringLiteral("11"));
        QCOMPARE(label("StTextDE")->text(), QStringLiteral("0,666666666666667"));
        QVERIFY(hasPlotColour(tab().graphSrc()));
        QCOMPARE(tab().graphSrc()->Scale.FmtY, QStringLiteral("%4.1f"));
        QCOMPARE(double(tab().graphSrc()->Scale.DataXMax), 2.0);
        QCOMPARE(double(tab().graphSrc()->Scale.DataYMin), -1.0);
        // Func(X) = 1 is drawn on the third plot at once.
        QVERIFY(hasPlotColour(tab().graphFun()));
        QVERIFY(std::abs(double(tab().graphFun()->Scale.AxisYMax) - 1.1) < 1e-12);
        QVERIFY(!hasPlotColour(tab().graphAc()));

        // Read-outs under the mouse.
        QTest::mouseMove(tab().graphSrc()->Image, QPoint(0, 20));
        QCOMPARE(label("StTextFun1")->text(), QStringLiteral(" Func (   0 ) =  -1,0000"));
        QTest::mouseMove(tab().graphSrc()->Image, QPoint(tab().graphSrc()->Image->picture().width() - 1, 20));
        QCOMPARE(label("StTextFun1")->text(), QStringLiteral(" Func (   2 ) =   1,0000"));

        button("SpButtRunAcCnvl")->click();  // autocorrelation
        QVERIFY(hasPlotColour(tab().graphAc()));
        QCOMPARE(double(tab().graphAc()->Scale.DataXMin), -4.0);
        QCOMPARE(double(tab().graphAc()->Scale.DataXMax), 4.0);
        const TGraphXY* g2 = tab().graphAc();
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 4, 9), 30));
        QCOMPARE(label("StTextFun2")->text(), QStringLiteral(" Func (   0 ) =   3,0000"));
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 2, 9), 30));
        QCOMPARE(label("StTextFun2")->text(), QStringLiteral(" Func (  -2 ) =  -1,5000"));

        // Convolution with Func(X) = 1: not divided by the variance.
        combo("CmbBoxAcCnvl")->setCurrentIndex(1);
        button("SpButtRunAcCnvl")->click();
        QVERIFY(hasPlotColour(tab().graphAc()));
        QCOMPARE(double(tab().graphAc()->Scale.DataYMax), 1.0);
        QCOMPARE(double(tab().graphAc()->Scale.DataYMin), -1.0);
        QTest::mouseMove(g2->Image, QPoint(columnOf(g2, 3, 9), 30));
        QCOMPARE(label("StTextFun2")->text(), QStringLiteral(" Func (  -1 ) =  -1,0000"));
        QTest::mouseMove(g2->Image, QPoint(g2->Image->picture().width() - 1, 30));
        QCOMPARE(label("StTextFun2")->text(), QStringLiteral(" Func (   4 ) =   0,0000"));
        QVERIFY(sink->silent());
    }

    // Each plot's menu saves the points of the curve it shows, and none once
    // the plot is cleared.
    void plotNumbersSaveAsPlotted()
    {
        test::ScriptedDialogs dialogs;
        form->setFileDialogs(&dialogs);
        openWith(tenElevenTwelve());
        freezeAt(2, 1);
        button("SpButtRunAcMD")->click();
        button("SpButtRunAcCnvl")->click();
        int saved = 0;
        const auto save = [&](const char* panel) {
            const QString name = ws->dir.filePath(QStringLiteral("%1.csv").arg(++saved));
            dialogs.choices.push_back(TFileChoice{name, 1});
            if (auto* item = control<QFrame>(panel)->findChild<QAction*>(QStringLiteral("PlotSaveNumbers")))
                item->trigger();
            return test::csvRows(name);
        };
        const auto pointsOf = [](const TGraphArr& points) {
            std::vector<std::vector<double>> rows;
            for (const TGraphPoint& p : points)
                rows.push_back({double(p.X), double(p.Y)});
            return rows;
        };
        const TAcExtract& ac = tab().acExtract();
        QCOMPARE(ac.GraphAc.size(), std::size_t(9));
        QCOMPARE(save("PanelSrcFun1"), pointsOf(ac.GraphCentred));
        QCOMPARE(save("PanelAcFunc"), pointsOf(ac.GraphAc));
        QCOMPARE(save("PanelFun3"), pointsOf(ac.GraphFunc));
        button("SpButtChoiceG")->click();
        QVERIFY(save("PanelAcFunc").empty());
        QVERIFY(sink->silent());
    }

    // The magnifier in the image's place shows the fragment with its cross and
    // hands the cross the mouse at picture coordinates, zoomed or not.
    void theMagnifierStandsInForTheFragmentImage()
    {
        openWith(tenElevenTwelve());
        auto* pane = control<TMagnifier>("MagAcFrg");
        QCOMPARE(pane->zoom(), 1);
        QCOMPARE(pane->image(), image("ImgAcFrg")->picture());
        pane->setZoom(32);
        const QPoint atRow1Column2(2 * 32 + 5, 1 * 32 + 5);
        QTest::mouseMove(pane->viewport(), atRow1Column2);
        QCOMPARE(label("StTextSelRow")->text(), QStringLiteral("1"));
        QCOMPARE(label("StTextSelCol")->text(), QStringLiteral("2"));
        QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, atRow1Column2);
        QCOMPARE(QPoint(tab().acExtract().SelCol, tab().acExtract().SelRow), QPoint(2, 1));
        QCOMPARE(pane->image(), image("ImgAcFrg")->picture());
    }

    void changingTheChannelClearsButTheLastSampleStillCorrelates()
    {
        openWith(tenElevenTwelve());
        freezeAt(0, 1);
        button("SpButtChoiceR")->click();
        button("SpButtRunAcMD")->click();
        button("SpButtRunAcCnvl")->click();
        QTest::mouseMove(tab().graphSrc()->Image, QPoint(0, 20));
        QVERIFY(!label("StTextFun1")->text().isEmpty());

        button("SpButtChoiceG")->click();
        QCOMPARE(tab().acExtract().Channel, 'G');
        for (const char* name : {"StTextME", "StTextDE", "StTextFun1", "StTextFun2"})
            QVERIFY2(label(name)->text().isEmpty(), name);
        QVERIFY(!hasPlotColour(tab().graphSrc()));
        QVERIFY(!hasPlotColour(tab().graphAc()));
        QVERIFY(hasPlotColour(tab().graphFun()));  // plot 3 stays

        // The red sample is still there: lag 0 of its autocorrelation is 3.
        button("SpButtRunAcCnvl")->click();
        QVERIFY(hasPlotColour(tab().graphAc()));
        QCOMPARE(double(tab().graphAc()->Scale.DataYMax), double(tab().acExtract().AcResult[4]));
        QVERIFY(std::abs(double(tab().acExtract().AcResult[4]) - 3) < 1e-12);

        // A new run takes the green channel of the same row: 90, 83, 76.
        button("SpButtRunAcMD")->click();
        QCOMPARE(label("StTextME")->text(), FormatGeneral(83));

        // Row and column buttons clear the same way.
        button("SpButtAcCol")->click();
        QCOMPARE(tab().acExtract().RowCol, 'C');
        QVERIFY(label("StTextME")->text().isEmpty());
        button("SpButtRunAcMD")->click();  // column 0: greens 0, 90, 80
        QCOMPARE(label("StTextME")->text(), FormatGeneral((0.0L + 90 + 80) / 3));
        button("SpButtAcRow")->click();
        QCOMPARE(tab().acExtract().RowCol, 'R');
        QVERIFY(sink->silent());
    }

    void aTwoPixelWideRowHasNoCorrelation()
    {
        openWith(fragmentOf(2, 4, [](int x, int y) { return TBGRTriple{0, 0, std::uint8_t(10 * x + y)}; }));
        freezeAt(1, 2);
        button("SpButtChoiceR")->click();
        button("SpButtRunAcMD")->click();
        QCOMPARE(label("StTextME")->text(), QStringLiteral("7"));  // reds 2 and 12
        QCOMPARE(label("StTextDE")->text(), QStringLiteral("25"));
        button("SpButtRunAcCnvl")->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Необходим расчет мат. ожидания и дисперсии")});
        QVERIFY(!hasPlotColour(tab().graphAc()));
        QCOMPARE(label("StTextME")->text(), QStringLiteral("7"));  // read-outs left as they were
    }

    void aRowBeyondTheFragmentIsRefusedUntilANewPoint()
    {
        openWith(fragmentOf(10, 5, [](int x, int y) { return TBGRTriple{std::uint8_t(x), std::uint8_t(y), 9}; }));
        QCOMPARE(label("StTextAcIW")->text(), QStringLiteral("10"));
        QCOMPARE(label("StTextAcIH")->text(), QStringLiteral("5"));
        QCOMPARE(label("StTextAcINumPnt")->text(), QStringLiteral("50"));

        // Before any point is frozen.
        button("SpButtRunAcMD")->click();
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral("Вначале выберите координаты\r\n(кликните в поле изображения)")});
        sink->warnings.clear();

        freezeAt(3, 100);  // inside the fragment image, below the fragment
        QCOMPARE(tab().acExtract().SelRow, 100);
        button("SpButtRunAcMD")->click();
        QCOMPARE(tab().acExtract().SelRow, -1);
        button("SpButtRunAcMD")->click();
        const QString out = QStringLiteral("Координаты СТРОКИ ВНЕ\r\nразмеров изображения");
        QCOMPARE(sink->warnings, (QStringList{out, out}));
        QVERIFY(label("StTextME")->text().isEmpty());
        QVERIFY(!hasPlotColour(tab().graphSrc()));

        // The column through the same point is inside: its greens are 0 .. 4.
        button("SpButtChoiceG")->click();
        button("SpButtAcCol")->click();
        button("SpButtRunAcMD")->click();
        QCOMPARE(label("StTextME")->text(), QStringLiteral("2"));
        QCOMPARE(label("StTextDE")->text(), QStringLiteral("2"));
        sink->warnings.clear();

        // Released (yellow, results cleared), then frozen again inside.
        QTest::mouseClick(image("ImgAcFrg"), Qt::LeftButton, {}, QPoint(3, 100));
        QCOMPARE(label("StTextChoiceStat")->text(), QStringLiteral("Идет выбор координат"));
        QCOMPARE(tab().choiceLampColor(), clYellow);
        QVERIFY(label("StTextME")->text().isEmpty());
        button("SpButtAcRow")->click();
        freezeAt(200, 4);
        button("SpButtAcCol")->click();
        button("SpButtRunAcMD")->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Координаты СТОЛБЦА ВНЕ\r\nразмеров изображения")});
        QCOMPARE(tab().acExtract().SelCol, -1);
        button("SpButtAcRow")->click();
        button("SpButtRunAcMD")->click();
        QCOMPARE(sink->warnings.size(), 1);
        QVERIFY(!label("StTextME")->text().isEmpty());
    }

    void rectFunctionOnTheThirdPlot()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        openWith(fragmentOf(11, 2, [](int x, int) { return TBGRTriple{0, 0, std::uint8_t(x * x)}; }));
        freezeAt(5, 0);
        button("SpButtRunAcMD")->click();
        pageControlAc()->setCurrentIndex(1);
        QTest::keyClick(combo("CmbBoxFun3"), Qt::Key_End);  // " Func ( X ) = Rect"
        QCOMPARE(combo("CmbBoxFun3")->currentIndex(), 3);
        QCOMPARE(tab().acExtract().ConvFunc, (TArrExtnd{0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0}));
        const TGraphXY* g3 = tab().graphFun();
        QVERIFY(hasPlotColour(g3));
        QTest::mouseMove(g3->Image, QPoint(columnOf(g3, 5, 11), 20));
        QCOMPARE(label("StTextFun3")->text(), QStringLiteral(" Func (   5 ) = 1,0000"));
        QTest::mouseMove(g3->Image, QPoint(columnOf(g3, 3, 11), 20));
        QCOMPARE(label("StTextFun3")->text(), QStringLiteral(" Func (   3 ) = 0,0000"));

        // Convolution with it: entry N + 1 + k is the sum of the centred values 4 - k .. 6 - k.
        combo("CmbBoxAcCnvl")->setCurrentIndex(1);
        button("SpButtRunAcCnvl")->click();
        const TArrExtnd& c = tab().acExtract().Centred;
        QCOMPARE(double(tab().acExtract().AcResult[12]), double(c[4] + c[5] + c[6]));
        QCOMPARE(double(tab().acExtract().AcResult[12 + 2]), double(c[6] + c[7] + c[8]));

        QTest::keyClick(combo("CmbBoxFun3"), Qt::Key_Up);  // " Func ( X ) = 1 - X"
        QCOMPARE(combo("CmbBoxFun3")->currentIndex(), 2);
        QTest::mouseMove(g3->Image, QPoint(0, 20));
        QCOMPARE(label("StTextFun3")->text(), QStringLiteral(" Func (   0 ) = 1,0000"));
        QVERIFY(sink->silent());
    }

    void withoutAFragmentOnlyTheWarning()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(20, 10));
        openInMode(1);
        for (const char* name : {"StTextAcIW", "StTextAcINumPnt", "StTextFragME", "StTextFragDE"})
            QCOMPARE(label(name)->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral(" ------- "));
        QCOMPARE(tab().fragLampColor(), ResolveColor(clBtnFace));
        form->PageControl1->setCurrentIndex(2);
        QTest::mouseClick(image("ImgAcFrg"), Qt::LeftButton, {}, QPoint(1, 1));
        button("SpButtRunAcMD")->click();
        QCOMPARE(sink->warnings, QStringList{QStringLiteral("Фрагмент изображения не загружен")});
        QVERIFY(label("StTextME")->text().isEmpty());
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
        QCOMPARE(label("StTextFragME")->text(), FormatGeneral(m));
        QCOMPARE(label("StTextFragDE")->text(), FormatGeneral(FragmentVariance(frag, 'L', m)));
        QCOMPARE(tab().fragLampColor(), clWhite);
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral("5 %"));  // 50 of 1000 points
        QCOMPARE(label("StTextLightLevel")->text(),
                 FormatGeneral(m / form->histograms().record().MeanL * 100) + QStringLiteral(" %"));
        QVERIFY(label("StTextLightLevel")->text() != QStringLiteral(" ------- "));

        // The target image has no ratios to the fragment.
        button("SpButGistTrg")->click();
        QCOMPARE(label("StTextFragME")->text(), FormatGeneral(m));
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral(" ------- "));
        QCOMPARE(label("StTextLightLevel")->text(), QStringLiteral(" ------- "));
        button("SpButGistSrc")->click();
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral("5 %"));
        form->hide();

        // A black picture has a point ratio but no brightness ratio.
        QImage black(20, 20, QImage::Format_BGR888);
        black.fill(Qt::black);
        ws->SrcArr = test::arrayOf(black);
        AreaBitMapToImgTabColor(black, TRect{0, 0, 9, 9}, form->FragArr);
        openInMode(2);
        QCOMPARE(label("StTextFragDivSrc")->text(), QStringLiteral("25 %"));
        QCOMPARE(label("StTextLightLevel")->text(), QStringLiteral(" ------- "));
        QCOMPARE(label("StTextFragME")->text(), QStringLiteral("0"));
        QCOMPARE(tab().fragLampColor(), clWhite);
    }

    void closingResetsTheTab()
    {
        openWith(tenElevenTwelve());
        freezeAt(1, 1);
        combo("CmbBoxAcCnvl")->setCurrentIndex(1);
        pageControlAc()->setCurrentIndex(1);
        QTest::keyClick(combo("CmbBoxFun3"), Qt::Key_End);
        button("SpButtRunAcMD")->click();
        button("SpButtRunAcCnvl")->click();
        QTest::mouseMove(tab().graphFun()->Image, QPoint(0, 20));
        QVERIFY(!label("StTextFun3")->text().isEmpty());

        form->hide();
        QVERIFY(form->FragArr.empty());
        QCOMPARE(label("StTextChoiceStat")->text(), QStringLiteral("Кликните на изображении"));
        QCOMPARE(tab().choiceLampColor(), clYellow);
        QCOMPARE(QPoint(tab().acExtract().SelCol, tab().acExtract().SelRow), QPoint(-1, -1));
        QVERIFY(!tab().acExtract().StatReady);
        QVERIFY(tab().acExtract().Extract.empty() && tab().acExtract().Centred.empty() &&
                tab().acExtract().ConvFunc.empty() && tab().acExtract().AcResult.empty() &&
                tab().acExtract().GraphCentred.empty() && tab().acExtract().GraphAc.empty() &&
                tab().acExtract().GraphFunc.empty());
        for (const char* name : {"StTextME", "StTextDE", "StTextFun1", "StTextFun2", "StTextFun3"})
            QVERIFY2(label(name)->text().isEmpty(), name);
        for (TGraphXY* g : {tab().graphSrc(), tab().graphAc(), tab().graphFun()})
            QVERIFY(!hasPlotColour(g));
        // The fragment image holds nothing but the cross, which follows the mouse again.
        TCrossHairSelector* cross = form->crossHair();
        QVERIFY(cross->Active && cross->Tracking && !cross->Selected);
        const QImage& img = image("ImgAcFrg")->picture();
        const QColor face = ToQColor(clBtnFace);
        QCOMPARE(img.pixelColor(0, 0), face);  // pixels of the fragment that was there, off the cross
        QCOMPARE(img.pixelColor(2, 2), face);

        // Opened again: the choice boxes start over.
        openWith(tenElevenTwelve());
        QCOMPARE(combo("CmbBoxAcCnvl")->currentIndex(), 0);
        QCOMPARE(combo("CmbBoxFun3")->currentIndex(), 0);
        // The old point is gone: a run asks for a new one.
        button("SpButtRunAcMD")->click();
        QCOMPARE(sink->warnings,
                 QStringList{QStringLiteral("Вначале выберите координаты\r\n(кликните в поле изображения)")});
    }

    void openedFromTheMainWindowsMenu()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        form.reset();
        test::ScriptedDialogs dialogs;
        test::ScriptedColors colours;
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
        const auto text = [&](const char* name) { return test::findControl<QLabel>(hist, name)->text(); };
        TImageWidget* fragImage = test::findControl<TImageWidget>(hist, "ImgAcFrg");
        main.ShowModal = [&](QDialog& d) {
            ++shownCount;
            d.show();
            if (!QTest::qWaitForWindowExposed(&d))
                return 0;
            size =
                text("StTextAcIW") + QLatin1Char('x') + text("StTextAcIH") + QLatin1Char('=') + text("StTextAcINumPnt");
            divSrc = text("StTextFragDivSrc");
            shown = fragImage->picture().copy();
            // Sent straight to the image: the main window's last drag may still steer the test's mouse.
            QMouseEvent move(QEvent::MouseMove, QPointF(4, 3), fragImage->mapToGlobal(QPointF(4, 3)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(fragImage, &move);
            QTest::mouseClick(fragImage, Qt::LeftButton, {}, QPoint(4, 3));
            test::findControl<QToolButton>(hist, "SpButtChoiceB")->click();
            test::findControl<QToolButton>(hist, "SpButtRunAcMD")->click();
            me = text("StTextME");
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
        QVERIFY(hist.fragment().acExtract().Extract.empty());
        QVERIFY(sink->silent());
    }

private:
    void freezeAt(int x, int y)
    {
        QTest::mouseMove(image("ImgAcFrg"), QPoint(x, y));
        QTest::mouseClick(image("ImgAcFrg"), Qt::LeftButton, {}, QPoint(x, y));
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

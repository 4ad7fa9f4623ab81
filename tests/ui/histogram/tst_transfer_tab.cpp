#include "core/engine/img_service.h"
#include "core/histogram/histogram.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/transfer_function.h"
#include "histogram_fixture.h"
#include "ui/engine/qt_color.h"
#include "ui/engine/up_down.h"
#include "ui/histogram/histogram_tab.h"
#include "ui/histogram/transfer_tab.h"
#include "ui/transfer/point_editor.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>

using namespace ormica;

namespace {

void doubleClick(QWidget* w, Qt::MouseButton button, QPoint p)
{
    QTest::mousePress(w, button, {}, p);
    QTest::mouseRelease(w, button, {}, p);
    QTest::mouseDClick(w, button, {}, p);
    QTest::mouseRelease(w, button, {}, p);
}

// Chooses an item as the user does, which notifies even for the same item.
void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

class TstTransferTab : public QObject, test::THistogramFixture {
    Q_OBJECT

    QStringList memo() const { return control<QPlainTextEdit>("MemoRep")->toPlainText().split(QLatin1Char('\n')); }
    TTransferTab& tab() const { return form->transfer(); }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        makeWindow();
        form->setFileDialogs(&dialogs);
        dialogs.choices.clear();
    }
    void cleanup() { dropWindow(); }

    void createdWithItsLayoutAndStartingValues()
    {
        QCOMPARE(control<QFrame>("PanelConv")->size(), QSize(530, 530));
        QCOMPARE(image("ImageLTrg")->geometry(), QRect(1, 1, 16, 512));
        QCOMPARE(image("ImageConv")->geometry(), QRect(17, 1, 512, 512));
        QCOMPARE(image("ImageLSrc")->geometry(), QRect(17, 513, 512, 16));
        // Grey ramps: 255 at the top of the output ramp, 0 at the left of the input one.
        QCOMPARE(image("ImageLTrg")->picture().pixelColor(5, 0), QColor(255, 255, 255));
        QCOMPARE(image("ImageLTrg")->picture().pixelColor(5, 511), QColor(0, 0, 0));
        QCOMPARE(image("ImageLSrc")->picture().pixelColor(0, 3), QColor(0, 0, 0));
        QCOMPARE(image("ImageLSrc")->picture().pixelColor(300, 3), QColor(150, 150, 150));
        QCOMPARE(memo(),
                 (QStringList{QStringLiteral("Новая функция преобразования"), QStringLiteral(" Число точек : 2"),
                              QStringLiteral(" Список точек в координатах яркости :"), QStringLiteral(" X = 0\t Y = 0"),
                              QStringLiteral(" X = 255\t Y = 255")}));
        QCOMPARE(control<TUpDown>("UpDownX")->position(), 100);
        QCOMPARE(control<QLineEdit>("EdXE")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLineEdit>("EdXB")->text(), QStringLiteral("0"));
        QVERIFY(!control<QLineEdit>("EdXB")->isEnabled());
        QCOMPARE(control<QLineEdit>("EdLGrate")->text(), QStringLiteral("0"));
        QCOMPARE(combo("cbBoxMaxXNumb")->currentText(), QStringLiteral("16"));
        QCOMPARE(tab().formulaPointCount(), 16);
        QCOMPARE(button("TB1Run")->toolTip(),
                 QStringLiteral("Применить функцию преобразования к исходному изображению с результатом в финишном"));
        QVERIFY(sink->silent());
    }

    void drawRunAndSeeTheTargetAndItsHistogram()
    {
        const QImage source = test::patternImage(64, 48);
        ws->SrcArr = test::arrayOf(source);
        openInMode(1);
        form->PageControl1->setCurrentIndex(1);
        QCOMPARE(form->histograms().record().Count, 64 * 48);
        const long double sourceMean = form->histograms().record().MeanL;

        // A point high above the diagonal brightens the middle tones.
        doubleClick(image("ImageConv"), Qt::LeftButton, QPoint(256, 100));
        QCOMPARE(tab().editor()->Count(), 3u);
        QCOMPARE(memo().first(), QStringLiteral("Добавлена новая точка"));
        QSignalSpy written(form.get(), &TFormGistogram::targetWritten);
        button("TB1Run")->click();

        QVERIFY(!form->isVisible());
        QCOMPARE(written.count(), 1);
        TImgTabBGR expected;
        test::RecordingProgress progress;
        ConvertImageTab(ws->SrcArr, expected, tab().editor()->GetPoints(), progress);
        QVERIFY(test::sameArrays(ws->TrgArr, expected));
        QVERIFY(!test::sameArrays(ws->TrgArr, ws->SrcArr));
        QVERIFY(test::arrayHoldsPicture(ws->TrgArr, ws->target.picture()));
        // The target histogram is in front, computed from the new picture.
        QVERIFY(button("SpButGistTrg")->isChecked());
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        QCOMPARE(form->histograms().record().Count, 64 * 48);
        QVERIFY(form->histograms().record().MeanL > sourceMean + 10);
        QVERIFY(sink->silent());
    }

    // The strip under the editor shows the target's Light histogram as the run
    // will write it: from a sample while a point is dragged over more than a
    // megapixel, exactly once it is let go. The editor has the source's
    // behind the function, read again when the window opens again.
    void stripPredictsTheTargetTheRunWrites()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(1030, 1024));
        openInMode(1);
        form->PageControl1->setCurrentIndex(1);
        const auto lightOf = [](const TImgTabBGR& array) {
            const auto data = std::make_unique<TGistogramData>();
            CalculateAllGistogram(&array, nullptr, data.get());
            return data->GistL;
        };
        QCOMPARE(tab().editor()->BackgroundHistogram(), std::optional(lightOf(ws->SrcArr)));
        TImageWidget* strip = image("ImageTrgGist");
        // The strip and its captions take free room inside the tab.
        for (QWidget* added :
             std::initializer_list<QWidget*>{strip, label("LabelTrgGist"), label("LabelTrgGistMode")}) {
            QVERIFY(tab().rect().contains(added->geometry()));
            for (QWidget* other : tab().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY(other == added || !other->geometry().intersects(added->geometry()));
        }

        doubleClick(image("ImageConv"), Qt::LeftButton, QPoint(256, 100));
        QTest::mousePress(image("ImageConv"), Qt::LeftButton, {}, QPoint(259, 102));
        QMouseEvent move(QEvent::MouseMove, QPointF(300, 60), QPointF(300, 60), QPointF(300, 60), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(image("ImageConv"), &move);
        QVERIFY(!tab().predictionExact());
        QCOMPARE(label("LabelTrgGistMode")->text(), QStringLiteral("оценка по выборке"));
        const TGistogram& predicted = tab().predictedTarget();
        QVERIFY(std::abs(std::accumulate(predicted.begin(), predicted.end(), 0) - 1030 * 1024) < 256);
        QTest::mouseRelease(image("ImageConv"), Qt::LeftButton, {}, QPoint(300, 60));
        QVERIFY(tab().predictionExact());
        QCOMPARE(label("LabelTrgGistMode")->text(), QStringLiteral("точно"));

        // Each column of the strip is a bar of its level, the tallest full height.
        const QImage bars = strip->picture();
        const auto max = *std::max_element(predicted.begin(), predicted.end());
        for (int x = 0; x < bars.width(); ++x) {
            int ink = 0;
            for (int y = 0; y < bars.height(); ++y)
                ink += bars.pixelColor(x, y) != bars.pixelColor(0, 0);
            QCOMPARE(ink, int(std::lround(predicted[std::size_t(tab().editor()->XToBright(x))] * double(bars.height()) /
                                          max)));
        }

        // Its menu saves the counts through the dialogs the tab was given.
        const QString csv = dir.filePath(QStringLiteral("target.csv"));
        dialogs.choices.push_back(TFileChoice{csv, 1});
        auto* saveNumbers = strip->findChild<QAction*>(QStringLiteral("PlotSaveNumbers"));
        QVERIFY(saveNumbers);
        saveNumbers->trigger();
        QByteArray rows = "level,count\r\n";
        for (int i = 0; i < 256; ++i)
            rows += QByteArray::number(i) + ',' + QByteArray::number(predicted[std::size_t(i)]) + "\r\n";
        QCOMPARE(test::fileBytes(csv), rows);

        const TGistogram exact = predicted;
        button("TB1Run")->click();
        QCOMPARE(lightOf(ws->TrgArr), exact);

        ws->SrcArr = test::arrayOf(test::patternImage(40, 30, 7));
        openInMode(1);
        form->PageControl1->setCurrentIndex(1);
        QCOMPARE(tab().editor()->BackgroundHistogram(), std::optional(lightOf(ws->SrcArr)));
        QVERIFY(sink->silent());
    }

    void toolBarMakesInvertsAndKeepsFunctions()
    {
        tab().editor()->SetPoints({{0, 0}, {128, 64}, {255, 255}});
        button("TB1Save")->click();
        QCOMPARE(memo().first(), QStringLiteral("Выполнено временное сохранение"));
        button("TB1Neg")->click();
        QCOMPARE(memo().first(), QStringLiteral("Точки инвертированы по Y"));
        QCOMPARE(tab().funcPoints(), (TBrightPointArray{{0, 255}, {128, 191}, {255, 0}}));
        button("TB1New")->click();
        QCOMPARE(tab().funcPoints(), (TBrightPointArray{{0, 0}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral("Новая функция преобразования"));
        // The slot kept its own copy through the edits.
        button("TB1Load")->click();
        QCOMPARE(memo().first(), QStringLiteral("Загружено временное сохранение"));
        QCOMPARE(tab().editor()->GetPoints(), (TBrightPointArray{{0, 0}, {128, 64}, {255, 255}}));
    }

    void generatorsFillTheEditorAndTheReport()
    {
        choose(combo("cbBoxMaxXNumb"), 0);
        QCOMPARE(tab().formulaPointCount(), 4);
        choose(combo("cbBoxFuncFormula"), 3);  // square root
        QCOMPARE(tab().editor()->GetPoints(), (TBrightPointArray{{0, 0}, {85, 147}, {170, 208}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 4"));

        // XE in steps of 0.1 within 0.1 .. 2.0; the end of the range holds.
        control<TUpDown>("UpDownX")->step(false);
        QCOMPARE(control<QLineEdit>("EdXE")->text(),
                 QStringLiteral("0") + QLocale().decimalPoint() + QStringLiteral("9"));
        QCOMPARE(tab().formulaXE(), 0.9L);
        for (int i = 0; i < 30; ++i)
            control<TUpDown>("UpDownX")->step(true);
        QCOMPARE(control<QLineEdit>("EdXE")->text(), QStringLiteral("2"));
        for (int formula = 0; formula < 6; ++formula) {
            choose(combo("cbBoxFuncFormula"), formula);
            QCOMPARE(tab().funcPoints().size(), std::size_t(4));
        }
        QVERIFY(sink->silent());

        control<QTabWidget>("PageControlGen")->setCurrentIndex(1);
        choose(combo("cbBoxSectionNumb"), 3);
        for (int i = 0; i < 6; ++i)
            control<TUpDown>("UpDnLGrate")->step(true);
        QCOMPARE(control<QLineEdit>("EdLGrate")->text(), QStringLiteral("4"));
        choose(combo("cbBoxFuncType"), 1);
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 129"));
        QCOMPARE(tab().editor()->Count(), 129u);
        QVERIFY(sink->silent());

        // The type " Не выбрана" leaves the function alone.
        choose(combo("cbBoxFuncType"), 0);
        QCOMPARE(tab().editor()->Count(), 129u);
    }

    // A drag shows the brightness of the point beside it; each edit is
    // reported under its own title with the points it left.
    void editsAreReportedUnderTheirTitles()
    {
        tab().editor()->SetPoints({{0, 0}, {50, 106}, {255, 255}});
        QTest::mousePress(image("ImageConv"), Qt::LeftButton, {}, QPoint(103, 303));
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), QPointF(200, 150), QPointF(200, 150), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(image("ImageConv"), &move);
        // round(200 * 255 / 512) and 255 - round(150 * 255 / 512), 16 pixels right of the point and one below.
        const QString readout = QStringLiteral("100, 180");
        const QFont font = image("ImageConv")->font();
        const QFontMetrics fm(font);
        QImage expected(fm.horizontalAdvance(readout), fm.height(), QImage::Format_BGR888);
        expected.fill(ToQColor(tab().editor()->BackColor));
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(ToQColor(tab().editor()->PenColor));
            painter.drawText(expected.rect(), Qt::AlignLeft | Qt::AlignTop, readout);
        }
        QCOMPARE(image("ImageConv")->picture().copy(QRect(QPoint(216, 151), expected.size())), expected);
        QTest::mouseRelease(image("ImageConv"), Qt::LeftButton, {}, QPoint(200, 150));
        const QStringList head{QStringLiteral(" Список точек в координатах яркости :"),
                               QStringLiteral(" X = 0\t Y = 0")};
        const QString last = QStringLiteral(" X = 255\t Y = 255");
        QCOMPARE(memo(), QStringList{QStringLiteral("Выбранная точка сдвинута")}
                             << QStringLiteral(" Число точек : 3") << head << QStringLiteral(" X = 100\t Y = 180")
                             << last);

        doubleClick(image("ImageConv"), Qt::RightButton, QPoint(203, 153));
        QCOMPARE(memo(), QStringList{QStringLiteral("Одна из точек удалена")} << QStringLiteral(" Число точек : 2")
                                                                              << head << last);
        QVERIFY(sink->silent());
    }

    void savesAndLoadsFunctionFiles()
    {
        tab().editor()->SetPoints({{0, 0}, {100, 40}, {200, 220}, {255, 255}});
        const QString base = dir.filePath(QStringLiteral("curve"));
        dialogs.choices.push_back(TFileChoice{base, 1});
        button("TB1SaveToFile")->click();
        QCOMPARE(dialogs.askedDirs.back(), tab().functionDir());
        QCOMPARE(test::fileBytes(base + ".fcc"), QByteArray("0\t0\r\n100\t40\r\n200\t220\r\n255\t255\r\n"));
        QVERIFY(sink->questions.isEmpty());

        // The same name again: asked first; No keeps the old file.
        button("TB1New")->click();
        dialogs.choices.push_back(TFileChoice{base + ".FCC", 1});
        QVERIFY(test::writeFile(base + ".FCC", "keep"));
        sink->answers.push_back(false);
        button("TB1SaveToFile")->click();
        QCOMPARE(sink->questions, QStringList{QStringLiteral("Такой файл уже существует.\r\nПЕРЕЗАПИСАТЬ?")});
        QCOMPARE(test::fileBytes(base + ".FCC"), QByteArray("keep"));
        // Yes puts the function of the editor in its place.
        dialogs.choices.push_back(TFileChoice{base + ".FCC", 1});
        sink->answers.push_back(true);
        button("TB1SaveToFile")->click();
        QCOMPARE(sink->questions.size(), 2);
        QCOMPARE(test::fileBytes(base + ".FCC"), QByteArray("0\t0\r\n255\t255\r\n"));

        dialogs.choices.push_back(TFileChoice{base + ".fcc", 1});
        button("TB1LoadFromFile")->click();
        QCOMPARE(tab().editor()->GetPoints(), (TBrightPointArray{{0, 0}, {100, 40}, {200, 220}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 4"));

        // Clamped values, and a first pair that makes the function descend.
        QVERIFY(test::writeFile(base + "2.fcc", "-5\t20\r\n128\t64\r\n400\t255\r\n"));
        dialogs.choices.push_back(TFileChoice{base + "2.fcc", 1});
        button("TB1LoadFromFile")->click();
        QCOMPARE(tab().editor()->GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));
        QCOMPARE(memo().mid(2), (QStringList{QStringLiteral(" X = 0\t Y = 20"), QStringLiteral(" X = 128\t Y = 64"),
                                             QStringLiteral(" X = 255\t Y = 255")}));

        // Bad numbers: refused with the counts, the editor keeps its function.
        QVERIFY(test::writeFile(base + "3.fcc", "1x\t5\n7\ty\n"));
        dialogs.choices.push_back(TFileChoice{base + "3.fcc", 1});
        button("TB1LoadFromFile")->click();
        QCOMPARE(sink->warnings, QStringList{FccErrorCountsText(1, 1)});
        QCOMPARE(tab().editor()->GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));

        // Cancelled dialogs change nothing.
        button("TB1LoadFromFile")->click();
        button("TB1SaveToFile")->click();
        QCOMPARE(tab().editor()->Count(), 3u);
    }

private:
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
};

QTEST_MAIN(TstTransferTab)
#include "tst_transfer_tab.moc"

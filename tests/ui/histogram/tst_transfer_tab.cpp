#include "core/engine/img_service.h"
#include "core/transfer/fcc_file.h"
#include "core/transfer/transfer_function.h"
#include "recorders.h"
#include "test_workspace.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/qt_color.h"
#include "ui/engine/up_down.h"
#include "ui/histogram/histogram_window.h"
#include "ui/transfer/point_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <memory>

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

class TstTransferTab : public QObject {
    Q_OBJECT

    QStringList memo() const { return form->MemoRep->toPlainText().split(QLatin1Char('\n')); }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        ws = std::make_unique<test::TTestWorkspace>();
        sink = std::make_unique<test::RecordingSink>();
        form = std::make_unique<TFormGistogram>(*ws);
        form->setFileDialogs(&dialogs);
        dialogs.choices.clear();
    }
    void cleanup()
    {
        form.reset();
        sink.reset();
        ws.reset();
    }

    void createdWithItsLayoutAndStartingValues()
    {
        QCOMPARE(form->PanelConv->size(), QSize(530, 530));
        QCOMPARE(form->ImageLTrg->geometry(), QRect(1, 1, 16, 512));
        QCOMPARE(form->ImageConv->geometry(), QRect(17, 1, 512, 512));
        QCOMPARE(form->ImageLSrc->geometry(), QRect(17, 513, 512, 16));
        // Grey ramps: 255 at the top of the output ramp, 0 at the left of the input one.
        QCOMPARE(form->ImageLTrg->picture().pixelColor(5, 0), QColor(255, 255, 255));
        QCOMPARE(form->ImageLTrg->picture().pixelColor(5, 511), QColor(0, 0, 0));
        QCOMPARE(form->ImageLSrc->picture().pixelColor(0, 3), QColor(0, 0, 0));
        QCOMPARE(form->ImageLSrc->picture().pixelColor(300, 3), QColor(150, 150, 150));
        QCOMPARE(memo(),
                 (QStringList{QStringLiteral("Новая функция преобразования"), QStringLiteral(" Число точек : 2"),
                              QStringLiteral(" Список точек в координатах яркости :"), QStringLiteral(" X = 0\t Y = 0"),
                              QStringLiteral(" X = 255\t Y = 255")}));
        QCOMPARE(form->UpDownX->position(), 100);
        QCOMPARE(form->EdXE->text(), QStringLiteral("1"));
        QCOMPARE(form->EdXB->text(), QStringLiteral("0"));
        QVERIFY(!form->EdXB->isEnabled());
        QCOMPARE(form->EdLGrate->text(), QStringLiteral("0"));
        QCOMPARE(form->cbBoxMaxXNumb->currentText(), QStringLiteral("16"));
        QCOMPARE(form->FormulaPointCount, 16);
        QCOMPARE(form->TB1Run->toolTip(),
                 QStringLiteral("Применить функцию преобразования к исходному изображению с результатом в финишном"));
        QVERIFY(sink->silent());
    }

    void drawRunAndSeeTheTargetAndItsHistogram()
    {
        const QImage source = test::patternImage(64, 48);
        ws->SrcArr = test::arrayOf(source);
        form->GistogramMode = 1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->PageControl1->setCurrentIndex(1);
        QCOMPARE(form->Gistogram.Count, 64 * 48);
        const long double sourceMean = form->Gistogram.MeanL;

        // A point high above the diagonal brightens the middle tones.
        doubleClick(form->ImageConv, Qt::LeftButton, QPoint(256, 100));
        QCOMPARE(form->editor()->Count(), 3u);
        QCOMPARE(memo().first(), QStringLiteral("Добавлена новая точка"));
        QSignalSpy written(form.get(), &TFormGistogram::targetWritten);
        form->TB1Run->click();

        QVERIFY(!form->isVisible());
        QCOMPARE(written.count(), 1);
        TImgTabBGR expected;
        test::RecordingProgress progress;
        ConvertImageTab(ws->SrcArr, expected, form->editor()->GetPoints(), progress);
        QVERIFY(test::sameArrays(ws->TrgArr, expected));
        QVERIFY(!test::sameArrays(ws->TrgArr, ws->SrcArr));
        QVERIFY(test::arrayHoldsPicture(ws->TrgArr, ws->target.picture()));
        // The target histogram is in front, computed from the new picture.
        QVERIFY(form->SpButGistTrg->isChecked());
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        QCOMPARE(form->Gistogram.Count, 64 * 48);
        QVERIFY(form->Gistogram.MeanL > sourceMean + 10);
        QVERIFY(sink->silent());
    }

    void toolBarMakesInvertsAndKeepsFunctions()
    {
        form->editor()->SetPoints({{0, 0}, {128, 64}, {255, 255}});
        form->TB1Save->click();
        QCOMPARE(memo().first(), QStringLiteral("Выполнено временное сохранение"));
        form->TB1Neg->click();
        QCOMPARE(memo().first(), QStringLiteral("Точки инвертированы по Y"));
        QCOMPARE(form->FuncPoints, (TBrightPointArray{{0, 255}, {128, 191}, {255, 0}}));
        form->TB1New->click();
        QCOMPARE(form->FuncPoints, (TBrightPointArray{{0, 0}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral("Новая функция преобразования"));
        // The slot kept its own copy through the edits.
        form->TB1Load->click();
        QCOMPARE(memo().first(), QStringLiteral("Загружено временное сохранение"));
        QCOMPARE(form->editor()->GetPoints(), (TBrightPointArray{{0, 0}, {128, 64}, {255, 255}}));
    }

    void generatorsFillTheEditorAndTheReport()
    {
        choose(form->cbBoxMaxXNumb, 0);
        QCOMPARE(form->FormulaPointCount, 4);
        choose(form->cbBoxFuncFormula, 3);  // square root
        QCOMPARE(form->editor()->GetPoints(), (TBrightPointArray{{0, 0}, {85, 147}, {170, 208}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 4"));

        // XE in steps of 0.1 within 0.1 .. 2.0; the end of the range holds.
        form->UpDownX->step(false);
        QCOMPARE(form->EdXE->text(), QStringLiteral("0") + QLocale().decimalPoint() + QStringLiteral("9"));
        QCOMPARE(form->FormulaXE, 0.9L);
        for (int i = 0; i < 30; ++i)
            form->UpDownX->step(true);
        QCOMPARE(form->EdXE->text(), QStringLiteral("2"));
        for (int formula = 0; formula < 6; ++formula) {
            choose(form->cbBoxFuncFormula, formula);
            QCOMPARE(form->FuncPoints.size(), std::size_t(4));
        }
        QVERIFY(sink->silent());

        form->PageControlGen->setCurrentIndex(1);
        choose(form->cbBoxSectionNumb, 3);
        for (int i = 0; i < 6; ++i)
            form->UpDnLGrate->step(true);
        QCOMPARE(form->EdLGrate->text(), QStringLiteral("4"));
        choose(form->cbBoxFuncType, 1);
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 129"));
        QCOMPARE(form->editor()->Count(), 129u);
        QVERIFY(sink->silent());

        // The type " Не выбрана" leaves the function alone.
        choose(form->cbBoxFuncType, 0);
        QCOMPARE(form->editor()->Count(), 129u);
    }

    // A drag shows the brightness of the point beside it; each edit is
    // reported under its own title with the points it left.
    void editsAreReportedUnderTheirTitles()
    {
        form->editor()->SetPoints({{0, 0}, {50, 106}, {255, 255}});
        QTest::mousePress(form->ImageConv, Qt::LeftButton, {}, QPoint(103, 303));
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 150), QPointF(200, 150), QPointF(200, 150), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->ImageConv, &move);
        // round(200 * 255 / 512) and 255 - round(150 * 255 / 512), 16 pixels right of the point and one below.
        const QString readout = QStringLiteral("100, 180");
        const QFont font = form->ImageConv->font();
        const QFontMetrics fm(font);
        QImage expected(fm.horizontalAdvance(readout), fm.height(), QImage::Format_BGR888);
        expected.fill(ToQColor(form->editor()->BackColor));
        {
            QPainter painter(&expected);
            painter.setFont(font);
            painter.setPen(ToQColor(form->editor()->PenColor));
            painter.drawText(expected.rect(), Qt::AlignLeft | Qt::AlignTop, readout);
        }
        QCOMPARE(form->ImageConv->picture().copy(QRect(QPoint(216, 151), expected.size())), expected);
        QTest::mouseRelease(form->ImageConv, Qt::LeftButton, {}, QPoint(200, 150));
        const QStringList head{QStringLiteral(" Список точек в координатах яркости :"),
                               QStringLiteral(" X = 0\t Y = 0")};
        const QString last = QStringLiteral(" X = 255\t Y = 255");
        QCOMPARE(memo(), QStringList{QStringLiteral("Выбранная точка сдвинута")}
                             << QStringLiteral(" Число точек : 3") << head << QStringLiteral(" X = 100\t Y = 180")
                             << last);

        doubleClick(form->ImageConv, Qt::RightButton, QPoint(203, 153));
        QCOMPARE(memo(), QStringList{QStringLiteral("Одна из точек удалена")} << QStringLiteral(" Число точек : 2")
                                                                              << head << last);
        QVERIFY(sink->silent());
    }

    void savesAndLoadsFunctionFiles()
    {
        form->editor()->SetPoints({{0, 0}, {100, 40}, {200, 220}, {255, 255}});
        const QString base = dir.filePath(QStringLiteral("curve"));
        dialogs.choices.push_back(TFileChoice{base, 1});
        form->TB1SaveToFile->click();
        QCOMPARE(dialogs.askedDirs.back(), form->functionDir());
        QCOMPARE(test::fileBytes(base + ".fcc"), QByteArray("0\t0\r\n100\t40\r\n200\t220\r\n255\t255\r\n"));
        QVERIFY(sink->questions.isEmpty());

        // The same name again: asked first; No keeps the old file.
        form->TB1New->click();
        dialogs.choices.push_back(TFileChoice{base + ".FCC", 1});
        QVERIFY(test::writeFile(base + ".FCC", "keep"));
        sink->answers.push_back(false);
        form->TB1SaveToFile->click();
        QCOMPARE(sink->questions, QStringList{QStringLiteral("Такой файл уже существует.\r\nПЕРЕЗАПИСАТЬ?")});
        QCOMPARE(test::fileBytes(base + ".FCC"), QByteArray("keep"));
        // Yes puts the function of the editor in its place.
        dialogs.choices.push_back(TFileChoice{base + ".FCC", 1});
        sink->answers.push_back(true);
        form->TB1SaveToFile->click();
        QCOMPARE(sink->questions.size(), 2);
        QCOMPARE(test::fileBytes(base + ".FCC"), QByteArray("0\t0\r\n255\t255\r\n"));

        dialogs.choices.push_back(TFileChoice{base + ".fcc", 1});
        form->TB1LoadFromFile->click();
        QCOMPARE(form->editor()->GetPoints(), (TBrightPointArray{{0, 0}, {100, 40}, {200, 220}, {255, 255}}));
        QCOMPARE(memo().first(), QStringLiteral(" Число точек : 4"));

        // Clamped values, and a first pair that makes the function descend.
        QVERIFY(test::writeFile(base + "2.fcc", "-5\t20\r\n128\t64\r\n400\t255\r\n"));
        dialogs.choices.push_back(TFileChoice{base + "2.fcc", 1});
        form->TB1LoadFromFile->click();
        QCOMPARE(form->editor()->GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));
        QCOMPARE(memo().mid(2), (QStringList{QStringLiteral(" X = 0\t Y = 20"), QStringLiteral(" X = 128\t Y = 64"),
                                             QStringLiteral(" X = 255\t Y = 255")}));

        // Bad numbers: refused with the counts, the editor keeps its function.
        QVERIFY(test::writeFile(base + "3.fcc", "1x\t5\n7\ty\n"));
        dialogs.choices.push_back(TFileChoice{base + "3.fcc", 1});
        form->TB1LoadFromFile->click();
        QCOMPARE(sink->warnings, QStringList{FccErrorCountsText(1, 1)});
        QCOMPARE(form->editor()->GetPoints(), (TBrightPointArray{{0, 255}, {128, 64}, {255, 0}}));

        // Cancelled dialogs change nothing.
        form->TB1LoadFromFile->click();
        form->TB1SaveToFile->click();
        QCOMPARE(form->editor()->Count(), 3u);
    }

private:
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<test::TTestWorkspace> ws;
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TFormGistogram> form;
};

QTEST_MAIN(TstTransferTab)
#include "tst_transfer_tab.moc"

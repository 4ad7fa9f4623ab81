#include "core/app/undo_history.h"
#include "core/engine/bmp_file.h"
#include "core/engine/geometry.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "recorders.h"
#include "test_workspace.h"
#include "ui/app/about_box.h"
#include "ui/app/main_window.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/region_selector.h"
#include "ui/filter/filter_window.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_window.h"
#include "ui/scale/scale_dialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QtTest>

using namespace ormica;

namespace {

class ScriptedColors : public TColorQuestion {
public:
    std::optional<TColor> askColor(TColor initial) override
    {
        asked.push_back(initial);
        return answer;
    }
    std::optional<TColor> answer;
    std::vector<TColor> asked;
};

}  // namespace

class TstMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ws = std::make_unique<test::TTestWorkspace>();
        sink = std::make_unique<test::RecordingSink>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        colors = std::make_unique<ScriptedColors>();
        form = std::make_unique<TFormOrmica>(*ws, dialogs.get(), colors.get());
    }
    void cleanup()
    {
        form.reset();
        dialogs.reset();
        sink.reset();
        ws.reset();
    }

    void startsWithItsTitleTabsAndBlankImages()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("  Ormica Ver 3.5.3.1. (ДЛЯ УЧЕБНОГО ПРОЦЕССА)"));
        QCOMPARE(form->PageControl1->count(), 2);
        QCOMPARE(form->PageControl1->tabText(0), QStringLiteral("Основное изображение"));
        QCOMPARE(form->PageControl1->tabText(1), QStringLiteral("Финишное изображение"));
        QVERIFY(form->PanelRotate->isHidden());
        QCOMPARE(form->size(), QSize(871, 697));
        QCOMPARE(form->minimumSize(), QSize(480, 350));
        QVERIFY(ws->SrcArr.empty());
        QVERIFY(ws->TrgArr.empty());
        QCOMPARE(ws->SrcImageRef, static_cast<TImageControl*>(form->ImageMain));
        QCOMPARE(ws->TrgImageRef, static_cast<TImageControl*>(form->TargetImage));
        QCOMPARE(ws->ProgramDir, QCoreApplication::applicationDirPath());
        QCOMPARE(ws->WorkingFilter, TFilterData{});

        const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
        QCOMPARE(form->ImageMain->picture().size(), QSize(161, 145));
        QCOMPARE(form->TargetImage->picture().size(), QSize(145, 129));
        QCOMPARE(form->ImageMain->picture().pixelColor(80, 70), face);
        QCOMPARE(form->TargetImage->picture().format(), QImage::Format_BGR888);
        for (TImageControl* image :
             {static_cast<TImageControl*>(form->ImageMain), static_cast<TImageControl*>(form->TargetImage)}) {
            QVERIFY(image->imageDesc());
            QCOMPARE(image->imageDesc()->FileName, QStringLiteral("NoName"));
            QCOMPARE(int(image->imageDesc()->SourceKind), 255);
            QCOMPARE(int(image->imageDesc()->PixelFormat), 8);
        }
        QVERIFY(!form->lampBlinking());
        QCOMPARE(form->stxtPointColor->toolTip(), QStringLiteral("Цвет пикселя в начальной точке выделения"));

        // With empty arrays an operation has nothing to work on.
        form->TBRMirrorLR->click();
        form->TBRRot90Plus->click();
        QVERIFY(ws->SrcArr.empty());
        QVERIFY(ws->TrgArr.empty());
        QVERIFY(sink->silent());
    }

    void loadingFillsTheArrayAndNamesTheTab()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        EncodeJpegFile(test::patternImage(50, 40), file, 100, false, nullptr);

        dialogs->choices.push_back(TFileChoice{file, 1});
        form->MMLoadToSrcClick();
        QCOMPARE(form->statusText(3), QStringLiteral(" Загрузка изображения успешно завершена"));
        QVERIFY(!form->lampBlinking());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(form->windowTitle(),
                 TFormOrmica::kCaption + QStringLiteral(" Файл основного изображения : photo.jpg"));
        QCOMPARE(form->ImageMain->picture().size(), QSize(50, 40));
        QVERIFY(test::arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()));
        QVERIFY(ws->TrgArr.empty());

        dialogs->choices.push_back(TFileChoice{file, 1});
        form->MMLoadToDestClick();
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QCOMPARE(form->windowTitle(),
                 TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : photo.jpg"));
        QVERIFY(test::arrayHoldsPicture(ws->TrgArr, form->TargetImage->picture()));
        QVERIFY(sink->silent());
    }

    void unsuccessfulLoadKeepsTabTitleAndImage_data()
    {
        QTest::addColumn<QString>("file");  // empty: the dialog is cancelled
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("panel3");
        QTest::newRow("cancelled") << QString() << 1 << QString();
        QTest::newRow("1-bit BMP refused") << QStringLiteral("mono.bmp") << 2
                                           << QStringLiteral(" ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в файле");
        QTest::newRow("BMP under the JPEG filter") << QStringLiteral("plain.bmp") << 1 << QString();
    }
    void unsuccessfulLoadKeepsTabTitleAndImage()
    {
        QFETCH(QString, file);
        QFETCH(int, filterIndex);
        QFETCH(QString, panel3);
        QTemporaryDir dir;
        QImage mono(8, 8, QImage::Format_Mono);
        mono.fill(1);
        QVERIFY(mono.save(dir.filePath(QStringLiteral("mono.bmp")), "BMP"));
        QVERIFY(WriteBmpFile(test::patternImage(12, 9, 5), dir.filePath(QStringLiteral("plain.bmp"))));
        const QString src = dir.filePath(QStringLiteral("src.bmp"));
        const QString trg = dir.filePath(QStringLiteral("trg.bmp"));
        QVERIFY(WriteBmpFile(test::patternImage(30, 20, 3), src));
        QVERIFY(WriteBmpFile(test::patternImage(25, 15, 4), trg));

        // Both images loaded; the target's tab is the one shown.
        dialogs->choices.push_back(TFileChoice{src, 2});
        form->MMLoadToSrcClick();
        dialogs->choices.push_back(TFileChoice{trg, 2});
        form->MMLoadToDestClick();
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        const QString title = form->windowTitle();
        QCOMPARE(title, TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : trg.bmp"));
        const QImage before = form->ImageMain->picture();
        const TImgTabBGR arrBefore = ws->SrcArr;

        if (file.isEmpty())
            dialogs->choices.push_back(std::nullopt);
        else
            dialogs->choices.push_back(TFileChoice{dir.filePath(file), filterIndex});
        form->MMLoadToSrcClick();
        QCOMPARE(dialogs->askedIndexes.size(), std::size_t(3));
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->statusText(3), panel3);
        QVERIFY(!form->lampBlinking());
        QCOMPARE(form->ImageMain->picture(), before);
        QVERIFY(ws->SrcArr.sameAs(arrBefore));
        QCOMPARE(form->ImageMain->imageDesc()->FileName, src);
        QVERIFY(sink->silent());
    }

    void damagedFileShowsTheDecoderErrorAndKeepsTheImage()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.jpg"));
        EncodeJpegFile(test::patternImage(30, 20), good, 100, false, nullptr);
        dialogs->choices.push_back(TFileChoice{good, 1});
        form->MMLoadToSrcClick();
        const QImage before = form->ImageMain->picture();
        const TImgTabBGR arrBefore = ws->SrcArr;

        const QString bad = dir.filePath(QStringLiteral("bad.jpg"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xD8\xFF\xE0 not really a picture");
        f.close();
        dialogs->choices.push_back(TFileChoice{bad, 1});
        form->MMLoadToSrcClick();
        QCOMPARE(sink->errors.size(), 1);
        QVERIFY(sink->errors[0].contains(QStringLiteral("bad.jpg")));
        QVERIFY(!form->lampBlinking());
        QVERIFY(form->statusText(3).isEmpty());
        QCOMPARE(form->ImageMain->picture(), before);
        QVERIFY(ws->SrcArr.sameAs(arrBefore));
        QCOMPARE(form->ImageMain->imageDesc()->FileName, good);
    }

    void savingWritesAndRenamesTheTab()
    {
        QTemporaryDir dir;
        form->TargetImage->setPicture(test::patternImage(20, 10));
        dialogs->choices.push_back(TFileChoice{dir.filePath(QStringLiteral("result")), 2});
        form->MMSaveFromDestClick();
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("result.bmp"))));
        QCOMPARE(form->statusText(3), QStringLiteral(" Сохранеие изображения успешно завершено"));
        QCOMPARE(form->windowTitle(),
                 TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : result.bmp"));

        // A save that cannot be written ends with the error box.
        dialogs->choices.push_back(TFileChoice{dir.filePath(QStringLiteral("no/such/dir/x.jpg")), 1});
        form->MMSaveFromDestClick();
        QCOMPARE(sink->errors.size(), 1);
        QVERIFY(!form->lampBlinking());
    }

    void savingTheSourceLeavesTheSelectionFrameOut()
    {
        showForm();
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("in.bmp"));
        QVERIFY(WriteBmpFile(test::patternImage(60, 45, 8), file));
        dialogs->choices.push_back(TFileChoice{file, 2});
        form->MMLoadToSrcClick();
        const QImage loaded = form->ImageMain->picture();
        QCOMPARE(loaded, test::patternImage(60, 45, 8));

        drag(QPoint(5, 5), QPoint(50, 35));
        QVERIFY(form->ImageMain->picture() != loaded);  // the frame is drawn into the picture
        dialogs->choices.push_back(TFileChoice{dir.filePath(QStringLiteral("out.bmp")), 2});
        form->MMSaveFromSrcClick();
        const QString bmp = dir.filePath(QStringLiteral("out.bmp"));
        QCOMPARE(form->statusText(3), QStringLiteral(" Сохранеие изображения успешно завершено"));
        QCOMPARE(ReadBmpPixels(bmp, ReadBmpHeader(bmp)), loaded);
        QCOMPARE(form->ImageMain->picture(), loaded);
        QCOMPARE(form->fragment().EndX, 50);  // the rectangle is kept

        // A new frame, saved as JPEG: the file decodes as the frameless
        // picture does after the same encoding.
        drag(QPoint(10, 8), QPoint(40, 30));
        QVERIFY(form->ImageMain->picture() != loaded);
        dialogs->choices.push_back(TFileChoice{dir.filePath(QStringLiteral("out.jpg")), 1});
        form->MMSaveFromSrcClick();
        const QString reference = dir.filePath(QStringLiteral("reference.jpg"));
        EncodeJpegFile(loaded, reference, 100, false, nullptr);
        QCOMPARE(DecodeJpegFile(dir.filePath(QStringLiteral("out.jpg")), nullptr), DecodeJpegFile(reference, nullptr));
        QCOMPARE(form->ImageMain->picture(), loaded);
        QCOMPARE(form->windowTitle(), TFormOrmica::kCaption + QStringLiteral(" Файл основного изображения : out.jpg"));
        QVERIFY(sink->silent());
    }

    void lampBlinksUntilReset()
    {
        form->SetAttention(true, clYellow, QStringLiteral(" текст"));
        QCOMPARE(form->statusText(3), QStringLiteral(" текст"));
        QVERIFY(form->lampBlinking());
        QCOMPARE(form->lampColor(), clYellow);
        QTRY_VERIFY_WITH_TIMEOUT(form->lampColor() != clYellow, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(form->lampColor() == clYellow, 1000);
        form->ResetIndicators();
        QVERIFY(!form->lampBlinking());
        QVERIFY(form->lampColor() != clYellow);
        QVERIFY(form->statusText(3).isEmpty());
    }

    void tabClickShowsThatPage()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTabBar* bar = form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QTRY_COMPARE(form->windowTitle(),
                     TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : NoName"));
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

    void menusHoldEveryCommand_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("enabled");
        const struct {
            const char* path;
            bool enabled;
        } rows[] = {
            {"Файлы/Загрузить/Основное изображение", true},
            {"Файлы/Загрузить/Финишное изображение", true},
            {"Файлы/Загрузить/Импорт из  *.TXT файлов", false},
            {"Файлы/Сохранить/Основное изображение", true},
            {"Файлы/Сохранить/Финишное изображение", true},
            {"Файлы/Сохранить/Экспорт в *.TXT файл", false},
            {"Файлы/Выход", true},
            {"Вид/Вертикальная прокрутка", true},
            {"Вид/Плавная прокрутка", true},
            {"Вид/Показывать подсказки", true},
            {"Вид/Панель вращения и масштаба", true},
            {"Редактирование/Отменить", false},
            {"Редактирование/Повторить", false},
            {"Редактирование/Clipboard/Копировать в Clipboard", true},
            {"Редактирование/Clipboard/Вставить из Clipboard", true},
            {"Редактирование/Копировать/Основное в финишное", true},
            {"Редактирование/Копировать/Финишное в основное", true},
            {"Редактирование/Очистить/Основное изображение", true},
            {"Редактирование/Очистить/Финишное изображение", true},
            {"Редактирование/Обрезка краев", true},
            {"Редактирование/Масштабирование", false},
            {"Редактирование/Обесцветить", true},
            {"Операции/Гистограммы/ Только гистограммы", false},
            {"Операции/Гистограммы/Гистограммы и фрагмент", false},
            {"Операции/Фильтры", false},
            {"О программе", true},
        };
        for (const auto& r : rows)
            QTest::newRow(r.path) << QString::fromUtf8(r.path) << r.enabled;
    }
    void menusHoldEveryCommand()
    {
        QFETCH(QString, path);
        QFETCH(bool, enabled);
        TToolWindows windows;
        QDialog about;
        windows.about = &about;
        form->setToolWindows(windows);
        const QStringList parts = path.split(QLatin1Char('/'));
        QList<QAction*> actions = form->menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& part : parts) {
            found = nullptr;
            for (QAction* a : actions)
                if (a->text() == part)
                    found = a;
            QVERIFY2(found, qPrintable(part));
            if (found->menu())
                actions = found->menu()->actions();
        }
        QCOMPARE(found->isEnabled(), enabled);
    }

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

    void clipboardCopyAndPaste()
    {
        showForm();
        const QImage picture = test::patternImage(30, 20, 6);
        giveSource(picture);
        drag(QPoint(2, 2), QPoint(20, 15));  // the frame must not go to the clipboard
        form->MMClipCopySRC->trigger();
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_BGR888), picture);
        form->MMMinSrc->trigger();
        form->MMClipPasteSRC->trigger();
        QCOMPARE(form->ImageMain->picture(), picture);
        QCOMPARE(form->statusText(3), QStringLiteral(" Выполнена вставка изображения из Clipboard"));
        QCOMPARE(form->windowTitle(),
                 TFormOrmica::kCaption + QStringLiteral(" Файл основного изображения : Clipboard"));
        checkInvariant();
        // A press after the paste leaves the new picture clean.
        QTest::mouseClick(form->ImageMain, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form->ImageMain->picture(), picture);
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

    void aboutBoxShowsModally()
    {
        TFormAbout about;
        TToolWindows windows;
        windows.about = &about;
        form->setToolWindows(windows);
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
        TToolWindows windows;
        windows.histogram = &hist;
        form->setToolWindows(windows);
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
        TToolWindows windows;
        windows.histogram = &hist;
        form->setToolWindows(windows);
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
        TToolWindows windows;
        windows.filter = &filter;
        form->setToolWindows(windows);
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
        TToolWindows windows;
        windows.scale = &scale;
        form->setToolWindows(windows);
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
        TToolWindows windows;
        windows.histogram = &hist;
        form->setToolWindows(windows);
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

    void filesGivenByNameOrDroppedLoadAsTheLoadCommandDoes()
    {
        showForm();
        QTemporaryDir dir;
        const QImage source = test::patternImage(30, 20, 2);
        const QImage target = test::patternImage(12, 9, 3);
        const QString bmp = dir.filePath(QStringLiteral("a.bmp"));
        const QString jpg = dir.filePath(QStringLiteral("b.JPG"));
        QVERIFY(WriteBmpFile(source, bmp));
        QVERIFY(target.save(jpg, "JPEG", 100));

        form->OpenFile(jpg, 1);
        form->OpenFile(bmp, 0);
        QCOMPARE(form->ImageMain->picture(), source);
        QCOMPARE(form->TargetImage->picture().size(), QSize(12, 9));
        QCOMPARE(form->ImageMain->imageDesc()->FileName, bmp);
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        checkInvariant();
        QVERIFY(sink->errors.isEmpty());

        // A file that cannot be loaded: its box, and both pictures stay.
        form->OpenFile(dir.filePath(QStringLiteral("missing.bmp")), 0);
        QCOMPARE(sink->errors.size(), 1);
        QCOMPARE(form->ImageMain->picture(), source);

        // Dropped on the target tab: into the target image.
        form->ShowPage(1);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(bmp)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        QCOMPARE(form->TargetImage->picture(), source);
        checkInvariant();

        // A WebP dropped on the source tab loads by its extension, and the drop is a step to undo.
        const QString webp = dir.filePath(QStringLiteral("c.webp"));
        QVERIFY(test::patternImage(17, 11, 4).save(webp, "WEBP", 100));
        form->ShowPage(0);
        QMimeData webpMime;
        webpMime.setUrls({QUrl::fromLocalFile(webp)});
        QDragEnterEvent webpEnter(QPoint(50, 50), Qt::CopyAction, &webpMime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &webpEnter);
        QDropEvent webpDrop(QPointF(50, 50), Qt::CopyAction, &webpMime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &webpDrop);
        QCOMPARE(form->ImageMain->picture(), test::patternImage(17, 11, 4));
        QCOMPARE(form->statusText(3), QStringLiteral(" Загрузка изображения WebP успешно завершена"));
        form->MMUndo->trigger();
        QCOMPARE(form->ImageMain->picture(), source);
        QCOMPARE(form->ImageMain->imageDesc()->FileName, bmp);
        checkInvariant();
        form->ClearHistory();
        QVERIFY(!form->MMUndo->isEnabled());
        QVERIFY(!form->MMRedo->isEnabled());

        // Text is not a file to load.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(form.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void everydayCommandsHaveTheDesktopsKeys()
    {
        QCOMPARE(form->MMLoadToSrc->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(form->MMSaveFromSrc->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(form->MMClipCopySRC->shortcut(), QKeySequence(QKeySequence::Copy));
        QCOMPARE(form->MMClipPasteSRC->shortcut(), QKeySequence(QKeySequence::Paste));
        QCOMPARE(form->MMExit->shortcut(), QKeySequence(QKeySequence::Quit));
        QCOMPARE(form->MMUndo->shortcut(), QKeySequence(QKeySequence::Undo));
        QVERIFY(form->MMRedo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Shift+Z"))));
        QVERIFY(form->MMRedo->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
        QVERIFY(form->acceptDrops());

        // The keys work on the window.
        showForm();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        giveSource(test::patternImage(10, 8, 3));
        form->TBRMirrorLR->click();
        const QImage mirrored = form->TargetImage->picture().copy();
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->TargetImage->picture().size(), QSize(145, 129));
        QTest::keyClick(form.get(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form->TargetImage->picture(), mirrored);
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(form->TargetImage->picture(), mirrored);
    }

    void undoAndRedoWalkThroughEveryCommandOnBothImages()
    {
        TFormGistogram hist(*ws, form.get());
        TFormDFilter filter(*ws, form.get());
        TToolWindows windows;
        windows.histogram = &hist;
        windows.filter = &filter;
        form->setToolWindows(windows);
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

        struct State {
            QImage src, trg;
            QString srcName, trgName;
            bool srcFilled, trgFilled;
            int tab;
        };
        auto state = [&] {
            form->regionSelector()->ShowFrame(false);
            return State{form->ImageMain->picture().copy(),
                         form->TargetImage->picture().copy(),
                         form->ImageMain->imageDesc()->FileName,
                         form->TargetImage->imageDesc()->FileName,
                         !ws->SrcArr.empty(),
                         !ws->TrgArr.empty(),
                         form->PageControl1->currentIndex()};
        };
        auto expectState = [&](const State& s, const char* where) {
            QVERIFY2(form->ImageMain->picture() == s.src, where);
            QVERIFY2(form->TargetImage->picture() == s.trg, where);
            QCOMPARE(form->ImageMain->imageDesc()->FileName, s.srcName);
            QCOMPARE(form->TargetImage->imageDesc()->FileName, s.trgName);
            QCOMPARE(!ws->SrcArr.empty(), s.srcFilled);
            QCOMPARE(!ws->TrgArr.empty(), s.trgFilled);
            checkInvariant();
        };

        const std::vector<std::pair<const char*, std::function<void()>>> commands = {
            {"load source",
             [&] {
                 dialogs->choices.push_back(TFileChoice{big, 2});
                 form->MMLoadToSrc->trigger();
             }},
            {"mirror", [&] { form->TBRMirrorTD->click(); }},
            {"rot90", [&] { form->TBRRot90Plus->click(); }},
            {"angle",
             [&] {
                 form->EdiAngle->setText(QStringLiteral("20"));
                 form->TBRRunAngle->click();
             }},
            {"zoom source",
             [&] {
                 form->PageControl1->setCurrentIndex(0);
                 form->TrBarZoom->setValue(50);
                 form->TBRZoomPlus->click();
             }},
            {"crop",
             [&] {
                 drag(QPoint(3, 4), QPoint(20, 15));
                 form->MMCropping->trigger();
             }},
            {"grey target", [&] { form->MMToGray->trigger(); }},
            {"target to source", [&] { form->MMCopyDestToSrc->trigger(); }},
            {"load a smaller target",
             [&] {
                 dialogs->choices.push_back(TFileChoice{small, 3});
                 form->MMLoadToDest->trigger();
             }},
            {"transfer function", [&] { form->MMGistogramFull->trigger(); }},
            {"source to target", [&] { form->MMCopySrcToDest->trigger(); }},
            {"filter",
             [&] {
                 drag(QPoint(2, 2), QPoint(12, 12));
                 form->MMDFilter->trigger();
             }},
            {"clear source", [&] { form->MMMinSrc->trigger(); }},
        };
        std::vector<State> states{state()};
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

    void histogramsWithFragmentShowTheFragment()
    {
        TFormGistogram hist(*ws, form.get());
        TToolWindows windows;
        windows.histogram = &hist;
        form->setToolWindows(windows);
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

    void closingReleasesTheFileService()
    {
        QVERIFY(form->loadSaveService());
        form->close();
        QVERIFY(!form->loadSaveService());
        QVERIFY(!form->regionSelector());
        form->MMLoadToSrcClick();  // does nothing, and does not crash
        QVERIFY(dialogs->askedDirs.isEmpty());
    }

private:
    std::unique_ptr<test::TTestWorkspace> ws;
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<ScriptedColors> colors;
    std::unique_ptr<TFormOrmica> form;

    // Puts a picture into the source image as a load would.
    void giveSource(const QImage& picture)
    {
        form->ImageMain->setPicture(picture);
        ImageToImgTab(*form->ImageMain, ws->SrcArr, nullptr);
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(form->ImageMain, Qt::LeftButton, {}, from);
        QTest::mouseMove(form->ImageMain, (from + to) / 2);
        QTest::mouseMove(form->ImageMain, to);
        QTest::mouseRelease(form->ImageMain, Qt::LeftButton, {}, to);
    }
    void showForm()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    // After every command each array holds its bitmap's pixels (the source's
    // dotted frame apart, which is hidden first).
    void checkInvariant()
    {
        form->regionSelector()->ShowFrame(false);
        // Blank start-up and cleared pictures stand beside empty arrays.
        if (!ws->SrcArr.empty())
            QVERIFY(test::arrayHoldsPicture(ws->SrcArr, form->ImageMain->picture()));
        if (!ws->TrgArr.empty())
            QVERIFY(test::arrayHoldsPicture(ws->TrgArr, form->TargetImage->picture()));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"

// The main window as a whole and its files: start-up, menus and keys, tabs,
// the attention lamp; load, save, clipboard, files given by name or dropped,
// and closing.
#include "core/engine/bmp_file.h"
#include "core/engine/jpeg_codec.h"
#include "main_window_fixture.h"

#include <QClipboard>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace ormica;

class TstMainWindowFiles : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

    // Drags the data onto the window and, when the window takes it, drops it.
    bool dropped(const QMimeData& data)
    {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QApplication::sendEvent(form.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &drop);
        return true;
    }

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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
        QDialog about;
        form->setToolWindows({.about = &about});
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

    void tabClickShowsThatPage()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTabBar* bar = form->PageControl1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QTRY_COMPARE(form->windowTitle(),
                     TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : NoName"));
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
        QVERIFY(dropped(mime));
        QCOMPARE(form->TargetImage->picture(), source);
        checkInvariant();

        // A WebP dropped on the source tab loads by its extension, and the drop is a step to undo.
        const QString webp = dir.filePath(QStringLiteral("c.webp"));
        QVERIFY(test::patternImage(17, 11, 4).save(webp, "WEBP", 100));
        form->ShowPage(0);
        mime.setUrls({QUrl::fromLocalFile(webp)});
        QVERIFY(dropped(mime));
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
        QVERIFY(!dropped(text));
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
};

QTEST_MAIN(TstMainWindowFiles)
#include "tst_main_window_files.moc"

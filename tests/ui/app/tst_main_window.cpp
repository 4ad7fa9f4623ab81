#include "app/main_data.h"
#include "app/main_window.h"
#include "engine/image_widget.h"
#include "engine/jpeg_codec.h"
#include "recorders.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace ormica;

class TstMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        MainData::SrcArr.clear();
        MainData::TrgArr.clear();
        sink = std::make_unique<test::RecordingSink>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        form = std::make_unique<TFormOrmica>(dialogs.get());
    }
    void cleanup()
    {
        form.reset();
        dialogs.reset();
        sink.reset();
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
        QVERIFY(MainData::SrcArr.empty());
        QVERIFY(MainData::TrgArr.empty());
        QCOMPARE(MainData::SrcImageRef, static_cast<TImageControl*>(form->ImageMain));
        QCOMPARE(MainData::TrgImageRef, static_cast<TImageControl*>(form->TargetImage));
        QCOMPARE(MainData::PagesRef, form->PageControl1);
        QCOMPARE(MainData::ProgramDir, QCoreApplication::applicationDirPath());

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
        QVERIFY(test::arrayHoldsPicture(MainData::SrcArr, form->ImageMain->picture()));
        QVERIFY(MainData::TrgArr.empty());

        dialogs->choices.push_back(TFileChoice{file, 1});
        form->MMLoadToDestClick();
        QCOMPARE(form->PageControl1->currentIndex(), 1);
        QCOMPARE(form->windowTitle(),
                 TFormOrmica::kCaption + QStringLiteral(" Файл финишного изображения : photo.jpg"));
        QVERIFY(test::arrayHoldsPicture(MainData::TrgArr, form->TargetImage->picture()));
        QVERIFY(sink->silent());
    }

    void cancelledLoadChangesNothing()
    {
        dialogs->choices.push_back(std::nullopt);
        const QImage before = form->ImageMain->picture();
        form->MMLoadToSrcClick();
        QCOMPARE(form->ImageMain->picture(), before);
        QVERIFY(MainData::SrcArr.empty());
        QVERIFY(!form->lampBlinking());
        QCOMPARE(form->statusText(3), QStringLiteral(" Операция может быть длительной"));
    }

    void damagedFileShowsTheDecoderErrorAndKeepsTheImage()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.jpg"));
        EncodeJpegFile(test::patternImage(30, 20), good, 100, false, nullptr);
        dialogs->choices.push_back(TFileChoice{good, 1});
        form->MMLoadToSrcClick();
        const QImage before = form->ImageMain->picture();
        const TImgTabBGR arrBefore = MainData::SrcArr;

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
        QVERIFY(MainData::SrcArr.sameAs(arrBefore));
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

    void closingReleasesTheFileService()
    {
        QVERIFY(form->loadSaveService());
        form->close();
        QVERIFY(!form->loadSaveService());
        form->MMLoadToSrcClick();  // does nothing, and does not crash
        QVERIFY(dialogs->askedDirs.isEmpty());
    }

private:
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<TFormOrmica> form;
};

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"

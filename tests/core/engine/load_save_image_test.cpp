#include "core/engine/load_save_image.h"

#include "core/engine/bmp_file.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "load_save_fixture.h"
#include "recorders.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;

namespace {

class RecordingOwner : public TOwnerForm {
public:
    void setBusy(bool busy) override { calls.push_back(busy); }
    void repaintNow() override { ++repaints; }
    std::vector<bool> calls;
    int repaints = 0;
};

using LoadSave = test::LoadSaveFixture;

}  // namespace

TEST(SaveNames, FilterDecidesTheExtension)
{
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d/photo"), 1), QStringLiteral("/d/photo.jpg"));
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d/photo.Jpeg"), 1), QStringLiteral("/d/photo.Jpeg"));
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d/photo.png"), 1), QStringLiteral("/d/photo.png.jpg"));
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d/scan.BMP"), 2), QStringLiteral("/d/scan.BMP"));
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d/scan.dib"), 2), QStringLiteral("/d/scan.dib.bmp"));
    EXPECT_EQ(TLoadSaveImage::SaveFileName(QStringLiteral("/d.x/scan"), 2), QStringLiteral("/d.x/scan.bmp"));
    EXPECT_TRUE(TLoadSaveImage::SaveFileName(QStringLiteral("/d/scan"), 0).isEmpty());
}

TEST_F(LoadSave, SaveAsJpegAndBmpThenLoadBack)
{
    const QImage picture = test::patternImage(40, 30, 4);
    givePicture(picture, "NoName");
    RecordingOwner owner;
    service.OwnerForm = &owner;

    choose(path("photo"), 1);
    ASSERT_TRUE(service.SaveImage(image));
    EXPECT_TRUE(QFileInfo::exists(path("photo.jpg")));
    EXPECT_EQ(panel.text(), QStringLiteral(" Сохранеие изображения успешно завершено"));
    EXPECT_EQ(image.imageDesc()->FileName, path("photo.jpg"));
    EXPECT_EQ(image.imageDesc()->SourceKind, skJpegFile);
    EXPECT_EQ(owner.calls, (std::vector<bool>{true, false}));

    choose(path("scan.dib"), 2);
    ASSERT_TRUE(service.SaveImage(image));
    EXPECT_TRUE(QFileInfo::exists(path("scan.dib.bmp")));
    EXPECT_EQ(image.imageDesc()->SourceKind, skBmpFile);
    EXPECT_EQ(image.imageDesc()->PixelFormat, pf24bit);

    TImageControl other;
    choose(path("scan.dib.bmp"), 2);
    ASSERT_TRUE(service.LoadImage(other));
    EXPECT_EQ(other.picture(), picture);
    EXPECT_EQ(panel.text(), QStringLiteral(" Загрузка изображения успешно завершена"));
    EXPECT_EQ(service.LastDir, dir.path());
    EXPECT_TRUE(sink.silent());

    // The next dialog opens where the last file was chosen, on the last filter.
    dialogs.choices.push_back(std::nullopt);
    EXPECT_FALSE(service.LoadImage(other));
    EXPECT_EQ(dialogs.askedDirs.back(), dir.path());
    EXPECT_EQ(dialogs.askedIndexes.back(), 2);
}

TEST_F(LoadSave, DecliningTheOverwriteWritesNothingAndSaysNothing)
{
    givePicture(test::patternImage(8, 8), "orig.bmp");
    QFile old(path("scan.bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    choose(path("scan.bmp"), 2);
    sink.answers.push_back(false);
    EXPECT_FALSE(service.SaveImage(image));
    ASSERT_EQ(sink.questions.size(), 1);
    EXPECT_EQ(sink.questions[0], QStringLiteral("Указанный Файл уже существует.Заменить его на новый?"));
    EXPECT_EQ(sink.questionKinds[0], TQuestionKind::Information);
    EXPECT_EQ(QFileInfo(path("scan.bmp")).size(), 3);
    EXPECT_TRUE(panel.history.isEmpty());
    EXPECT_EQ(image.imageDesc()->FileName, QStringLiteral("orig.bmp"));

    choose(path("scan.bmp"), 2);
    sink.answers.push_back(true);
    EXPECT_TRUE(service.SaveImage(image));
    EXPECT_GT(QFileInfo(path("scan.bmp")).size(), 54);
}

TEST_F(LoadSave, BitmapChosenUnderTheJpegFilterLoadsNothing)
{
    ASSERT_TRUE(WriteBmpFile(test::patternImage(5, 5), path("pic.bmp")));
    givePicture(test::patternImage(3, 3), "kept.jpg");
    const QImage before = image.picture();
    choose(path("pic.bmp"), 1);
    EXPECT_FALSE(service.LoadImage(image));
    EXPECT_TRUE(panel.history.isEmpty());
    EXPECT_TRUE(sink.silent());
    EXPECT_EQ(image.picture(), before);
    EXPECT_EQ(image.imageDesc()->FileName, QStringLiteral("kept.jpg"));
}

TEST_F(LoadSave, UpperCaseJpegNamesLoad)
{
    const QImage picture = test::patternImage(16, 8, 2);
    EncodeJpegFile(picture, path("PHOTO.JPG"), 100, false, nullptr);
    choose(path("PHOTO.JPG"), 1);
    ASSERT_TRUE(service.LoadImage(image));
    EXPECT_EQ(image.picture().size(), picture.size());
    EXPECT_EQ(image.imageDesc()->SourceKind, skJpegFile);
    EXPECT_EQ(image.imageDesc()->PixelFormat, pf24bit);
    EXPECT_EQ(progress.maximum(), 100);
    EXPECT_EQ(progress.position(), 0);
    EXPECT_TRUE(TLoadSaveImage::Filters().at(0).contains(QLatin1String("*.JPG")));
}

TEST_F(LoadSave, DamagedJpegEndsTheCommandAndKeepsThePicture)
{
    EncodeJpegFile(test::patternImage(64, 64), path("whole.jpg"), 100, false, nullptr);
    QFile whole(path("whole.jpg"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(path("cut.jpg"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();

    givePicture(test::patternImage(3, 3), "kept.bmp");
    const QImage before = image.picture();
    RecordingOwner owner;
    service.OwnerForm = &owner;
    choose(path("cut.jpg"), 1);
    try {
        service.LoadImage(image);
        ADD_FAILURE() << "a cut file loaded";
    } catch (const TImageError& e) {
        EXPECT_TRUE(e.text().contains(QLatin1String("Premature end of JPEG file")));
    }
    EXPECT_EQ(image.picture(), before);
    EXPECT_EQ(image.imageDesc()->FileName, QStringLiteral("kept.bmp"));
    EXPECT_EQ(owner.calls, (std::vector<bool>{true, false}));  // the cursor comes back

    choose(path("notes.png"), 1);
    EXPECT_THROW(service.LoadImage(image), TImageError);
}

TEST_F(LoadSave, RefusedBitmapFormatsNameTheFormat)
{
    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(1);
    ASSERT_TRUE(mono.save(path("mono.bmp"), "BMP"));
    choose(path("mono.bmp"), 2);
    EXPECT_FALSE(service.LoadImage(image));
    EXPECT_EQ(panel.text(), QStringLiteral(" ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в файле"));
    EXPECT_EQ(image.imageDesc(), nullptr);

    QImage indexed = test::patternImage(9, 7).convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(indexed.save(path("eight.bmp"), "BMP"));
    choose(path("eight.bmp"), 2);
    ASSERT_TRUE(service.LoadImage(image));
    EXPECT_EQ(image.imageDesc()->PixelFormat, pf8bit);
    EXPECT_EQ(image.picture().format(), QImage::Format_BGR888);
    EXPECT_EQ(image.picture(), indexed.convertToFormat(QImage::Format_BGR888));
}

TEST_F(LoadSave, ClipboardCopyAndPaste)
{
    EXPECT_FALSE(CopyBitMapToClipboard(QImage()));
    EXPECT_FALSE(CopyBitMapToClipboard(QImage(0, 0, QImage::Format_BGR888)));
    EXPECT_TRUE(sink.silent());

    const QImage picture = test::patternImage(12, 9, 8);
    givePicture(picture, "a.jpg");
    ASSERT_TRUE(service.CopyToClipboard(image));
    TImageControl target;
    ASSERT_TRUE(service.PasteFromClipboard(target));
    EXPECT_EQ(target.picture(), picture);
    EXPECT_EQ(target.imageDesc()->FileName, QStringLiteral("Clipboard"));
    EXPECT_EQ(target.imageDesc()->SourceKind, skClipboard);
    EXPECT_EQ(panel.text(), QStringLiteral(" Выполнена вставка изображения из Clipboard"));

    QGuiApplication::clipboard()->setText(QStringLiteral("text only"));
    EXPECT_FALSE(service.PasteFromClipboard(target));
    EXPECT_EQ(panel.text(), QStringLiteral(" Вставка ОТМЕНЕНА! Формат изображения в Clipboard НЕ BitMap"));
    EXPECT_EQ(target.picture(), picture);

    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(0);
    QGuiApplication::clipboard()->setImage(mono);
    if (QGuiApplication::clipboard()->image().format() == QImage::Format_Mono) {
        EXPECT_FALSE(service.PasteFromClipboard(target));
        EXPECT_EQ(panel.text(), QStringLiteral(" ОШИБКА! Недопустимый формат ( pf1bit ) пикселя в Clipboard"));
    }
}

TEST_F(LoadSave, AFailedChangeTo24BitsSaysSoAndKeepsThePicture)
{
    const QImage before = test::patternImage(6, 5, 2);
    givePicture(before, "before.bmp");
    QImage indexed = test::patternImage(9, 7).convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(indexed.save(path("eight.bmp"), "BMP"));
    ASSERT_TRUE(service.CopyToClipboard(image));

    struct FailingConversions {
        FailingConversions() { detail::failPixelFormat24(true); }
        ~FailingConversions() { detail::failPixelFormat24(false); }
    } failing;
    choose(path("eight.bmp"), 2);
    EXPECT_FALSE(service.LoadImage(image));
    EXPECT_EQ(panel.text(), QStringLiteral(" ОШИБКА установки формата pf24bit!"));
    EXPECT_EQ(image.picture(), before);
    EXPECT_EQ(image.imageDesc()->FileName, QStringLiteral("before.bmp"));

    panel.setText(QString());
    if (QGuiApplication::clipboard()->image().format() != QImage::Format_BGR888) {
        EXPECT_FALSE(service.PasteFromClipboard(image));
        EXPECT_EQ(panel.text(), QStringLiteral(" ОШИБКА установки формата pf24bit!"));
        EXPECT_EQ(image.picture(), before);
    }
    EXPECT_TRUE(sink.silent());
}

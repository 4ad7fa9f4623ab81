#include "core/engine/load_save_image.h"

#include "core/engine/bmp_file.h"
#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"
#include "core/engine/message_sink.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

namespace ormica {

bool IsAcceptedFormat(std::uint8_t pixelFormat)
{
    return pixelFormat != pf1bit && pixelFormat != pfCustom && pixelFormat <= pf32bit;
}

QString PixelFormatName(std::uint8_t pixelFormat)
{
    static const char* const names[] = {"pfDevice", "pf1bit",  "pf4bit",  "pf8bit",
                                        "pf15bit",  "pf16bit", "pf24bit", "pf32bit"};
    return QString::fromLatin1(pixelFormat <= pf32bit ? names[pixelFormat] : "pfCustom");
}

TPixelFormat PixelFormatOf(const QImage& image)
{
    return PixelFormatOf(image.format());
}

TPixelFormat PixelFormatOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return pf1bit;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return pf8bit;
    case QImage::Format_RGB555:
        return pf15bit;
    case QImage::Format_RGB16:
        return pf16bit;
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
        return pf24bit;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return pf32bit;
    default:
        return pfCustom;
    }
}

namespace {

// The busy cursor is put back however the load or save ends.
class BusyGuard {
public:
    explicit BusyGuard(TOwnerForm* owner) : owner_(owner)
    {
        if (owner_) {
            owner_->setBusy(true);
            owner_->repaintNow();
        }
    }
    ~BusyGuard()
    {
        if (owner_)
            owner_->setBusy(false);
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    TOwnerForm* owner_;
};

QClipboard* appClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QString upperSuffix(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix.toUpper();
}

}  // namespace

TLoadSaveImage::TLoadSaveImage(TProgress* progress, TTextPanel* panel, TFileDialogs* dialogs)
    : Progress(progress), Panel(panel), dialogs_(dialogs)
{
}

QStringList TLoadSaveImage::Filters()
{
    // Upper-case names (PHOTO.JPG from a camera) must show as well.
    static const std::pair<QStringList, QString> kinds = [] {
        QStringList all{QStringLiteral("JPEG (*.jpg *.jpeg *.JPG *.JPEG *.Jpg *.Jpeg)"),
                        QStringLiteral("BMP (*.bmp *.BMP *.Bmp)")};
        QStringList patterns;
        for (const QString& f : all)
            patterns << f.section(QLatin1Char('('), 1).chopped(1);
        for (const TPluginFormat& f : PluginFormats()) {
            all << f.dialogFilter();
            patterns << f.dialogFilter().section(QLatin1Char('('), 1).chopped(1);
        }
        return std::pair(all, patterns.join(QLatin1Char(' ')));
    }();
    // Named in the language chosen now, not in the one of the first call.
    return kinds.first +
           QStringList{QCoreApplication::translate("LoadSaveImage", "Все изображения (%1)").arg(kinds.second)};
}

int TLoadSaveImage::AllPicturesFilterIndex()
{
    return int(Filters().size());
}

int TLoadSaveImage::KindOfChoice(const QString& fileName, int filterIndex)
{
    if (filterIndex == 1 || filterIndex == 2)
        return filterIndex;
    const int named = FilterIndexOfName(fileName);
    if (PluginFormatOfFilter(filterIndex))
        return named ? named : filterIndex;
    if (filterIndex == AllPicturesFilterIndex())
        return named ? named : 2;  // bitmaps are recognised by their contents
    return 0;
}

const TPluginFormat* TLoadSaveImage::PluginFormatOfFilter(int filterIndex)
{
    const auto& formats = PluginFormats();
    return filterIndex >= 3 && filterIndex - 3 < int(formats.size()) ? &formats[std::size_t(filterIndex - 3)] : nullptr;
}

QString TLoadSaveImage::LoadedText(const TPluginFormat& format)
{
    return QCoreApplication::translate("LoadSaveImage", " Загрузка изображения %1 успешно завершена")
        .arg(QLatin1String(format.name));
}

QString TLoadSaveImage::SavedText(const TPluginFormat& format)
{
    return QCoreApplication::translate("LoadSaveImage", " Сохранение изображения %1 успешно завершено")
        .arg(QLatin1String(format.name));
}

void TLoadSaveImage::refuseUnreplaceable(const QString& fileName, const char* kind)
{
    if (const QString why = SaveTargetRefusal(fileName); !why.isEmpty())
        throw TImageError(QCoreApplication::translate("LoadSaveImage", "Не могу записать %1-файл \"%2\".\r\n%3")
                              .arg(QLatin1String(kind), fileName, why));
}

void TLoadSaveImage::say(const QString& text)
{
    if (Panel)
        Panel->setText(text);
}

void TLoadSaveImage::say(const char* text)
{
    say(QCoreApplication::translate("LoadSaveImage", text));
}

void TLoadSaveImage::sayRefused(std::uint8_t pixelFormat, bool clipboard)
{
    const QString name = PixelFormatName(pixelFormat);
    say(clipboard
            ? QCoreApplication::translate("LoadSaveImage", " ОШИБКА! Недопустимый формат ( %1 ) пикселя в Clipboard")
                  .arg(name)
            : QCoreApplication::translate("LoadSaveImage", " ОШИБКА! Недопустимый формат ( %1 ) пикселя в файле")
                  .arg(name));
}

bool TLoadSaveImage::LoadFile(const QString& fileName, TImageControl& image)
{
    BusyGuard busy(OwnerForm);
    LastDir = QFileInfo(fileName).absolutePath();
    // As under "all pictures": the name's kind, a bitmap when it names none.
    return loadAs(KindOfChoice(fileName, AllPicturesFilterIndex()), fileName, image);
}

bool TLoadSaveImage::loadAs(int kind, const QString& fileName, TImageControl& image)
{
    if (kind == 1)
        return LoadJpeg(fileName, image);
    if (kind == 2)
        return LoadBmp(fileName, image);
    if (const TPluginFormat* format = PluginFormatOfFilter(kind))
        return LoadPlugin(fileName, *format, image);
    return false;
}

bool TLoadSaveImage::LoadImage(TImageControl& image)
{
    if (!dialogs_)
        return false;
    const auto choice = dialogs_->askOpen(LastDir, Filters(), openFilterIndex_);
    if (!choice)
        return false;
    openFilterIndex_ = choice->filterIndex;
    BusyGuard busy(OwnerForm);
    LastDir = QFileInfo(choice->fileName).absolutePath();
    // Under the further filters a name of another kind we read is read as that kind.
    return loadAs(KindOfChoice(choice->fileName, choice->filterIndex), choice->fileName, image);
}

int TLoadSaveImage::FilterIndexOfName(const QString& fileName)
{
    const QString ext = upperSuffix(fileName);
    if (ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG"))
        return 1;
    if (ext == QLatin1String(".BMP"))
        return 2;
    const auto& formats = PluginFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (formats[i].matches(fileName))
            return int(i) + 3;
    return 0;
}

bool TLoadSaveImage::LoadPlugin(const QString& fileName, const TPluginFormat& format, TImageControl& image)
{
    if (fileName.isEmpty())
        return false;
    TPluginPicture read = ReadPluginPicture(fileName, format);
    image.setPicture(read.picture);
    read.picture = QImage();
    SetImageDesc(image, fileName, format.sourceKind, read.pixelFormat);
    say(LoadedText(format));
    return true;
}

bool TLoadSaveImage::SavePlugin(const QString& fileName, const TPluginFormat& format, TImageControl& image)
{
    if (fileName.isEmpty() || image.picture().isNull())
        return false;
    refuseUnreplaceable(fileName, format.name);
    WritePluginPicture(image.picture(), fileName, format, JpegQuality);
    SetImageDesc(image, fileName, format.sourceKind, pf24bit);
    say(SavedText(format));
    return true;
}

bool TLoadSaveImage::LoadJpeg(const QString& fileName, TImageControl& image)
{
    if (fileName.isEmpty())
        return false;
    // The picture kind follows the file's extension, as the JPEG filter
    // promises: a bitmap chosen under it is no JPEG and loads nothing.
    const QString ext = upperSuffix(fileName);
    if (ext == QLatin1String(".BMP") || ext == QLatin1String(".DIB") || ext == QLatin1String(".ICO") ||
        ext == QLatin1String(".EMF") || ext == QLatin1String(".WMF"))
        return false;
    if (ext != QLatin1String(".JPG") && ext != QLatin1String(".JPEG"))
        throw TImageError(
            QCoreApplication::translate("LoadSaveImage", "Неизвестное расширение файла изображения (%1).").arg(ext));
    TJPEGService service(Progress);
    const QImage picture = DecodeJpegFile(fileName, &service);
    image.setPicture(picture);
    SetImageDesc(image, fileName, skJpegFile, pf24bit);
    say(kLoaded);
    return true;
}

bool TLoadSaveImage::LoadBmp(const QString& fileName, TImageControl& image)
{
    if (fileName.isEmpty())
        return false;
    const TBmpHeader header = ReadBmpHeader(fileName);
    if (!IsAcceptedFormat(header.format)) {
        sayRefused(header.format, false);
        return false;
    }
    const QImage picture = ReadBmpPixels(fileName, header);
    if (!Is24Bit(picture)) {
        say(kSetFormatFailed);
        return false;
    }
    SetImageDesc(image, fileName, skBmpFile, header.format);
    image.setPicture(picture);
    say(kLoaded);
    return true;
}

QString TLoadSaveImage::SaveFileName(const QString& chosen, int filterIndex)
{
    const QString ext = upperSuffix(chosen);
    switch (filterIndex) {
    case 1:
        return ext == QLatin1String(".JPG") || ext == QLatin1String(".JPEG") ? chosen : chosen + QLatin1String(".jpg");
    case 2:
        return ext == QLatin1String(".BMP") ? chosen : chosen + QLatin1String(".bmp");
    default:
        if (FilterIndexOfName(chosen) != 0 &&
            (PluginFormatOfFilter(filterIndex) || filterIndex == AllPicturesFilterIndex()))
            return chosen;
        if (const TPluginFormat* format = PluginFormatOfFilter(filterIndex))
            return chosen + QLatin1Char('.') + format->extensions.first();
        // Lossless, and readable everywhere.
        return filterIndex == AllPicturesFilterIndex() ? chosen + QLatin1String(".png") : QString();
    }
}

bool TLoadSaveImage::SaveImage(TImageControl& image)
{
    if (!dialogs_)
        return false;
    const auto choice = dialogs_->askSave(LastDir, Filters(), saveFilterIndex_);
    if (!choice)
        return false;
    saveFilterIndex_ = choice->filterIndex;
    BusyGuard busy(OwnerForm);
    const QString name = SaveFileName(choice->fileName, choice->filterIndex);
    if (name.isEmpty())
        return false;
    if (QFileInfo::exists(name) &&
        !messages().question(QCoreApplication::translate("LoadSaveImage", kOverwrite), TQuestionKind::Information))
        return false;
    const int kind = KindOfChoice(name, choice->filterIndex);
    if (const TPluginFormat* format = PluginFormatOfFilter(kind))
        return SavePlugin(name, *format, image);
    return kind == 1 ? SaveJpeg(name, image) : SaveBmp(name, image);
}

bool TLoadSaveImage::SaveJpeg(const QString& fileName, TImageControl& image)
{
    if (fileName.isEmpty() || image.picture().isNull())
        return false;
    refuseUnreplaceable(fileName, "JPEG");
    TJPEGService service(Progress);
    const QImage& picture = image.picture();
    const QImage bgr = Is24Bit(picture) ? picture : picture.convertToFormat(QImage::Format_BGR888);
    EncodeJpegFile(bgr, fileName, JpegQuality > 100 ? 100 : JpegQuality, JpegProgressive, &service);
    SetImageDesc(image, fileName, skJpegFile, pf24bit);
    say(kSaved);
    return true;
}

bool TLoadSaveImage::SaveBmp(const QString& fileName, TImageControl& image)
{
    if (fileName.isEmpty() || image.picture().isNull())
        return false;
    refuseUnreplaceable(fileName, "BMP");
    if (!WriteBmpFile(image.picture(), fileName)) {
        say(kWriteFailed);
        return false;
    }
    say(kSaved);
    SetImageDesc(image, fileName, skBmpFile, pf24bit);
    return true;
}

void TLoadSaveImage::SetImageDesc(TImageControl& image, const QString& fileName, std::uint8_t sourceKind,
                                  std::uint8_t pixelFormat)
{
    TImageDesc& desc = image.ensureImageDesc();
    desc.FileName = fileName;
    desc.SourceKind = sourceKind;
    desc.PixelFormat = pixelFormat;
}

bool TLoadSaveImage::CopyToClipboard(TImageControl& image)
{
    return CopyBitMapToClipboard(image.picture());
}

bool TLoadSaveImage::PasteFromClipboard(TImageControl& image)
{
    QClipboard* clipboard = appClipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime || !mime->hasImage()) {
        say(kNoClipboardBitmap);
        return false;
    }
    QImage pasted = clipboard->image();
    if (pasted.isNull()) {
        say(kNoClipboardBitmap);
        return false;
    }
    const TPixelFormat format = PixelFormatOf(pasted);
    if (!IsAcceptedFormat(format)) {
        sayRefused(format, true);
        return false;
    }
    if (!SetPixelFormat24(pasted)) {
        say(kSetFormatFailed);
        return false;
    }
    image.setPicture(pasted);
    SetImageDesc(image, QStringLiteral("Clipboard"), skClipboard, format);
    say(kPasted);
    return true;
}

bool CopyBitMapToClipboard(const QImage& bitmap)
{
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0)
        return false;
    QClipboard* clipboard = appClipboard();
    if (!clipboard) {
        messages().warning(
            QCoreApplication::translate("LoadSaveImage", "CopyBitMapToClipboard : ОШИБКА копирования в Clipboard!"));
        return false;
    }
    clipboard->setImage(bitmap);
    return true;
}

}  // namespace ormica

#include "core/engine/plugin_picture.h"

#include "core/engine/bmp_file.h"
#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/load_save_image.h"
#include "core/engine/png_file.h"
#include "core/engine/tiff_header.h"
#include "core/engine/webp_file.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>

namespace ormica {

QString TPluginFormat::dialogFilter() const
{
    // Upper-case and capitalised names must show as well, as in the JPEG filter.
    QStringList patterns;
    for (const QString& ext : extensions)
        patterns << QStringLiteral("*.") + ext;
    for (const QString& ext : extensions)
        patterns << QStringLiteral("*.") + ext.toUpper();
    for (const QString& ext : extensions)
        patterns << QStringLiteral("*.") + ext.left(1).toUpper() + ext.mid(1);
    patterns.removeDuplicates();
    return QStringLiteral("%1 (%2)").arg(QLatin1String(name), patterns.join(QLatin1Char(' ')));
}

bool TPluginFormat::matches(const QString& fileName) const
{
    return extensions.contains(QFileInfo(fileName).suffix().toLower());
}

const std::vector<TPluginFormat>& PluginFormats()
{
    static const std::vector<TPluginFormat> formats = [] {
        const std::vector<TPluginFormat> all{
            {"PNG", "png", skPngFile, {QStringLiteral("png")}},
            {"TIFF", "tiff", skTiffFile, {QStringLiteral("tif"), QStringLiteral("tiff")}},
            {"WebP", "webp", skWebpFile, {QStringLiteral("webp")}},
        };
        const QList<QByteArray> readable = QImageReader::supportedImageFormats();
        const QList<QByteArray> writable = QImageWriter::supportedImageFormats();
        std::vector<TPluginFormat> present;
        for (const TPluginFormat& f : all)
            if (readable.contains(f.qtFormat) && writable.contains(f.qtFormat))
                present.push_back(f);
        return present;
    }();
    return formats;
}

const TPluginFormat* PluginFormatOfName(const QString& fileName)
{
    for (const TPluginFormat& f : PluginFormats())
        if (f.matches(fileName))
            return &f;
    return nullptr;
}

TPixelFormat PluginPixelFormat(QImage::Format format)
{
    // Plugins deliver colour without alpha as RGB32: three bytes a pixel in the file.
    if (format == QImage::Format_RGB32 || format == QImage::Format_RGBX8888)
        return pf24bit;
    return PixelFormatOf(format);
}

namespace {

// Reading may take this much beyond two copies of the 24-bit picture.
constexpr qint64 kConversionMargin = qint64(256) << 20;

QString readText(const TPluginFormat& format, const QString& fileName, const QString& reason)
{
    return QCoreApplication::translate("PluginPicture", "Не могу прочитать %1-файл \"%2\".\r\n%3")
        .arg(QLatin1String(format.name), fileName, reason);
}

QString writeText(const TPluginFormat& format, const QString& fileName, const QString& reason)
{
    return QCoreApplication::translate("PluginPicture", "Не могу записать %1-файл \"%2\".\r\n%3")
        .arg(QLatin1String(format.name), fileName, reason);
}

// Colours as stored, whatever the alpha: premultiplied pixels are first
// brought back to straight colour, then the alpha byte is ignored.
QImage to24Bit(QImage image)
{
    if (image.format() == QImage::Format_BGR888)
        return image;
    if (image.hasAlphaChannel()) {
        image.convertTo(QImage::Format_ARGB32);
        if (image.isNull())
            return image;
        image.reinterpretAsFormat(QImage::Format_RGB32);
    }
    image.convertTo(QImage::Format_BGR888);
    return image;
}

}  // namespace

TPluginPicture ReadPluginPicture(const QString& fileName, const TPluginFormat& format)
{
    RaiseImageAllocationLimit();
    if (const QString why = ReadFailureReason(fileName); !why.isEmpty())
        throw TImageError(CannotOpenText(fileName, why));
    QImageReader reader(fileName, format.qtFormat);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);  // never another kind than the name says
    reader.setAutoTransform(false);
    const bool png = qstrcmp(format.qtFormat, "png") == 0;
    if (!reader.canRead() || (png && !PngChunksWithinFile(fileName)))
        throw TImageError(readText(format, fileName,
                                   QCoreApplication::translate("PluginPicture", "Файл поврежден или это не %1-файл.")
                                       .arg(QLatin1String(format.name))));
    TTiffLayout tiff;
    if (qstrcmp(format.qtFormat, "tiff") == 0 && ReadTiffLayout(fileName, tiff)) {
        if (!PictureSizeAllowed(tiff.width, tiff.height))
            throw TImageError(PictureTooLargeText(tiff.width, tiff.height));
        const qint64 bytes = std::max(tiff.dataBytes(), tiff.largestBlock());
        if (bytes > MaxTiffDataBytes())
            throw TImageError(readText(
                format, fileName,
                QCoreApplication::translate("PluginPicture", "Пиксели изображения %1 x %2 заняли бы больше %3 МБ: "
                                                             "%4 отсчетов по %5 бит на пиксель.")
                    .arg(tiff.width)
                    .arg(tiff.height)
                    .arg(MaxTiffDataBytes() >> 20)
                    .arg(tiff.samplesPerPixel)
                    .arg(tiff.bitsPerSample)));
    }
    const QSize declared = reader.size();
    if (declared.isValid() && !PictureSizeAllowed(declared.width(), declared.height()))
        throw TImageError(PictureTooLargeText(declared.width(), declared.height()));
    if (png && IsDeepPng(fileName)) {
        QString error;
        QImage picture = ReadDeepPng(fileName, error);
        if (picture.isNull())
            throw TImageError(readText(format, fileName, error));
        return {std::move(picture), pfCustom};
    }
    if (declared.isValid()) {
        // Qt changes a picture of up to four bytes a pixel to 24 bits in its
        // own block; a wider one is copied into a new picture. The TIFF
        // library may unpack a whole strip or tile beside it.
        const int bits = std::max(32, int(QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel()));
        const qint64 pixels = qint64(declared.width()) * declared.height();
        const qint64 decoded = pixels * bits / 8 + (bits > 32 ? 3 * pixels : 0) + tiff.largestBlock();
        const qint64 allowed = 2 * 3 * pixels + kConversionMargin;
        if (decoded > allowed)
            throw TImageError(
                readText(format, fileName,
                         QCoreApplication::translate("PluginPicture",
                                                     "Изображение %1 x %2 пикселей по %3 бит на пиксель заняло бы "
                                                     "при чтении %4 МБ памяти, допустимо не более %5 МБ.")
                             .arg(declared.width())
                             .arg(declared.height())
                             .arg(bits)
                             .arg(decoded >> 20)
                             .arg(allowed >> 20)));
    }
    QImage read = reader.read();
    if (read.isNull())
        throw TImageError(
            readText(format, fileName,
                     QCoreApplication::translate("PluginPicture", "Файл поврежден или это не %1-файл (%2).")
                         .arg(QLatin1String(format.name), reader.errorString())));
    if (!PictureSizeAllowed(read.width(), read.height()))
        throw TImageError(PictureTooLargeText(read.width(), read.height()));
    const TPixelFormat pixelFormat = PluginPixelFormat(read.format());
    // Handed over, so that the change to 24 bits can reuse the reader's block.
    TPluginPicture result{to24Bit(std::move(read)), pixelFormat};
    if (result.picture.isNull())
        throw TImageError(
            QCoreApplication::translate("PluginPicture", "Недостаточно памяти для изображения \"%1\".").arg(fileName));
    return result;
}

void WritePluginPicture(const QImage& picture, const QString& fileName, const TPluginFormat& format, int quality)
{
    if (picture.isNull())
        throw TImageError(QCoreApplication::translate("PluginPicture", "Нет изображения для записи в %1-файл.")
                              .arg(QLatin1String(format.name)));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw TImageError(writeText(format, fileName, WriteFailureReason(file)));
    const bool webp = qstrcmp(format.qtFormat, "webp") == 0;
    if (webp || qstrcmp(format.qtFormat, "png") == 0) {
        QString error;
        if (!(webp ? WriteWebp(picture, file, quality, error) : WritePng(picture, file, error))) {
            // An empty reason: the file would not take the bytes, and it says why.
            const QString reason = error.isEmpty() ? WriteFailureReason(file) : error;
            file.cancelWriting();
            throw TImageError(writeText(format, fileName, reason));
        }
    } else {
        QImageWriter writer(&file, format.qtFormat);
        // TIFF is compressed losslessly (LZW).
        if (qstrcmp(format.qtFormat, "tiff") == 0)
            writer.setCompression(1);
        if (!writer.write(picture)) {
            // The writer only knows that it failed; the file says why.
            const QString reason = WriteFailureReason(file);
            file.cancelWriting();
            throw TImageError(writeText(format, fileName, reason));
        }
    }
    if (!file.commit())
        throw TImageError(writeText(format, fileName, WriteFailureReason(file)));
}

}  // namespace ormica

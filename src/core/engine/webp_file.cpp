#include "core/engine/webp_file.h"

#include <QCoreApplication>
#include <webp/encode.h>

namespace ormica {

namespace {

int writeOut(const std::uint8_t* data, std::size_t size, const WebPPicture* picture)
{
    auto* out = static_cast<QIODevice*>(picture->custom_ptr);
    return out->write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size) ? 1 : 0;
}

QString encoderText(WebPEncodingError code)
{
    switch (code) {
    case VP8_ENC_ERROR_OUT_OF_MEMORY:
    case VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY:
        return QCoreApplication::translate("WebpFile", "Недостаточно памяти.");
    case VP8_ENC_ERROR_BAD_DIMENSION:
        return QCoreApplication::translate("WebpFile",
                                           "В WebP-файле сторона изображения не может превышать %1 пикселей.")
            .arg(WEBP_MAX_DIMENSION);
    default:
        return QCoreApplication::translate("WebpFile", "Ошибка кодировщика WebP (код %1).").arg(int(code));
    }
}

}  // namespace

bool WriteWebp(const QImage& picture, QIODevice& out, int quality, QString& error)
{
    const QImage bgr =
        picture.format() == QImage::Format_BGR888 ? picture : picture.convertToFormat(QImage::Format_BGR888);
    WebPConfig config;
    WebPPicture pic;
    if (bgr.isNull() || !WebPConfigInit(&config) || !WebPPictureInit(&pic)) {
        error = QCoreApplication::translate("WebpFile", "Недостаточно памяти.");
        return false;
    }
    // As Qt's writer sets them, so that the files stay byte for byte the
    // same. Lossless coding needs the picture as ARGB; lossy coding converts
    // it to YUV either way, so it is imported as YUV at once.
    if (quality < 0 || quality > 100)
        quality = 100;
    if (quality >= 100) {
        config.lossless = 1;
        config.quality = 70;
    } else {
        config.quality = float(quality);
    }
    pic.use_argb = config.lossless;
    pic.width = bgr.width();
    pic.height = bgr.height();
    pic.writer = writeOut;
    pic.custom_ptr = &out;
    bool done = false;
    if (pic.width > WEBP_MAX_DIMENSION || pic.height > WEBP_MAX_DIMENSION)
        error = encoderText(VP8_ENC_ERROR_BAD_DIMENSION);
    else if (!WebPPictureImportBGR(&pic, bgr.constBits(), int(bgr.bytesPerLine())))
        error = encoderText(pic.error_code);
    else if (!WebPEncode(&config, &pic))
        error = pic.error_code == VP8_ENC_ERROR_BAD_WRITE ? QString() : encoderText(pic.error_code);
    else
        done = true;
    WebPPictureFree(&pic);
    return done;
}

}  // namespace ormica

#include "core/engine/png_file.h"

#include "core/engine/large_block.h"

#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <png.h>
#include <vector>

namespace ormica {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Everything touched after setjmp, reached through a pointer, so that it is
// well defined after a long jump.
struct ReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<std::FILE, FileCloser> file;
    QImage image;
    std::vector<png_bytep> rows;
    char message[200] = {};
    ~ReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void onError(png_structp png, png_const_charp message)
{
    auto* s = static_cast<ReadState*>(png_get_error_ptr(png));
    qstrncpy(s->message, message, sizeof s->message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

struct WriteState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    QIODevice* out = nullptr;
    bool writeFailed = false;
    char message[200] = {};
    ~WriteState() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

void onWriteError(png_structp png, png_const_charp message)
{
    auto* s = static_cast<WriteState*>(png_get_error_ptr(png));
    qstrncpy(s->message, message, sizeof s->message);
    png_longjmp(png, 1);
}

void writeBytes(png_structp png, png_bytep data, png_size_t size)
{
    auto* s = static_cast<WriteState*>(png_get_io_ptr(png));
    if (s->out->write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        s->writeFailed = true;
        png_error(png, "write failed");
    }
}

void flushNothing(png_structp) {}

}  // namespace

bool PngChunksWithinFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = f.size();
    qint64 at = 8;  // after the signature
    char head[8];
    while (at + 12 <= size) {
        if (!f.seek(at) || f.read(head, 8) != 8)
            return false;
        const qint64 length = qFromBigEndian<quint32>(head);
        // Length, type, data and CRC.
        if (length > 0x7FFFFFFF || at + 12 + length > size)
            return false;
        if (qstrncmp(head + 4, "IEND", 4) == 0)
            return true;
        at += 12 + length;
    }
    return false;  // no IEND: cut short
}

bool IsDeepPng(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // The signature, then IHDR: length, type, width, height, bit depth.
    const QByteArray head = f.read(25);
    return head.size() == 25 && head.startsWith("\x89PNG\r\n\x1a\n") && head.mid(12, 4) == "IHDR" && head[24] == 16;
}

QImage ReadDeepPng(const QString& fileName, QString& error)
{
    auto st = std::make_unique<ReadState>();
    ReadState* const s = st.get();
    s->file.reset(std::fopen(QFile::encodeName(fileName).constData(), "rb"));
    if (!s->file) {
        error = SystemErrorText(errno);
        return QImage();
    }
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s, onError, onWarning);
    if (s->png)
        s->info = png_create_info_struct(s->png);
    if (!s->info) {
        error = QCoreApplication::translate("PngFile", "Недостаточно памяти.");
        return QImage();
    }
    if (setjmp(png_jmpbuf(s->png))) {
        if (error.isEmpty())
            error = QCoreApplication::translate("PngFile", "Файл поврежден или это не PNG-файл (%1).")
                        .arg(QString::fromLocal8Bit(s->message));
        return QImage();
    }
    png_init_io(s->png, s->file.get());
    png_read_info(s->png, s->info);
    const png_uint_32 w = png_get_image_width(s->png, s->info);
    const png_uint_32 h = png_get_image_height(s->png, s->info);
    if (!PictureSizeAllowed(w, h))
        throw TImageError(PictureTooLargeText(w, h));
    const int type = png_get_color_type(s->png, s->info);
    png_set_scale_16(s->png);
    png_set_strip_alpha(s->png);
    if (!(type & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(s->png);
    png_set_bgr(s->png);
    png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    if (png_get_rowbytes(s->png, s->info) != 3 * png_size_t(w)) {
        error = QCoreApplication::translate("PngFile", "Файл поврежден или это не PNG-файл.");
        png_longjmp(s->png, 1);
    }
    s->image = NewPicture(int(w), int(h), QImage::Format_BGR888);
    if (s->image.isNull()) {
        error = QCoreApplication::translate("PngFile", "Недостаточно памяти для изображения.");
        png_longjmp(s->png, 1);
    }
    s->rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        s->rows[y] = s->image.scanLine(int(y));
    png_read_image(s->png, s->rows.data());
    png_read_end(s->png, nullptr);
    return std::move(s->image);
}

bool WritePng(const QImage& picture, QIODevice& out, QString& error)
{
    const QImage bgr =
        picture.format() == QImage::Format_BGR888 ? picture : picture.convertToFormat(QImage::Format_BGR888);
    auto st = std::make_unique<WriteState>();
    WriteState* const s = st.get();
    s->out = &out;
    s->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, s, onWriteError, onWarning);
    if (s->png)
        s->info = png_create_info_struct(s->png);
    if (!s->info || bgr.isNull()) {
        error = QCoreApplication::translate("PngFile", "Недостаточно памяти.");
        return false;
    }
    if (setjmp(png_jmpbuf(s->png))) {
        if (!s->writeFailed)
            error = QString::fromLocal8Bit(s->message);
        return false;
    }
    png_set_write_fn(s->png, s, writeBytes, flushNothing);
    png_set_IHDR(s->png, s->info, png_uint_32(bgr.width()), png_uint_32(bgr.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bgr.dotsPerMeterX() > 0 && bgr.dotsPerMeterY() > 0)
        png_set_pHYs(s->png, s->info, png_uint_32(bgr.dotsPerMeterX()), png_uint_32(bgr.dotsPerMeterY()),
                     PNG_RESOLUTION_METER);
    png_write_info(s->png, s->info);
    png_set_bgr(s->png);
    for (int y = 0; y < bgr.height(); ++y)
        png_write_row(s->png, const_cast<png_bytep>(bgr.constScanLine(y)));
    png_write_end(s->png, s->info);
    return true;
}

}  // namespace ormica

#include "core/engine/bmp_file.h"

#include "core/engine/large_block.h"

#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/img_service.h"
#include "core/engine/load_save_image.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/uio.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define ORMICA_BMP_SSSE3 1
#endif

namespace ormica {

namespace {

enum : std::uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_JPEG = 4,
    BI_PNG = 5,
    BI_ALPHABITFIELDS = 6,
};

std::uint16_t u16(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}
std::uint32_t u32(const QByteArray& b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
std::int32_t i32(const QByteArray& b, int at)
{
    return qFromLittleEndian<qint32>(b.constData() + at);
}

[[noreturn]] void notBitmap(const QString& fileName)
{
    throw TImageError(
        QCoreApplication::translate("BmpFile", "Файл \"%1\" не является правильным BMP-файлом.").arg(fileName));
}

bool isWindowsHeader(std::uint32_t size)
{
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

TBmpHeader ReadBmpHeader(const QString& fileName)
{
    if (const QString why = ReadFailureReason(fileName); !why.isEmpty())
        throw TImageError(CannotOpenText(fileName, why));
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw TImageError(CannotOpenText(fileName, f.errorString()));
    const QByteArray head = f.read(14 + 124 + 12);
    if (head.size() < 18 || head[0] != 'B' || head[1] != 'M')
        notBitmap(fileName);
    const std::uint32_t infoSize = u32(head, 14);
    TBmpHeader h;
    h.infoSize = infoSize;
    if (infoSize == 12) {  // the old OS/2 core header
        if (head.size() < 26)
            notBitmap(fileName);
        h.width = u16(head, 18);
        h.height = u16(head, 20);
        h.bitCount = u16(head, 24);
    } else if (infoSize >= 16 && infoSize <= 124) {
        if (head.size() < qsizetype(14 + std::min<std::uint32_t>(infoSize, 40)))
            notBitmap(fileName);
        h.width = i32(head, 18);
        h.height = std::llabs(qint64(i32(head, 22)));
        h.topDown = i32(head, 22) < 0;
        h.bitCount = u16(head, 28);
        h.compression = infoSize >= 20 ? u32(head, 30) : BI_RGB;
        // OS/2 2.x shares the codes for none, RLE8 and RLE4; its 3 and 4 are
        // Huffman and RLE24, nothing Windows knows.
        if (!isWindowsHeader(infoSize) && (h.compression == BI_BITFIELDS || h.compression == BI_JPEG))
            h.compression += 100;
        if (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
            const int at = infoSize >= 52 ? 14 + 40 : 14 + int(infoSize);
            if (head.size() < at + 12)
                notBitmap(fileName);
            h.redMask = u32(head, at);
            h.greenMask = u32(head, at + 4);
            h.blueMask = u32(head, at + 8);
            if ((infoSize >= 56 || h.compression == BI_ALPHABITFIELDS) && head.size() >= at + 16)
                h.alphaMask = u32(head, at + 12);
        }
    } else {
        notBitmap(fileName);
    }
    if (!PictureSizeAllowed(h.width, h.height))
        throw TImageError(PictureTooLargeText(h.width, h.height));
    h.format = BmpPixelFormat(h);

    // Where the reader will begin on the pixels: at the offset the file
    // header gives, but never before the palette and masks end.
    h.fileSize = f.size();
    qint64 tables = 14 + qint64(infoSize);
    if (h.bitCount <= 8) {
        const std::uint32_t used = infoSize >= 36 && head.size() >= 50 ? u32(head, 46) : 0;
        const qint64 colours = used > 0 && used < (1u << h.bitCount) ? used : (qint64(1) << h.bitCount);
        tables += colours * (infoSize == 12 ? 3 : 4);
    } else if (infoSize == 40 && h.compression == BI_BITFIELDS) {
        tables += 12;
    } else if (infoSize == 40 && h.compression == BI_ALPHABITFIELDS) {
        tables += 16;
    }
    const qint64 offset = qFromLittleEndian<quint32>(head.constData() + 10);
    // An offset into the headers is ignored, as the reader ignores it.
    h.paletteCut = offset >= 14 + qint64(infoSize) && offset < tables;
    h.pixelsAt = std::max(offset, tables);
    const bool uncompressed =
        h.compression == BI_RGB || h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    if (uncompressed)
        // The last row's padding may be missing: it carries no pixels.
        h.pixelBytes = (h.width * h.bitCount + 31) / 32 * 4 * (h.height - 1) + (h.width * h.bitCount + 7) / 8;
    return h;
}

TPixelFormat BmpPixelFormat(const TBmpHeader& h)
{
    const bool masked = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    switch (h.bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return h.compression == BI_RGB || h.compression == BI_RLE4 ? pf4bit : pfCustom;
    case 8:
        return h.compression == BI_RGB || h.compression == BI_RLE8 ? pf8bit : pfCustom;
    case 16:
        if (h.compression == BI_RGB)
            return pf15bit;
        if (masked && h.redMask == 0x7C00 && h.greenMask == 0x03E0 && h.blueMask == 0x001F)
            return pf15bit;
        if (masked && h.redMask == 0xF800 && h.greenMask == 0x07E0 && h.blueMask == 0x001F)
            return pf16bit;
        return pfCustom;
    case 24:
        return h.compression == BI_RGB ? pf24bit : pfCustom;
    case 32:
        return h.compression == BI_RGB || masked ? pf32bit : pfCustom;
    default:
        return pfCustom;
    }
}

void RaiseImageAllocationLimit()
{
    // Our own limit (1 GiB of 24-bit pixels) is checked on the headers; the
    // reader may need four bytes a pixel on the way.
    QImageReader::setAllocationLimit(int(4 * (kMaxPictureBytes / 3) / (1024 * 1024)) + 1);
}

namespace {

// The reader widens a 5-bit channel v to v << 3 (so white is 248); the bits
// repeated below the top ones give the full range.
void widenChannels(QImage& image, bool sixBitGreen)
{
    std::uint8_t five[256], six[256];
    for (int x = 0; x < 256; ++x) {
        five[x] = std::uint8_t(((x >> 3) << 3) | (x >> 5));
        six[x] = std::uint8_t(((x >> 2) << 2) | (x >> 6));
    }
    const std::uint8_t* green = sixBitGreen ? six : five;
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 3) {
            p[0] = five[p[0]];
            p[1] = green[p[1]];
            p[2] = five[p[2]];
        }
    }
}

// The reader leaves pixels it never writes (skipped by run-length codes, or
// past the end of the data) as the memory held them. It fills a picture it
// is given when that has the size and format it would choose, so it is
// given a zeroed one; when the format was guessed wrong it is read again.
bool readZeroed(const QString& fileName, const TBmpHeader& header, QImage& image, QString& error)
{
    const QSize size(int(header.width), int(header.height));
    QImage::Format format = header.bitCount == 1    ? QImage::Format_Mono
                            : header.bitCount <= 8  ? QImage::Format_Indexed8
                            : header.alphaMask != 0 ? QImage::Format_ARGB32
                                                    : QImage::Format_RGB32;
    for (int attempt = 0; attempt < 2; ++attempt) {
        image = QImage();  // never two pictures of this size at once
        image = NewPicture(size.width(), size.height(), format);
        if (image.isNull()) {
            error = QCoreApplication::translate("BmpFile", "Недостаточно памяти для изображения.");
            return false;
        }
        image.fill(0);
        const uchar* given = image.constBits();
        QImageReader reader(fileName, "bmp");
        reader.setAutoTransform(false);
        if (!reader.read(&image)) {
            error = reader.errorString();
            return false;
        }
        if (image.constBits() == given)
            return true;
        format = image.format();
    }
    error = QCoreApplication::translate("BmpFile", "Неизвестная раскладка пикселей.");
    return false;
}

[[noreturn]] void cannotRead(const QString& fileName, const QString& why)
{
    throw TImageError(
        QCoreApplication::translate("BmpFile", "Не могу прочитать BMP-файл \"%1\".\r\n%2").arg(fileName, why));
}

QString endsEarly()
{
    return QCoreApplication::translate("BmpFile", "Файл обрывается раньше, чем кончаются пиксели.");
}

// Fills the pieces from the file at `offset`, resuming after short reads.
void readPieces(int fd, qint64 offset, iovec* pieces, std::size_t count, const QString& fileName)
{
    while (count > 0) {
        const ssize_t n = ::preadv(fd, pieces, int(std::min<std::size_t>(count, IOV_MAX)), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            cannotRead(fileName, QString::fromLocal8Bit(std::strerror(errno)));
        if (n == 0)
            cannotRead(fileName, endsEarly());
        offset += n;
        for (std::size_t left = std::size_t(n); left > 0;) {
            const std::size_t take = std::min(left, pieces->iov_len);
            pieces->iov_base = static_cast<char*>(pieces->iov_base) + take;
            pieces->iov_len -= take;
            left -= take;
            if (pieces->iov_len == 0) {
                ++pieces;
                --count;
            }
        }
    }
}

QImage newPicture(const QString& fileName, const TBmpHeader& header)
{
    QImage image = NewPicture(int(header.width), int(header.height), QImage::Format_BGR888);
    if (image.isNull())
        throw TImageError(
            QCoreApplication::translate("BmpFile", "Недостаточно памяти для изображения \"%1\".").arg(fileName));
    return image;
}

// Uncompressed 24-bit rows are the picture's own bytes, padding included:
// the kernel copies them straight into the scan lines, with no buffer or
// picture of another format between (the general reader would hold four
// bytes a pixel, and refuses more than 16384 x 16384 pixels).
QImage readRows24(QFile& f, const QString& fileName, const TBmpHeader& header)
{
    QImage image = newPicture(fileName, header);
    const int h = image.height();
    const std::size_t rowBytes = 3 * std::size_t(image.width());
    const std::size_t stride = std::size_t(image.bytesPerLine());  // 4-byte aligned, as in the file
    std::vector<iovec> rows(static_cast<std::size_t>(h));
    for (int r = 0; r < h; ++r)
        rows[std::size_t(r)] = {image.scanLine(header.topDown ? r : h - 1 - r), r + 1 < h ? stride : rowBytes};
    readPieces(f.handle(), header.pixelsAt, rows.data(), rows.size(), fileName);
    return image;
}

// 32-bit rows in blocks of a quarter megabyte, still in the cache when each
// row is packed to three bytes a pixel into its scan line.
QImage readRows32(QFile& f, const QString& fileName, const TBmpHeader& header)
{
    QImage image = newPicture(fileName, header);
    const int w = image.width(), h = image.height();
    const std::size_t stride = 4 * std::size_t(w);
    const int rowsAtOnce = int(std::max<std::size_t>(1, (std::size_t(1) << 18) / stride));
    std::vector<std::uint8_t> block(stride * std::size_t(std::min(rowsAtOnce, h)));
    const auto pack = detail::packRow32SimdAvailable() ? detail::packRow32Simd : detail::packRow32Portable;
    qint64 at = header.pixelsAt;
    for (int done = 0; done < h;) {
        const int n = std::min(rowsAtOnce, h - done);
        iovec piece{block.data(), stride * std::size_t(n)};
        readPieces(f.handle(), at, &piece, 1, fileName);
        at += qint64(stride) * n;
        for (int i = 0; i < n; ++i) {
            const int fileRow = done + i;
            pack(block.data() + std::size_t(i) * stride, image.scanLine(header.topDown ? fileRow : h - 1 - fileRow), w);
        }
        done += n;
    }
    return image;
}

}  // namespace

bool BmpRowsReadDirectly(const TBmpHeader& h)
{
    if (h.bitCount == 24)
        return h.compression == BI_RGB;
    if (h.bitCount != 32)
        return false;
    // Qt's reader refuses the 52- and 56-byte headers: those, and OS/2's,
    // stay its own. It ignores a V4 or V5 header's masks under BI_RGB.
    const bool windows = h.infoSize == 40 || h.infoSize == 108 || h.infoSize == 124;
    if (h.compression == BI_RGB)
        return windows;
    return h.compression == BI_BITFIELDS && windows && h.redMask == 0x00FF0000 && h.greenMask == 0x0000FF00 &&
           h.blueMask == 0x000000FF && (h.alphaMask == 0 || h.alphaMask == 0xFF000000);
}

namespace detail {

void packRow32Portable(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    for (int x = 0; x < width; ++x, src += 4, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}

#ifdef ORMICA_BMP_SSSE3

bool packRow32SimdAvailable()
{
    static const bool yes = __builtin_cpu_supports("ssse3");
    return yes;
}

// Sixteen pixels a step: each load of four packs to twelve bytes, and the
// four packed pieces are stitched into three full stores.
__attribute__((target("ssse3"))) void packRow32Simd(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const std::uint8_t* s = src + 4 * x;
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)), drop);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16)), drop);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32)), drop);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 48)), drop);
        std::uint8_t* o = dst + 3 * x;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_or_si128(a, _mm_slli_si128(b, 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 32), _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    packRow32Portable(src + 4 * x, dst + 3 * x, width - x);
}

#else

bool packRow32SimdAvailable()
{
    return false;
}
void packRow32Simd(const std::uint8_t* src, std::uint8_t* dst, int width)
{
    packRow32Portable(src, dst, width);
}

#endif

}  // namespace detail

QImage ReadBmpPixels(const QString& fileName, const TBmpHeader& header)
{
    RaiseImageAllocationLimit();
    if (header.paletteCut)
        throw TImageError(QCoreApplication::translate(
                              "BmpFile", "Не могу прочитать BMP-файл \"%1\".\r\nПиксели начинаются внутри палитры: "
                                         "палитра короче, чем требует формат пикселя %2.")
                              .arg(fileName, PixelFormatName(header.format)));
    if (header.pixelBytes > 0 && header.fileSize < header.pixelsAt + header.pixelBytes)
        throw TImageError(
            QCoreApplication::translate("BmpFile", "Не могу прочитать BMP-файл \"%1\".\r\nФайл обрывается раньше, чем "
                                                   "кончаются пиксели: %2 байт вместо %3.")
                .arg(fileName)
                .arg(header.fileSize)
                .arg(header.pixelsAt + header.pixelBytes));
    if (BmpRowsReadDirectly(header)) {
        QFile f(fileName);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw TImageError(QCoreApplication::translate("BmpFile", "Не могу открыть файл \"%1\".").arg(fileName));
        return header.bitCount == 24 ? readRows24(f, fileName, header) : readRows32(f, fileName, header);
    }
    if (header.width * header.height > qint64(16384) * 16384)
        throw TImageError(QCoreApplication::translate(
                              "BmpFile", "Не могу прочитать BMP-файл \"%1\".\r\nИзображения с форматом пикселя %2 "
                                         "читаются размером не более 16384 x 16384 пикселей.")
                              .arg(fileName, PixelFormatName(header.format)));
    QImage image;
    QString error;
    if (!readZeroed(fileName, header, image, error))
        throw TImageError(
            QCoreApplication::translate("BmpFile", "Не могу прочитать BMP-файл \"%1\".\r\n%2").arg(fileName, error));
    if (!SetPixelFormat24(image))
        return image;  // the caller tells the user that the format did not take
    if (header.format == pf15bit || header.format == pf16bit)
        widenChannels(image, header.format == pf16bit);
    return image;
}

bool WriteBmpFile(const QImage& picture, const QString& fileName)
{
    const QImage img = Is24Bit(picture) ? picture : picture.convertToFormat(QImage::Format_BGR888);
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        return false;
    const qint64 rowBytes = 3 * qint64(img.width());
    const qint64 stride = (rowBytes + 3) & ~qint64(3);
    const qint64 dataSize = stride * img.height();
    const qint64 fileSize = 14 + 40 + dataSize;
    if (fileSize > 0xFFFFFFFFLL)
        return false;

    char header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), header + 2);
    qToLittleEndian<quint32>(54, header + 10);
    qToLittleEndian<quint32>(40, header + 14);
    qToLittleEndian<qint32>(img.width(), header + 18);
    qToLittleEndian<qint32>(img.height(), header + 22);  // bottom-up
    qToLittleEndian<quint16>(1, header + 26);
    qToLittleEndian<quint16>(24, header + 28);
    qToLittleEndian<quint32>(BI_RGB, header + 30);
    qToLittleEndian<quint32>(quint32(dataSize), header + 34);
    qToLittleEndian<qint32>(2835, header + 38);  // 72 dpi
    qToLittleEndian<qint32>(2835, header + 42);

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(header, 54) != 54)
        return false;
    const char pad[4] = {};
    for (int y = img.height() - 1; y >= 0; --y) {
        if (out.write(reinterpret_cast<const char*>(img.constScanLine(y)), rowBytes) != rowBytes)
            return false;
        if (stride > rowBytes && out.write(pad, stride - rowBytes) != stride - rowBytes)
            return false;
    }
    return out.commit();
}

}  // namespace ormica

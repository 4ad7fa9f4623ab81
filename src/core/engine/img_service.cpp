#include "core/engine/img_service.h"

#include "core/engine/large_block.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace ormica {

namespace {
bool pixelFormat24Fails = false;
}  // namespace

void detail::failPixelFormat24(bool fail)
{
    pixelFormat24Fails = fail;
}

bool SetPixelFormat24(QImage& bitmap)
{
    if (Is24Bit(bitmap))
        return true;
    if (pixelFormat24Fails)
        return false;
    // In place where the bitmap is not shared, so that a photograph is not
    // held twice; a conversion that fails leaves the bitmap as it was.
    QImage converted = std::move(bitmap).convertToFormat(QImage::Format_BGR888);
    if (converted.isNull())
        return false;
    bitmap = std::move(converted);
    return true;
}

namespace {

constexpr int kMaxRows = 65536;            // 16-bit row counters
constexpr qsizetype kMaxRowBytes = 65535;  // 16-bit byte positions in a row

void warn(const QString& text)
{
    messages().warning(text);
}

void setPos(TProgress* p, int v)
{
    if (p)
        p->setPosition(v);
}

// Writes the array into a new bitmap; false when it cannot be had.
bool fillBitmap(QImage& bitmap, const TImgTabBGR& arr, TProgress* progress)
{
    const int rows = arr.rowCount();
    const int w = arr.width();
    if (rows > kMaxRows)
        return false;
    if (w <= 0) {
        bitmap = QImage();
        return true;
    }
    if (bitmap.width() != w || bitmap.height() != rows || !Is24Bit(bitmap)) {
        QImage fresh = NewPicture(w, rows, QImage::Format_BGR888);
        if (fresh.isNull())
            return false;
        bitmap.swap(fresh);
    }
    const qsizetype lineBytes = 3 * qsizetype(w);
    for (int y = 0; y < rows; ++y) {
        uchar* line = bitmap.scanLine(y);
        const qsizetype n = std::min(lineBytes, arr.rowLength(y));
        if (n > 0)
            std::memcpy(line, arr.row(y), std::size_t(n));
        if (n < lineBytes)
            std::memset(line + n, 0, std::size_t(lineBytes - n));
        setPos(progress, y);
    }
    return true;
}

}  // namespace

void BitMapToImgTab(const QImage& bitmap, TImgTabBGR& arr, TProgress* progress)
{
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (w <= 0 || h <= 0 || !Is24Bit(bitmap))
        return;
    if (progress) {
        progress->setPosition(0);
        progress->setMaximum(h - 1);
    }
    try {
        if (h > kMaxRows)
            throw std::bad_alloc();
        const qsizetype lineBytes = 3 * qsizetype(w);
        arr.setShape(h, lineBytes);
        for (int y = 0; y < h; ++y) {
            std::memcpy(arr.row(y), bitmap.constScanLine(y), std::size_t(lineBytes));
            setPos(progress, y);
        }
    } catch (const std::bad_alloc&) {
        arr.clear();
        warn(QCoreApplication::translate("ImgService", "BitMapToImgTab : Не могу записать BitMap в BGR-массив."));
    }
    setPos(progress, 0);
}

void ImageToImgTab(const TImageControl& image, TImgTabBGR& arr, TProgress* progress)
{
    const QImage& bitmap = image.picture();
    if (Is24Bit(bitmap) && bitmap.width() > 0 && bitmap.height() > 0)
        BitMapToImgTab(bitmap, arr, progress);
}

void ImgTabToBitMap(QImage& bitmap, const TImgTabBGR& arr, TProgress* progress)
{
    if (!Is24Bit(bitmap) || arr.empty())
        return;
    if (progress) {
        progress->setPosition(0);
        progress->setMaximum(arr.rowCount() - 1);
    }
    if (!fillBitmap(bitmap, arr, progress))
        warn(QCoreApplication::translate("ImgService", "ImgTabToBitMap : Не могу записать BGR-массив в BitMap."));
    setPos(progress, 0);
}

void ImgTabToImage(const TImgTabBGR& arr, TImageControl& image, TProgress* progress)
{
    // A new 24-bit bitmap, resized by the copy; none at all for an empty array.
    QImage bitmap(1, 1, QImage::Format_BGR888);
    ImgTabToBitMap(bitmap, arr, progress);
    image.setPicture(arr.empty() ? QImage() : bitmap);
}

void TabBRGtoTabBGR(const TImgTabBGR& in, TImgTabBGR& out)
{
    if (in.empty() || &in == &out)
        return;
    try {
        if (in.rowCount() > kMaxRows)
            throw std::bad_alloc();
        out = in;
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService", "TabBRGtoTabBGR : Не могу скопировать массив."));
    }
}

void TabBRGtoTabColor(const TImgTabBGR& in, TImgTabColor& out)
{
    if (in.empty())
        return;
    try {
        const int rows = in.rowCount();
        if (rows > kMaxRows)
            throw std::bad_alloc();
        std::vector<qsizetype> lengths(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            lengths[std::size_t(r)] = in.rowLength(r) / 3;
            if (in.rowLength(r) > kMaxRowBytes)
                throw std::bad_alloc();
        }
        out.setShape(lengths);
        // A colour row holds the same bytes as the array row.
        for (int r = 0; r < rows; ++r)
            if (out.rowLength(r) > 0)
                std::memcpy(static_cast<void*>(out.row(r)), in.row(r), std::size_t(out.rowLength(r)) * 3);
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService", "TabBRGtoTabColor : Не могу конвертировать массив."));
    }
}

void TabColorToTabBRG(const TImgTabColor& in, TImgTabBGR& out)
{
    if (in.empty())
        return;
    try {
        const int rows = in.rowCount();
        if (rows > kMaxRows)
            throw std::bad_alloc();
        std::vector<qsizetype> lengths(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            lengths[std::size_t(r)] = 3 * in.rowLength(r);
            if (lengths[std::size_t(r)] > kMaxRowBytes)
                throw std::bad_alloc();
        }
        out.setShape(lengths);
        for (int r = 0; r < rows; ++r)
            if (out.rowLength(r) > 0)
                std::memcpy(out.row(r), in.row(r), std::size_t(out.rowLength(r)));
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService", "TabColorToTabBRG : Не могу конвертировать массив."));
    }
}

namespace {

// Hands `in`'s block to `out` where the copy would take every row whole
// (row boundaries between elements of both kinds, within the counters'
// reach), else copies, with the copy's trimming and refusals.
template <class In, class Out> void handOn(In& in, Out& out, void (*copy)(const In&, Out&))
{
    if (in.empty())
        return;
    bool whole = in.rowCount() <= kMaxRows;
    for (int r = 0; whole && r < in.rowCount(); ++r)
        whole = in.rowLength(r) * qsizetype(sizeof(in.row(r)[0])) <= kMaxRowBytes;
    if (!whole || !out.adopt(in))
        copy(in, out);
    in.clear();
}

}  // namespace

void MoveTabBRGtoTabColor(TImgTabBGR&& in, TImgTabColor& out)
{
    handOn(in, out, TabBRGtoTabColor);
}

void MoveTabColorToTabBRG(TImgTabColor&& in, TImgTabBGR& out)
{
    handOn(in, out, TabColorToTabBRG);
}

void SelectedToImgTab(const TImgTabBGR& in, const TRect& rect, TImgTabBGR& out)
{
    if (in.empty() || rect.Right < rect.Left || rect.Bottom < rect.Top)
        return;
    TRect r;
    if (!IntersectRect(r, rect, TRect{0, 0, in.width() - 1, in.height() - 1}))
        return;
    try {
        TImgTabBGR result;
        const qsizetype rowBytes = 3 * (qsizetype(r.Right) - r.Left + 1);
        const qsizetype from = 3 * qsizetype(r.Left);
        result.setShape(r.Bottom - r.Top + 1, rowBytes);
        for (int k = 0; k < result.rowCount(); ++k) {
            const int src = r.Top + k;
            // Rows of a text import may be short; never read past them.
            const qsizetype have = std::clamp(in.rowLength(src) - from, qsizetype(0), rowBytes);
            if (have > 0)
                std::memcpy(result.row(k), in.row(src) + from, std::size_t(have));
            if (have < rowBytes)
                std::memset(result.row(k) + have, 0, std::size_t(rowBytes - have));
        }
        out = std::move(result);
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService", "SelectedToImgTab : Не могу фрагмент скопировать в массив."));
    }
}

void AreaBitMapToImgTabColor(const QImage& bitmap, const TRect& rect, TImgTabColor& out)
{
    if (bitmap.isNull() || bitmap.width() <= 0 || bitmap.height() <= 0 || !Is24Bit(bitmap))
        return;
    TRect r = NormalizeRect({rect.Left, rect.Top}, {rect.Right, rect.Bottom});
    r = ClipRectToBitmap(bitmap, r);
    if (!IntersectRect(r, r, TRect{0, 0, bitmap.width() - 1, bitmap.height() - 1}))
        return;
    try {
        if (3 * qsizetype(r.Right) + 2 > kMaxRowBytes)
            throw std::bad_alloc();
        TImgTabColor result;
        result.setShape(r.Bottom - r.Top + 1, qsizetype(r.Right) - r.Left + 1);
        for (int k = 0; k < result.rowCount(); ++k)
            std::memcpy(static_cast<void*>(result.row(k)), bitmap.constScanLine(r.Top + k) + 3 * qsizetype(r.Left),
                        std::size_t(result.rowLength(k)) * 3);
        out = std::move(result);
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService",
                                         "AreaBitMapToImgTabColor : Не могу фрагмент скопировать в массив."));
    }
}

void SelectedToImgTabColor(const TImgTabColor& in, TPoint at, QImage& bitmap)
{
    if (in.empty() || at.x < 0 || at.y < 0 || bitmap.isNull() || !Is24Bit(bitmap))
        return;
    const TRect target{at.x, at.y, int(std::min<qsizetype>(at.x + in.rowLength(0) - 1, INT32_MAX)),
                       int(std::min<qsizetype>(qsizetype(at.y) + in.rowCount() - 1, INT32_MAX))};
    TRect r;
    if (!IntersectRect(r, target, TRect{0, 0, bitmap.width() - 1, bitmap.height() - 1}))
        return;
    // Byte positions in a scan line are 16-bit signed.
    if (3 * qsizetype(r.Right) + 2 > 32767) {
        warn(QCoreApplication::translate("ImgService",
                                         "SelectedToImgTabColor : Не могу фрагмент скопировать в массив."));
        return;
    }
    for (int y = r.Top; y <= r.Bottom; ++y) {
        const int k = y - r.Top;
        const qsizetype n = std::min<qsizetype>(r.Right - r.Left + 1, in.rowLength(k));
        if (n > 0)
            std::memcpy(bitmap.scanLine(y) + 3 * qsizetype(r.Left), static_cast<const void*>(in.row(k)),
                        std::size_t(n) * 3);
    }
}

bool SetAndCrearTabBGR(const TImgTabBGR& shape, TColor color, TImgTabBGR& out, TProgress* progress)
{
    const TBGRTriple t = ColorToBGRTriple(color);
    const int rows = shape.rowCount();
    if (progress) {
        progress->setMinimum(0);
        progress->setMaximum(rows);
        progress->setPosition(0);
    }
    try {
        std::vector<qsizetype> lengths(static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r)
            lengths[std::size_t(r)] = shape.rowLength(r);
        out.setShape(lengths);
        for (int r = 0; r < rows; ++r) {
            std::uint8_t* p = out.row(r);
            const qsizetype n = out.rowLength(r);
            if (r > 0 && n <= out.rowLength(0)) {
                std::memcpy(p, out.row(0), std::size_t(n));  // every row starts the same
            } else {
                for (qsizetype j = 0; j < n; ++j)
                    p[j] = j % 3 == 0 ? t.b : (j % 3 == 1 ? t.g : t.r);
            }
            if (progress)
                progress->setPosition(progress->position() + 1);
        }
        return true;
    } catch (const std::bad_alloc&) {
        out.clear();
        warn(QCoreApplication::translate("ImgService", "SetAndCrearTabBGR : Не могу подготовить массив."));
        return false;
    }
}

void MinimizePicture(TImageControl& image)
{
    QImage small(2, 2, QImage::Format_BGR888);
    small.fill(Qt::black);
    image.setPicture(small);
}

void PaintImage(TImageControl& image, TColor color)
{
    QImage& canvas = image.canvas();
    if (canvas.isNull()) {
        if (image.width() <= 0 || image.height() <= 0)
            return;
        canvas = NewPicture(image.width(), image.height(), QImage::Format_BGR888);
        if (canvas.isNull())
            return;
    }
    const TBGRTriple c = ColorToBGR(ResolveColor(color));
    canvas.fill(QColor(c.r, c.g, c.b));
    image.pictureChanged();
}

bool ArrayIsPicture(const TImgTabBGR& arr, const QImage& picture)
{
    if (picture.format() != QImage::Format_BGR888 || arr.height() != picture.height())
        return false;
    const std::size_t rowBytes = std::size_t(picture.width()) * 3;
    for (int y = 0; y < arr.height(); ++y)
        if (std::size_t(arr.rowLength(y)) != rowBytes ||
            std::memcmp(arr.row(y), picture.constScanLine(y), rowBytes) != 0)
            return false;
    return true;
}

}  // namespace ormica

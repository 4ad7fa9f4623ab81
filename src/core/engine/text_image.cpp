#include "core/engine/text_image.h"
#include "core/engine/text_image_parser.h"

#include "core/engine/cp1251.h"
#include "core/engine/file_errors.h"
#include "core/engine/image_error.h"
#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ormica {

using detail::isDigit;
using detail::kNoSeparator;
using detail::TTextImageParser;

namespace {

// Blocks of this size move between the file and memory.
qsizetype blockSize = qsizetype(1) << 20;

// The byte of the separator in the file's code page, Windows-1251; a
// character it has no byte for becomes '?', as the platform's own conversion
// makes it.
int separatorByte(const QString& separator)
{
    if (separator.isEmpty())
        return kNoSeparator;
    const std::optional<QByteArray> b = ToCp1251(separator.left(1));
    return b ? int(static_cast<unsigned char>(b->front())) : '?';
}

// The decimal forms of 0..255, padded to four bytes so that one fixed copy
// moves any of them.
struct TDecimal {
    char digits[4];
    int length;
};

constexpr std::array<TDecimal, 256> makeDecimals()
{
    std::array<TDecimal, 256> table{};
    for (int v = 0; v < 256; ++v) {
        TDecimal& d = table[std::size_t(v)];
        if (v >= 100) {
            d.digits[0] = char('0' + v / 100);
            d.digits[1] = char('0' + v / 10 % 10);
            d.digits[2] = char('0' + v % 10);
            d.length = 3;
        } else if (v >= 10) {
            d.digits[0] = char('0' + v / 10);
            d.digits[1] = char('0' + v % 10);
            d.length = 2;
        } else {
            d.digits[0] = char('0' + v);
            d.length = 1;
        }
    }
    return table;
}

constexpr std::array<TDecimal, 256> kDecimals = makeDecimals();

void writeError(const QString& fileName, const QString& reason)
{
    messages().error(
        QCoreApplication::translate("TextImage", "WriteImgTabText : Не могу записать файл изображения %1 : %2")
            .arg(fileName, reason));
}

void readError(const QString& fileName, const QString& reason)
{
    messages().error(
        QCoreApplication::translate("TextImage", "ReadImgTabText : Не могу прочитать файл изображения %1 : %2")
            .arg(fileName, reason));
}

void setPos(TProgress* progress, int value)
{
    if (progress)
        progress->setPosition(value);
}

// Why the array cannot be written, or an empty text.
QString refusal(const TImgTabBGR& arr)
{
    if (arr.rowCount() > kMaxTextImageRows)
        return QCoreApplication::translate("TextImage", "в массиве %1 строк, допустимо не более %2")
            .arg(arr.rowCount())
            .arg(kMaxTextImageRows);
    for (int r = 0; r < arr.rowCount(); ++r) {
        if (arr.rowLength(r) == 0)
            return QCoreApplication::translate("TextImage", "строка %1 массива пуста").arg(r);
        if (arr.rowLength(r) > kMaxTextImageRowBytes)
            return QCoreApplication::translate("TextImage", "строка %1 массива длиннее %2 байт")
                .arg(r)
                .arg(kMaxTextImageRowBytes);
    }
    return {};
}

}  // namespace

namespace detail {
void setTextImageBlock(qsizetype bytes)
{
    blockSize = bytes > 0 ? bytes : qsizetype(1) << 20;
}
}  // namespace detail

QString TextSeparator(int item, const QString& otherText)
{
    switch (item) {
    case kSeparatorTab:
        return QStringLiteral("\t");
    case kSeparatorOther: {
        // The platform's trim: every character up to the blank goes.
        qsizetype b = 0;
        while (b < otherText.size() && otherText[b].unicode() <= 0x20)
            ++b;
        return b < otherText.size() ? QString(otherText[b]) : QString();
    }
    default:
        return QStringLiteral(";");
    }
}

QString TextImageFileName(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QLatin1String(".txt");
}

bool TextToByte(std::string_view text, std::uint8_t& value)
{
    value = 0;
    const std::size_t n = text.size();
    // Nearly every token is one to three plain digits.
    if (n >= 1 && n <= 3) {
        unsigned v = 0;
        std::size_t i = 0;
        for (; i < n; ++i) {
            const unsigned d = unsigned(static_cast<unsigned char>(text[i])) - '0';
            if (d > 9)
                break;
            v = v * 10 + d;
        }
        if (i == n) {
            if (v > 255)
                return false;
            value = std::uint8_t(v);
            return true;
        }
    }
    // The platform's conversion: leading spaces, a sign, '$' for hexadecimal,
    // then digits to the very end.
    std::size_t i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const bool hex = i < n && text[i] == '$';
    if (hex)
        ++i;
    if (i == n)
        return false;
    unsigned v = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        unsigned d;
        if (c >= '0' && c <= '9')
            d = unsigned(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            d = unsigned(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            d = unsigned(c - 'A' + 10);
        else
            return false;
        // Past 255 the value can only be refused; stop it growing.
        v = std::min(v * (hex ? 16u : 10u) + d, 256u);
    }
    if (v > 255 || (negative && v != 0))
        return false;
    value = std::uint8_t(v);
    return true;
}

bool TextToByte(QStringView text, std::uint8_t& value)
{
    value = 0;
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;  // no digit, sign or blank
    const QByteArray latin = text.toLatin1();
    return TextToByte(std::string_view(latin.constData(), std::size_t(latin.size())), value);
}

namespace {

// Why the array cannot be written with this separator to this name, or an
// empty text.
QString writeRefusal(const TImgTabBGR& arr, int sep, const QString& fileName)
{
    // 1, 11 and 21 written with the separator 1 could not be told apart again.
    if (isDigit(sep))
        return QCoreApplication::translate("TextImage", "цифра «%1» не может быть разделителем десятичных значений")
            .arg(QChar(sep));
    if (const QString why = refusal(arr); !why.isEmpty())
        return why;
    return SaveTargetRefusal(fileName);
}

// The decimal text of row r at `out`, each value followed by the separator,
// then CR LF; returns the end. Four bytes are copied a value, so the room
// must reach 4 bytes past the text.
char* rowText(const TImgTabBGR& arr, int r, int sep, char* out)
{
    const std::uint8_t* b = arr.row(r);
    const std::uint8_t* const e = b + arr.rowLength(r);
    if (sep == kNoSeparator) {
        for (; b < e; ++b) {
            const TDecimal& d = kDecimals[*b];
            std::memcpy(out, d.digits, 4);
            out += d.length;
        }
    } else {
        const char s = char(sep);
        for (; b < e; ++b) {
            const TDecimal& d = kDecimals[*b];
            std::memcpy(out, d.digits, 4);
            out += d.length;
            *out++ = s;
        }
    }
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

}  // namespace

bool WriteImgTabText(const TImgTabBGR& arr, const QString& separator, const QString& fileName, TProgress* progress)
{
    if (arr.empty())
        return true;
    const int sep = separatorByte(separator);
    if (const QString why = writeRefusal(arr, sep, fileName); !why.isEmpty()) {
        writeError(fileName, why);
        return false;
    }
    if (progress) {
        progress->setPosition(0);
        progress->setMaximum(arr.rowCount() - 1);
    }
    QSaveFile file(fileName);
    bool written = false;
    QString reason;
    qint64 total = 0;
    try {
        // Room for a block and one more row at its widest, plus the 4-byte overrun of a copy.
        const qsizetype room = blockSize + kMaxTextImageRowBytes * 4 + 8;
        auto buffer = std::make_unique_for_overwrite<char[]>(std::size_t(room));
        char* const start = buffer.get();
        char* out = start;
        bool ok = file.open(QIODevice::WriteOnly);
        auto flush = [&] {
            const qint64 n = out - start;
            ok = ok && file.write(start, n) == n;
            total += n;
            out = start;
        };
        for (int r = 0; ok && r < arr.rowCount(); ++r) {
            out = rowText(arr, r, sep, out);
            if (out - start >= blockSize)
                flush();
            setPos(progress, r);
        }
        if (ok)
            flush();
        // A short write can be reported as whole (seen with a file-size
        // limit), so the size on disk is checked before the old file goes.
        written = ok && file.flush() && file.error() == QFileDevice::NoError && file.size() == total;
    } catch (const std::bad_alloc&) {
        reason = QCoreApplication::translate("TextImage", "недостаточно памяти");
    }
    if (!written || !file.commit()) {
        if (reason.isEmpty())
            reason = WriteFailureReason(file);
        file.cancelWriting();
        writeError(fileName, reason);
        setPos(progress, 0);
        return false;
    }
    setPos(progress, 0);
    return true;
}

bool ReadImgTabText(TImgTabBGR& arr, const QString& separator, const QString& fileName, TProgress* progress)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        readError(fileName, QCoreApplication::translate("TextImage", "файл не найден"));
        return false;
    }
    // A pipe or a device could block or never end.
    if (!info.isFile()) {
        readError(fileName, QCoreApplication::translate("TextImage", "это не обычный файл"));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const QString why = ReadFailureReason(fileName);
        readError(fileName, why.isEmpty() ? file.errorString() : why);
        return false;
    }
    const qint64 size = file.size();
    const int kib = int(std::min<qint64>((size + 1023) / 1024, 0x7FFFFFFF));
    if (progress) {
        progress->setPosition(0);
        progress->setMaximum(std::max(kib, 1));
    }
    QString reason;
    try {
        // A value takes two bytes at least. No more than the largest picture,
        // two stray values a row and a block's values are ever kept: past
        // that the picture is refused and its values dropped.
        const qint64 most = kMaxPictureBytes + 2 * kMaxTextImageLines + blockSize;
        TTextImageParser parser(separatorByte(separator), qsizetype(std::min<qint64>(size / 2 + 16, most)));
        auto block = std::make_unique_for_overwrite<char[]>(std::size_t(blockSize));
        qint64 done = 0;
        bool withinLimit = true;
        for (;;) {
            const qint64 n = file.read(block.get(), blockSize);
            if (n < 0) {
                reason = file.errorString();
                break;
            }
            if (n == 0)
                break;
            withinLimit = parser.feed(block.get(), qsizetype(n));
            if (!withinLimit)
                break;
            done += n;
            setPos(progress, int(std::min<qint64>(done / 1024, kib)));
        }
        if (reason.isEmpty() && withinLimit)
            withinLimit = parser.finish();
        if (!withinLimit)
            reason = QCoreApplication::translate("TextImage", "в файле более %1 строк").arg(kMaxTextImageLines);
        else if (reason.isEmpty() && parser.tooLarge())
            reason = PictureTooLargeText(parser.widest(), parser.lines());
        if (reason.isEmpty()) {
            setPos(progress, 0);
            if (parser.lines() == 0)
                return false;
            TImgTabBGR fresh;
            parser.build(fresh);
            arr = std::move(fresh);
            return true;
        }
    } catch (const std::bad_alloc&) {
        reason = QCoreApplication::translate("TextImage", "недостаточно памяти");
    }
    readError(fileName, reason);
    setPos(progress, 0);
    return false;
}

}  // namespace ormica

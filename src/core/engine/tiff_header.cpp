#include "core/engine/tiff_header.h"

#include "core/engine/image_error.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <optional>

namespace ormica {

namespace {

constexpr qint64 kNoSize = std::numeric_limits<qint64>::max();

// a × b, or kNoSize once it passes what any check here could accept.
qint64 mul(qint64 a, qint64 b)
{
    if (a <= 0 || b <= 0)
        return 0;
    return a > kNoSize / b ? kNoSize : a * b;
}

qint64 rowBytes(qint64 width, const TTiffLayout& l)
{
    const qint64 bits = mul(mul(width, l.samplesPerPixel), l.bitsPerSample);
    return bits == kNoSize ? kNoSize : (bits + 7) / 8;
}

class Reader {
public:
    explicit Reader(QFile& f) : f_(f) {}
    bool big = false;  // big-endian
    bool read(qint64 at, char* out, qint64 n) { return at >= 0 && f_.seek(at) && f_.read(out, n) == n; }
    std::uint64_t value(const char* p, int bytes) const
    {
        switch (bytes) {
        case 2:
            return big ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
        case 4:
            return big ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
        default:
            return big ? qFromBigEndian<quint64>(p) : qFromLittleEndian<quint64>(p);
        }
    }

private:
    QFile& f_;
};

int typeBytes(unsigned type)
{
    switch (type) {
    case 3:  // SHORT
        return 2;
    case 4:  // LONG
        return 4;
    case 16:  // LONG8
        return 8;
    default:
        return 0;  // not a type these tags take
    }
}

}  // namespace

qint64 TTiffLayout::dataBytes() const
{
    return mul(rowBytes(width, *this), height);
}

qint64 TTiffLayout::largestBlock() const
{
    if (tileWidth > 0 || tileLength > 0)
        return mul(rowBytes(tileWidth, *this), tileLength);
    const qint64 rows = rowsPerStrip > 0 ? std::min(rowsPerStrip, height) : height;
    return mul(rowBytes(width, *this), rows);
}

qint64 MaxTiffDataBytes()
{
    return 4 * (kMaxPictureBytes / 3);
}

namespace {

// The byte order and the offset of the first directory, from the header.
bool firstDirectory(Reader& r, bool& bigTiff, qint64& dirAt)
{
    char head[16];
    if (!r.read(0, head, 8))
        return false;
    if (head[0] == 'M' && head[1] == 'M')
        r.big = true;
    else if (head[0] != 'I' || head[1] != 'I')
        return false;
    const auto magic = r.value(head + 2, 2);
    bigTiff = magic == 43;
    if (magic == 42) {
        dirAt = qint64(r.value(head + 4, 4));
        return true;
    }
    if (!bigTiff || !r.read(0, head, 16) || r.value(head + 4, 2) != 8)
        return false;
    const std::uint64_t at = r.value(head + 8, 8);
    dirAt = qint64(at);
    return at <= std::uint64_t(kNoSize);
}

// The entry's first value, and for the bits per sample the largest of them;
// nothing for a type these tags do not take. Values that do not fit the
// entry's field are stored elsewhere, and the field holds their offset.
// False when those values cannot be read.
bool entryValue(Reader& r, const char* entry, bool bigTiff, std::optional<qint64>& value)
{
    const int valueBytes = bigTiff ? 8 : 4;
    const unsigned tag = unsigned(r.value(entry, 2));
    const int size = typeBytes(unsigned(r.value(entry + 2, 2)));
    const std::uint64_t n = r.value(entry + 4, valueBytes);
    value.reset();
    if (size == 0 || n == 0 || size > valueBytes)
        return true;  // not a type these tags take; a LONG8 outside a big TIFF
    const std::uint64_t listed = tag == 258 ? std::min<std::uint64_t>(n, 64) : 1;
    const char* p = entry + 4 + valueBytes;
    char values[64 * 8];
    if (n > std::uint64_t(valueBytes / size)) {
        const std::uint64_t at = r.value(p, valueBytes);
        if (at > std::uint64_t(kNoSize) || !r.read(qint64(at), values, qint64(listed) * size))
            return false;
        p = values;
    }
    std::uint64_t v = 0;
    for (std::uint64_t k = 0; k < listed; ++k)
        v = std::max(v, r.value(p + k * size, size));
    value = v > std::uint64_t(kNoSize) ? kNoSize : qint64(v);
    return true;
}

}  // namespace

bool ReadTiffLayout(const QString& fileName, TTiffLayout& layout)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Reader r(f);
    bool bigTiff = false;
    qint64 dirAt = 0;
    if (!firstDirectory(r, bigTiff, dirAt))
        return false;
    const int countBytes = bigTiff ? 8 : 2;
    const int entryBytes = bigTiff ? 20 : 12;
    char countField[8];
    if (!r.read(dirAt, countField, countBytes))
        return false;
    const std::uint64_t count = r.value(countField, countBytes);
    if (count > 65535)
        return false;
    TTiffLayout l;
    char entry[20];
    for (std::uint64_t i = 0; i < count; ++i) {
        std::optional<qint64> value;
        if (!r.read(dirAt + countBytes + qint64(i) * entryBytes, entry, entryBytes) ||
            !entryValue(r, entry, bigTiff, value))
            return false;
        if (!value)
            continue;
        switch (unsigned(r.value(entry, 2))) {
        case 256:
            l.width = *value;
            break;
        case 257:
            l.height = *value;
            break;
        case 258:
            l.bitsPerSample = *value;
            break;
        case 277:
            l.samplesPerPixel = *value;
            break;
        case 278:
            l.rowsPerStrip = *value;
            break;
        case 322:
            l.tileWidth = *value;
            break;
        case 323:
            l.tileLength = *value;
            break;
        default:
            break;
        }
    }
    layout = l;
    return true;
}

}  // namespace ormica

#include "recorders.h"

#include "core/engine/img_service.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace ormica::test {

QString testDataDir()
{
    const QByteArray env = qgetenv("ORMICA_TESTDATA");
    const QString dir = env.isEmpty() ? QStringLiteral(ORMICA_DEFAULT_TESTDATA) : QString::fromLocal8Bit(env);
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString corpusPath(const QString& relative)
{
    const QString root = testDataDir();
    return root.isEmpty() ? QString() : root + QLatin1Char('/') + relative;
}

TImgTabBGR arrayOf(const QImage& picture)
{
    TImgTabBGR arr;
    BitMapToImgTab(picture, arr, nullptr);
    return arr;
}

bool arrayHoldsPicture(const TImgTabBGR& arr, const QImage& picture)
{
    if (arr.height() != picture.height() || arr.width() != picture.width())
        return false;
    for (int y = 0; y < arr.height(); ++y)
        if (arr.rowLength(y) != 3 * qsizetype(picture.width()) ||
            std::memcmp(arr.row(y), picture.constScanLine(y), std::size_t(arr.rowLength(y))) != 0)
            return false;
    return true;
}

QImage patternImage(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_BGR888);
    unsigned state = seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < 3 * width; ++x) {
            state = state * 1664525u + 1013904223u;
            line[x] = uchar(state >> 24);
        }
    }
    return image;
}

QByteArray handRecord(std::uint8_t status, std::int32_t number, const QByteArray& name, char fill)
{
    QByteArray r(453, fill);
    r[0] = 'R';
    r[1] = char(status);
    qToLittleEndian<std::int32_t>(number, r.data() + 2);
    r[6] = char(name.size());
    r.replace(7, name.size(), name);
    return r;
}

QByteArray fileBytes(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QString fileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    return writeFile(path, bytes) ? path : QString();
}

bool underFileSizeLimit(std::uint64_t limit, const std::function<void()>& call)
{
    rlimit saved{};
    if (getrlimit(RLIMIT_FSIZE, &saved) != 0)
        return false;
    rlimit small = saved;
    small.rlim_cur = rlim_t(limit);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
    if (limited) {
        call();
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    std::signal(SIGXFSZ, oldSignal);
    return limited;
}

bool sameArrays(const TImgTabBGR& a, const TImgTabBGR& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (int r = 0; r < a.rowCount(); ++r)
        if (!std::ranges::equal(a[r], b[r]))
            return false;
    return true;
}

}  // namespace ormica::test

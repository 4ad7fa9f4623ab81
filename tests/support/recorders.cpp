#include "recorders.h"

#include <QFileInfo>

namespace ormica::test {

QString testDataDir()
{
    const QByteArray env = qgetenv("ORMICA_TESTDATA");
    const QString dir = env.isEmpty() ? QStringLiteral(ORMICA_DEFAULT_TESTDATA) : QString::fromLocal8Bit(env);
    return QFileInfo(dir).isDir() ? dir : QString();
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

}  // namespace ormica::test

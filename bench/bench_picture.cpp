#include "bench_picture.h"

#include "core/engine/row_bands.h"

#include <benchmark/benchmark.h>
#ifdef ORMICA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

#include "core/engine/img_service.h"
#include "core/engine/jpeg_codec.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

QImage benchPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_BGR888);
    unsigned noise = 12345;
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            const double fx = double(x) / width, fy = double(y) / height;
            const int r = int(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + n;
            const int g = int(128 + 90 * std::cos(4.0 * fy - 3.0 * fx)) + n;
            const int b = int(100 + 80 * std::sin(9.0 * fx * fy)) + n;
            line[3 * x] = uchar(std::clamp(b, 0, 255));
            line[3 * x + 1] = uchar(std::clamp(g, 0, 255));
            line[3 * x + 2] = uchar(std::clamp(r, 0, 255));
        }
    }
    return image;
}

QString benchJpegFile(int width, int height)
{
    const QString path = QDir::temp().filePath(QStringLiteral("ormica-bench-%1x%2.jpg").arg(width).arg(height));
    if (!QFileInfo::exists(path))
        ormica::EncodeJpegFile(benchPicture(width, height), path, 90, false, nullptr);
    return path;
}

const QImage& sharedBenchPicture()
{
    static const QImage p = benchPicture(kBenchWidth, kBenchHeight);
    return p;
}

const ormica::TImgTabBGR& sharedBenchArray()
{
    static const ormica::TImgTabBGR a = [] {
        ormica::TImgTabBGR arr;
        ormica::BitMapToImgTab(sharedBenchPicture(), arr, nullptr);
        return arr;
    }();
    return a;
}

void useThreads(const benchmark::State& state, int argument)
{
    const int threads = int(state.range(argument));
    ormica::SetWorkerThreads(threads);
#ifdef ORMICA_HAVE_OPENCV
    cv::setNumThreads(threads == 1 ? 1 : -1);
#endif
}

// Text images of a 6000 x 4000 picture (about 270 MB of text), written and
// read, each beside a plain std::to_chars / std::from_chars loop over the
// same values that moves the same bytes through a file in the same blocks.
// Single-threaded.
#include "bench_picture.h"

#include "core/engine/text_image.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace ormica;

namespace {

constexpr std::size_t kBlock = std::size_t(1) << 20;

QString textFile(const char* name)
{
    return QDir::temp().filePath(QStringLiteral("ormica_bench_%1.txt").arg(QLatin1String(name)));
}

// The file every reader reads, written once.
const QString& sharedTextFile()
{
    static const QString name = [] {
        const QString f = textFile("in");
        WriteImgTabText(sharedBenchArray(), QStringLiteral(";"), f, nullptr);
        return f;
    }();
    return name;
}

void BM_TextExport(benchmark::State& state)
{
    const QString f = textFile("out");
    for (auto _ : state) {
        const bool ok = WriteImgTabText(sharedBenchArray(), QStringLiteral(";"), f, nullptr);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(f).size());
    QFile::remove(f);
}

void BM_TextExportPlainToChars(benchmark::State& state)
{
    const QString f = textFile("plain_out");
    const QByteArray path = QFile::encodeName(f);
    const TImgTabBGR& arr = sharedBenchArray();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.constData(), "wb");
        auto buffer = std::make_unique<char[]>(kBlock + 4 * std::size_t(arr.rowLength(0)) + 8);
        char* out = buffer.get();
        for (int r = 0; r < arr.rowCount(); ++r) {
            const std::uint8_t* p = arr.row(r);
            for (qsizetype i = 0; i < arr.rowLength(r); ++i) {
                out = std::to_chars(out, out + 3, p[i]).ptr;
                *out++ = ';';
            }
            *out++ = '\r';
            *out++ = '\n';
            if (std::size_t(out - buffer.get()) >= kBlock) {
                std::fwrite(buffer.get(), 1, std::size_t(out - buffer.get()), file);
                out = buffer.get();
            }
        }
        std::fwrite(buffer.get(), 1, std::size_t(out - buffer.get()), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(f).size());
    QFile::remove(f);
}

void BM_TextImport(benchmark::State& state)
{
    const QString& f = sharedTextFile();
    for (auto _ : state) {
        TImgTabBGR arr;
        ReadImgTabText(arr, QStringLiteral(";"), f, nullptr);
        benchmark::DoNotOptimize(arr.row(0));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(f).size());
}

// Reads the file in blocks and converts every value into one buffer of the
// picture's size: no checks beyond from_chars's own, no rows.
void BM_TextImportPlainFromChars(benchmark::State& state)
{
    const QString& f = sharedTextFile();
    const QByteArray path = QFile::encodeName(f);
    const std::size_t values = std::size_t(3) * kBenchWidth * kBenchHeight;
    for (auto _ : state) {
        auto pixels = std::make_unique_for_overwrite<std::uint8_t[]>(values);
        auto block = std::make_unique<char[]>(kBlock + 64);
        std::FILE* file = std::fopen(path.constData(), "rb");
        std::size_t kept = 0, n = 0;
        while (std::size_t got = std::fread(block.get() + kept, 1, kBlock, file)) {
            const char* p = block.get();
            const char* end = block.get() + kept + got;
            // Values cut by the block's end wait for the next block.
            const char* last = end;
            while (last > p && last[-1] != ';' && last[-1] != '\n')
                --last;
            while (p < last) {
                if (*p == '\r' || *p == '\n') {
                    ++p;
                    continue;
                }
                std::uint8_t v = 0;
                p = std::from_chars(p, last, v).ptr + 1;
                pixels[n++] = v;
            }
            kept = std::size_t(end - last);
            std::memmove(block.get(), last, kept);
        }
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.get());
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * QFile(f).size());
}

}  // namespace

BENCHMARK(BM_TextExportPlainToChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextImportPlainFromChars)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextImport)->Unit(benchmark::kMillisecond);

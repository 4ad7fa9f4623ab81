#pragma once

#include "core/engine/img_tab.h"
#include "core/filter/filter_kernel.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace ormica::test {

struct CliRun {
    int code = -1;  // -1 when the tool did not end normally (a signal)
    QString out, err;
};

// The language the tool is run in. Most tests read its English; the core's
// own texts are checked in the tool's default language, Russian, in which
// they are written.
enum class CliLanguage { English, Default };

// Runs ormica-cli to its end. `setUp` runs in the child before the tool
// starts (limits, another user); `stdoutFile` takes the standard output
// instead of the test.
CliRun cli(const QStringList& args, const std::function<void()>& setUp = {}, const QString& stdoutFile = {},
           CliLanguage language = CliLanguage::English);
// The same run in the tool's default language.
inline CliRun cliInDefaultLanguage(const QStringList& args, const std::function<void()>& setUp = {})
{
    return cli(args, setUp, {}, CliLanguage::Default);
}

// The words of a command line written as one string: "curve --step 8". A word
// "%1" .. "%9" stands for that item of `items`, which may hold blanks.
QStringList words(const char* line, const QStringList& items = {});

// Every line the tool printed on stderr is marked as its own, and is one line.
void expectPrefixedLines(const CliRun& r);

// The run ended with `code`, nothing on stdout and one marked line on stderr.
testing::AssertionResult RefusedWith(const CliRun& r, int code);

struct MeasuredRun {
    int code = -1;
    long peakKilobytes = 0;
};

// Runs the tool as a child of its own and reads that child's peak resident
// set size; output is discarded.
MeasuredRun measure(const QStringList& args);

// The 54 bytes of a bottom-up 24-bit BMP header.
QByteArray bmpHeader(int width, int height);

// A large JPEG made from a BMP written a row at a time (the test keeps no
// copy), and the tool's run on an 8 x 8 picture to measure against. JPEG
// input, because the BMP reader passes through a 32-bit picture on its way.
struct BigPicture {
    QString jpg;
    MeasuredRun base;
};
BigPicture makeBigPicture(const QString& dir, int width, int height, int mixA, int mixB);

// What the whole-image command of the filter window puts into the target.
TImgTabBGR filteredAsTheWindowDoes(const TImgTabBGR& source, const TFilterKernel& kernel, std::int32_t scale);
// The array of a BMP file the tool wrote.
TImgTabBGR bmpArray(const QString& file);
// A kernel file's text, with the blanks, tabs and line ends a user might type.
QByteArray kernelFileText(const TFilterKernel& k);

// The run's peak stays below the base run's peak and that many copies of a
// picture of `copyKilobytes`, with a quarter copy to spare.
testing::AssertionResult PeakWithin(const MeasuredRun& run, const MeasuredRun& base, int copies, long copyKilobytes);

}  // namespace ormica::test

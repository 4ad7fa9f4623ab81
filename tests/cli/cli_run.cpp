#include "cli_run.h"

#include "core/engine/bmp_file.h"
#include "core/engine/img_service.h"
#include "core/filter/filter_tab.h"
#include "recorders.h"

#include <QFile>
#include <QProcess>
#include <QtEndian>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ormica::test {

CliRun cli(const QStringList& args, const std::function<void()>& setUp, const QString& stdoutFile, CliLanguage language)
{
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (language == CliLanguage::English)
        environment.insert(QStringLiteral("ORMICA_LANG"), QStringLiteral("en"));
    else
        environment.remove(QStringLiteral("ORMICA_LANG"));
    p.setProcessEnvironment(environment);
    if (setUp)
        p.setChildProcessModifier(setUp);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(ORMICA_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList words(const char* line, const QStringList& items)
{
    QStringList w = QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& word : w)
        if (word.size() == 2 && word[0] == QLatin1Char('%') && word[1] >= QLatin1Char('1') &&
            word[1] <= QLatin1Char('9')) {
            const int i = word[1].unicode() - '1';
            if (i >= items.size())
                ADD_FAILURE() << line << ": no item for " << word.toStdString();
            word = items.value(i);
        }
    return w;
}

void expectPrefixedLines(const CliRun& r)
{
    EXPECT_FALSE(r.err.contains(QLatin1Char('\r'))) << r.err.toStdString();
    for (const QString& line : r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith(QLatin1String("ormica-cli: "))) << line.toStdString();
}

testing::AssertionResult RefusedWith(const CliRun& r, int code)
{
    const bool marked = r.err.startsWith(QLatin1String("ormica-cli: ")) && !r.err.contains(QLatin1Char('\r'));
    if (r.code == code && r.out.isEmpty() && r.err.count(QLatin1Char('\n')) == 1 && r.err.endsWith(QLatin1Char('\n')) &&
        marked)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "status " << r.code << " (" << code << " wanted), stdout \""
                                       << r.out.toStdString() << "\", stderr \"" << r.err.toStdString() << '"';
}

MeasuredRun measure(const QStringList& args)
{
    QList<QByteArray> words{QByteArray(ORMICA_CLI)};
    for (const QString& a : args)
        words << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return {};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

testing::AssertionResult PeakWithin(const MeasuredRun& run, const MeasuredRun& base, int copies, long copyKilobytes)
{
    const long most = base.peakKilobytes + copies * copyKilobytes + copyKilobytes / 4;
    if (run.peakKilobytes < most)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << run.peakKilobytes << " KB, more than " << most
                                       << " KB: " << base.peakKilobytes << " KB for a small picture and " << copies
                                       << " copies of " << copyKilobytes << " KB";
}

QByteArray bmpHeader(int width, int height)
{
    const qint64 stride = (3 * qint64(width) + 3) & ~qint64(3);
    const qint64 data = stride * height;
    QByteArray h(54, '\0');
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(54 + data), h.data() + 2);
    qToLittleEndian<quint32>(54, h.data() + 10);
    qToLittleEndian<quint32>(40, h.data() + 14);
    qToLittleEndian<qint32>(width, h.data() + 18);
    qToLittleEndian<qint32>(height, h.data() + 22);
    qToLittleEndian<quint16>(1, h.data() + 26);
    qToLittleEndian<quint16>(24, h.data() + 28);
    qToLittleEndian<quint32>(quint32(data), h.data() + 34);
    return h;
}

BigPicture makeBigPicture(const QString& dir, int width, int height, int mixA, int mixB)
{
    const QString bmp = dir + QStringLiteral("/big.bmp");
    {
        QFile f(bmp);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bmpHeader(width, height));
        QByteArray row(3 * width, '\0');
        for (int y = 0; y < height; ++y) {
            for (int i = 0; i < row.size(); ++i)
                row[i] = char((i * mixA + y * 3) / mixB);
            if (f.write(row) != row.size())
                return {};
        }
    }
    const QString jpg = dir + QStringLiteral("/big.jpg");
    if (cli({QStringLiteral("convert"), bmp, jpg}).code != 0)
        return {};
    QFile::remove(bmp);
    const QString small = dir + QStringLiteral("/small.bmp");
    if (!WriteBmpFile(test::patternImage(8, 8), small))
        return {};
    return {jpg, measure({QStringLiteral("info"), small})};
}

// What the whole-image command of the filter window puts into the target.
TImgTabBGR filteredAsTheWindowDoes(const TImgTabBGR& source, const TFilterKernel& kernel, std::int32_t scale)
{
    TImgTabColor colors, result;
    TabBRGtoTabColor(source, colors);
    TImgTabBGR target;
    if (FilterTabColor(kernel, scale, colors, result, nullptr))
        TabColorToTabBRG(result, target);
    return target;
}

TImgTabBGR bmpArray(const QString& file)
{
    return test::arrayOf(ReadBmpPixels(file, ReadBmpHeader(file)));
}

QByteArray kernelFileText(const TFilterKernel& k)
{
    QByteArray text;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c)
            text += QByteArray::number(k.at(r, c)) + (c < 6 ? " \t" : "");
        text += r % 2 ? "\r\n" : "\n";
    }
    return text;
}

}  // namespace ormica::test

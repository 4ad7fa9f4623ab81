#include "cli_run.h"

#include <QProcess>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ormica::test {

CliRun cli(const QStringList& args, const std::function<void()>& setUp, const QString& stdoutFile)
{
    QProcess p;
    if (setUp)
        p.setChildProcessModifier(setUp);
    if (!stdoutFile.isEmpty())
        p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(ORMICA_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void expectPrefixedLines(const CliRun& r)
{
    EXPECT_FALSE(r.err.contains(QLatin1Char('\r'))) << r.err.toStdString();
    for (const QString& line : r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith(QLatin1String("ormica-cli: "))) << line.toStdString();
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

}  // namespace ormica::test

// Files and streams that fail or are not what they seem, met by the real
// programs: limits, devices, permissions, outputs nobody reads.
#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "recorders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ormica;
using test::cli;
using test::cliInDefaultLanguage;
using test::CliRun;
using test::expectPrefixedLines;
using test::words;

namespace {

QString in(const QTemporaryDir& dir, const char* name)
{
    return dir.filePath(QLatin1String(name));
}

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
}

// Files limited to `limit` bytes in the child.
std::function<void()> fileSizeLimit(rlim_t limit)
{
    return [limit] {
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
    };
}

}  // namespace

TEST(FileFaults, AWritePastTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString bmp = in(dir, "in.bmp");
    ASSERT_TRUE(WriteBmpFile(test::patternImage(200, 150, 3), bmp));
    const QByteArray old("the old file");
    // Every writer's output is larger than this; the bases' record too.
    const auto limited = fileSizeLimit(4000);
    for (const char* name : {"out.bmp", "out.jpg", "out.png", "out.tif", "out.webp", "out.txt"}) {
        SCOPED_TRACE(name);
        const QString out = in(dir, name);
        ASSERT_TRUE(test::writeFile(out, old));
        const bool text = out.endsWith(QLatin1String(".txt"));
        // In the tool's default language: the reason checked is the core's own text.
        const CliRun r = cliInDefaultLanguage(words(text ? "export-text %1 %2" : "convert %1 %2", {bmp, out}), limited);
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(out)) << r.err.toStdString();
        // Pictures whose writers say why (a bitmap's failure has its own fixed text).
        if (!text && !out.endsWith(QLatin1String(".bmp"))) {
            EXPECT_TRUE(r.err.contains(QStringLiteral("Файл превысил допустимый размер."))) << r.err.toStdString();
        }
        expectPrefixedLines(r);
        EXPECT_EQ(test::fileBytes(out), old);
        EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral("in.bmp"), QLatin1String(name)}));
        QFile::remove(out);
    }

    // A record cut short by the limit is taken back off the base.
    const QString base = in(dir, "base.fdb");
    ASSERT_EQ(cli(words("fdb add %1 --name a --ready H1", {base})).code, 0);
    const QByteArray records = test::fileBytes(base);
    ASSERT_EQ(records.size(), 453);
    const CliRun r = cli(words("fdb add %1 --name b --ready L1", {base}), fileSizeLimit(700));
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    expectPrefixedLines(r);
    EXPECT_EQ(test::fileBytes(base), records);
}

TEST(FileFaults, TheProgramIgnoresTheFileSizeSignalFromItsStart)
{
    // A save past the limit then fails with a message, as on a full disk,
    // instead of closing the window with both pictures.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ORMICA_APP), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    const QString status = QStringLiteral("/proc/%1/status").arg(program.processId());
    bool ignored = false;
    for (int i = 0; i < 100 && !ignored; ++i) {
        QFile f(status);
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& line : f.readAll().split('\n'))
                if (line.startsWith("SigIgn:"))
                    ignored = (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGXFSZ - 1)) & 1;
        if (!ignored)
            QThread::msleep(50);
    }
    program.kill();
    program.waitForFinished(10000);
    EXPECT_TRUE(ignored);
}

TEST(FileFaults, StandardOutputThatCannotBeWrittenIsAFailure)
{
    QTemporaryDir dir;
    const QString bmp = in(dir, "in.bmp");
    ASSERT_TRUE(WriteBmpFile(test::patternImage(20, 10, 1), bmp));
    const QString base = in(dir, "base.fdb");
    ASSERT_EQ(cli(words("fdb add %1 --name a --ready H1", {base})).code, 0);
    const QList<QStringList> commands{
        words("info %1", {bmp}),
        words("hist %1 --counts", {bmp}),
        words("curve --step 8"),
        words("fdb list %1", {base}),
        words("fdb show %1 0", {base}),
        words("stats %1 --fragment 0 0 9 5 --row 1", {bmp}),
        words("help"),
        words("help convert"),
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = cli(args, {}, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, QStringLiteral("ormica-cli: cannot write the standard output: %1\n")
                             .arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
}

TEST(FileFaults, WhatIsNotARegularFileIsNeverReplaced)
{
    QTemporaryDir dir;
    const QString bmp = in(dir, "in.bmp");
    const QImage picture = test::patternImage(20, 10, 1);
    ASSERT_TRUE(WriteBmpFile(picture, bmp));
    const QString fifo = in(dir, "pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const char* name : {"out.bmp", "out.jpg", "out.png", "out.tif", "out.webp", "out.txt"}) {
        SCOPED_TRACE(name);
        // Named as the pipe itself, and through a link to it.
        const QString link = in(dir, name);
        ASSERT_TRUE(QFile::link(fifo, link));
        const QString pipeNamed = in(dir, "pipe") + QFileInfo(link).suffix().prepend(QLatin1Char('.'));
        ASSERT_EQ(mkfifo(QFile::encodeName(pipeNamed).constData(), 0600), 0);
        const bool text = link.endsWith(QLatin1String(".txt"));
        for (const QString& out : {link, pipeNamed}) {
            const CliRun r = cli(words(text ? "export-text %1 %2" : "convert %1 %2", {bmp, out}));
            EXPECT_EQ(r.code, 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(out)) << r.err.toStdString();
            expectPrefixedLines(r);
        }
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        for (const QString& pipe : {fifo, pipeNamed}) {
            struct stat st {};
            ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &st), 0);
            EXPECT_TRUE(S_ISFIFO(st.st_mode)) << pipe.toStdString();
        }
        QFile::remove(link);
        QFile::remove(pipeNamed);
    }

    // A link to a regular file is saved through, as before.
    const QString target = in(dir, "target.png");
    ASSERT_TRUE(test::writeFile(target, "old"));
    const QString link = in(dir, "link.png");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(cli(words("convert %1 %2", {bmp, link})).code, 0);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QImage(target, "png").convertToFormat(QImage::Format_BGR888), picture);
}

TEST(FileFaults, FilesThatCannotBeOpenedAreRefusedWithTheReasonInRussian)
{
    QTemporaryDir dir;
    // Searchable by anyone, so that only the files' own permissions count.
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString bmp = in(dir, "in.bmp");
    ASSERT_TRUE(WriteBmpFile(test::patternImage(20, 10, 1), bmp));
    const QString locked = in(dir, "locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), 0555), 0);
    const auto unreadable = [&](const char* name, const QByteArray& bytes) {
        const QString file = in(dir, name);
        if (bytes.isEmpty())
            EXPECT_EQ(cli(words("convert %1 %2", {bmp, file})).code, 0) << name;
        else
            EXPECT_TRUE(test::writeFile(file, bytes));
        EXPECT_EQ(chmod(QFile::encodeName(file).constData(), 0), 0);
        return file;
    };
    QByteArray kernel;
    for (int i = 0; i < 49; ++i)
        kernel += i == 24 ? "1 " : "0 ";
    const QString out = in(dir, "out.bmp");
    const QString denied = QStringLiteral("Нет прав доступа.");
    struct Case {
        QStringList args;
        QString named;
    };
    QList<Case> cases;
    for (const char* name : {"a.bmp", "a.jpg", "a.png", "a.tif", "a.webp"}) {
        const QString file = unreadable(name, {});
        cases.append({words("info %1", {file}), QStringLiteral("Не могу открыть файл \"%1\". ").arg(file)});
    }
    const QString txt = unreadable("a.txt", "1;2;3;\r\n");
    cases.append({words("import-text %1 %2", {txt, out}), txt});
    const QString fcc = unreadable("a.fcc", "0\t0\r\n255\t255\r\n");
    cases.append({words("curve --fcc %1", {fcc}), fcc});
    const QString weights = unreadable("k.txt", kernel);
    cases.append({words("filter --kernel %1 %2 %3", {weights, bmp, out}), weights});
    // A folder that cannot be written to.
    for (const char* name : {"b.jpg", "b.png", "b.tif", "b.webp"})
        cases.append({words("convert %1 %2", {bmp, locked + QLatin1Char('/') + QLatin1String(name)}), locked});
    cases.append({{QStringLiteral("export-text"), bmp, locked + QStringLiteral("/b.txt")}, locked});

    // Permissions do not bind the superuser: the tool then runs as nobody.
    const auto asUser = [] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(99);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = cliInDefaultLanguage(c.args, asUser);
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_TRUE(r.err.trimmed().endsWith(denied)) << r.err.toStdString();
    }
}

TEST(FileFaults, ASixteenBitPngLoadsWithinTwoCopiesOfItsPicture)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "peak memory is the sanitizer's, not the tool's, in a sanitized build";
#endif
    // Over 32 MiB a copy, so that freed blocks go back to the system at once.
    constexpr int width = 4000, height = 3000;
    constexpr long copyKilobytes = long(width) * height * 3 / 1024;
    QTemporaryDir dir;
    const QString deep = in(dir, "deep.png");
    {
        QImage picture(width, height, QImage::Format_RGBA64);
        picture.fill(QColor::fromRgba64(qRgba64(0x1234, 0x8080, 0xFEDC, 0x8000)));
        ASSERT_TRUE(picture.save(deep, "PNG"));
    }
    const QString small = in(dir, "small.bmp");
    ASSERT_TRUE(WriteBmpFile(test::patternImage(8, 8), small));
    const test::MeasuredRun base = test::measure({QStringLiteral("info"), small});
    const test::MeasuredRun run = test::measure({QStringLiteral("info"), deep});
    ASSERT_EQ(base.code, 0);
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(test::PeakWithin(run, base, 2, copyKilobytes));
}

#include "cli_run.h"
#include "core/engine/bmp_file.h"
#include "recorders.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ormica;
using test::cli;
using test::CliLanguage;
using test::CliRun;
using test::words;

namespace {

QString resultOf(const CliRun& r)
{
    const QString last = r.out.section(QLatin1Char('\n'), -2, -2);
    return last.startsWith(QLatin1String("result\t")) ? last : QString();
}

QString pixelLine(const QImage& picture, int x, int y)
{
    const std::uint8_t* p = picture.constScanLine(y) + 3 * x;
    return QStringLiteral("result\t%1\t%2\t%3").arg(p[0]).arg(p[1]).arg(p[2]);
}

}  // namespace

// The steps of every operation arrive at the pixel the operation's own
// command writes, corners and the middle alike.
TEST(CliExplain, EveryOperationArrivesAtThePixelItsCommandWrites)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(23, 17, 5), in));
    const QString fcc = dir.filePath(QStringLiteral("f.fcc"));
    QFile f(fcc);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0\t0\r\n100\t200\r\n255\t255\r\n");
    f.close();
    for (const char* operation : {"grey", "mirror H", "mirror V", "rot90 +", "rot90 -", "crop 3 2 15 11",
                                  "rotate 30 --centre 8 11 --fill 102030", "scale --zoom 0.37", "scale --size 40 30",
                                  "filter --ready H1", "filter --ready L2 --focus 3", "transfer FCC"}) {
        SCOPED_TRACE(operation);
        QStringList op = words(operation);
        op.replaceInStrings(QStringLiteral("FCC"), fcc);
        const CliRun run = cli(op + QStringList{in, out});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        QImage written;
        ASSERT_TRUE(written.load(out));
        written = written.convertToFormat(QImage::Format_BGR888);
        const int w = written.width(), h = written.height();
        for (const QPoint p : {QPoint(0, 0), QPoint(w - 1, h - 1), QPoint(w / 2, h / 2), QPoint(w - 1, 0)}) {
            const CliRun e = cli(QStringList{QStringLiteral("explain"), QStringLiteral("--pixel"),
                                             QString::number(p.x()), QString::number(p.y())} +
                                 op + QStringList{in});
            EXPECT_EQ(e.code, 0) << e.out.toStdString() << e.err.toStdString();
            EXPECT_EQ(resultOf(e), pixelLine(written, p.x(), p.y())) << e.out.toStdString();
        }
    }
}

TEST(CliExplain, JsonAndRefusals)
{
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.bmp"));
    ASSERT_TRUE(WriteBmpFile(test::patternImage(9, 9, 2), in));

    const CliRun json = cli(words("explain --pixel 4 4 --json filter --ready H1") + QStringList{in});
    ASSERT_EQ(json.code, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_TRUE(o.value(QStringLiteral("matches")).toBool());
    EXPECT_EQ(o.value(QStringLiteral("neighbourhood")).toObject().value(QStringLiteral("weights")).toArray().size(), 7);

    struct Refused {
        const char* line;
        int code;
        const char* says;
        CliLanguage language = CliLanguage::English;  // the core's own texts are checked as written
    };
    for (const Refused& r : {Refused{"explain grey", 2, "--pixel X Y is required"},
                             Refused{"explain --pixel 1 1 convert", 2, "cannot be explained"},
                             Refused{"explain --pixel 1", 2, "name the operation"},
                             Refused{"explain --pixel 9 0 grey", 1, "вне изображения", CliLanguage::Default},
                             Refused{"explain --pixel 0 0 rotate 95 --centre 1 1", 2, "ANGLE"}}) {
        SCOPED_TRACE(r.line);
        const CliRun run = cli(words(r.line) + QStringList{in}, {}, {}, r.language);
        EXPECT_EQ(run.code, r.code);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(r.says))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

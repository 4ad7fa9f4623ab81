#include "core/engine/file_errors.h"
#include "recorders.h"
#include "ui/engine/plot_export.h"

#include <QAction>
#include <QLocale>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <cmath>
#include <limits>
#include <memory>

using namespace ormica;

namespace {

QAction* pictureItem(const QWidget& plot)
{
    return plot.findChild<QAction*>(QStringLiteral("PlotSavePicture"));
}

QAction* numbersItem(const QWidget& plot)
{
    return plot.findChild<QAction*>(QStringLiteral("PlotSaveNumbers"));
}

TFileChoice choice(const QString& name)
{
    return TFileChoice{name, 1};
}

}  // namespace

class TstPlotExport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<QWidget> plot;
    test::ScriptedDialogs dialogs;
    QImage drawn;
    TPlotTable table;

    QString path(const char* name) const { return dir->filePath(QLatin1String(name)); }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        sink = std::make_unique<test::RecordingSink>();
        plot = std::make_unique<QWidget>();
        plot->resize(120, 80);
        dialogs = test::ScriptedDialogs();
        drawn = QImage(240, 160, QImage::Format_RGB32);
        drawn.fill(QColor(200, 40, 10));
        table = {{QStringLiteral("Уровень"), QStringLiteral("a,\"b\"")}, {{0, 255}, {1.0 / 3, -2.5e-300}}};
        AttachPlotExport(
            plot.get(), &dialogs, [this] { return drawn; }, [this] { return table; });
    }
    void cleanup()
    {
        plot.reset();
        sink.reset();
        dir.reset();
    }

    // Each number reads back to the same double in the C locale, whatever the
    // program's locale; a header name with a comma or quote is quoted.
    void csvReadsBackExactly()
    {
        const double values[] = {0.1,
                                 1.0 / 3,
                                 -1e-300,
                                 255,
                                 123456789012345678.0,
                                 6.02214076e23,
                                 std::nextafter(1.0, 2.0),
                                 std::numeric_limits<double>::denorm_min()};
        TPlotTable t{{QStringLiteral("Уровень"), QStringLiteral("a,\"b\"")}, {}};
        for (double v : values)
            t.Rows.push_back({v, -v});
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        const QByteArray csv = PlotTableCsv(t);
        QLocale::setDefault(saved);
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), qsizetype(std::size(values)) + 2);
        QCOMPARE(lines.front(), QStringLiteral("Уровень,\"a,\"\"b\"\"\"\r").toUtf8());
        QVERIFY(lines.back().isEmpty());
        for (std::size_t i = 0; i < std::size(values); ++i) {
            const QByteArray& line = lines[qsizetype(i) + 1];
            QVERIFY(line.endsWith('\r'));
            const QList<QByteArray> fields = line.chopped(1).split(',');
            QCOMPARE(fields.size(), 2);
            for (int k = 0; k < 2; ++k) {
                bool ok = false;
                const double read = fields[k].toDouble(&ok);
                const double want = k ? -values[i] : values[i];
                QVERIFY2(ok && read == want, fields[k].constData());
            }
        }
        // Whole numbers are written plainly.
        QCOMPARE(PlotTableCsv({{QStringLiteral("n")}, {{255}, {-7}}}), QByteArray("n\r\n255\r\n-7\r\n"));
    }

    void menuHoldsWhatWasGiven()
    {
        QCOMPARE(plot->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(pictureItem(*plot)->text(), QStringLiteral("Сохранить рисунок…"));
        QCOMPARE(numbersItem(*plot)->text(), QStringLiteral("Сохранить числа…"));
        // Attached again without numbers: one picture item, no numbers item.
        AttachPlotExport(
            plot.get(), &dialogs, [this] { return drawn; }, nullptr);
        QCOMPARE(plot->findChildren<QAction*>().size(), qsizetype(1));
        QVERIFY(pictureItem(*plot) && !numbersItem(*plot));
        AttachPlotExport(
            plot.get(), nullptr, [this] { return drawn; }, [this] { return table; });
        QVERIFY(plot->findChildren<QAction*>().isEmpty());
        QCOMPARE(plot->contextMenuPolicy(), Qt::DefaultContextMenu);
    }

    // The PNG is as large as the panel, whatever size the picture came in, and
    // the extension is added.
    void pictureAtThePanelsSize()
    {
        dialogs.choices.push_back(choice(path("plot")));
        pictureItem(*plot)->trigger();
        const QImage saved(path("plot.png"), "PNG");
        QCOMPARE(saved.size(), QSize(120, 80));
        QCOMPARE(saved.pixelColor(60, 40), QColor(200, 40, 10));
        QCOMPARE(dialogs.askedIndexes, std::vector<int>{1});
        QVERIFY(sink->silent());
    }

    void numbersGetTheirExtensionOnce()
    {
        dialogs.choices = {choice(path("a")), choice(path("b.CSV"))};
        numbersItem(*plot)->trigger();
        numbersItem(*plot)->trigger();
        QCOMPARE(test::fileBytes(path("a.csv")), PlotTableCsv(table));
        QCOMPARE(test::fileBytes(path("b.CSV")), PlotTableCsv(table));
        // The second dialog starts where the first saved.
        QCOMPARE(dialogs.askedDirs.back(), dir->path());
        QVERIFY(sink->silent());
    }

    // A cancelled dialog or a declined replacement writes nothing; a file that
    // cannot be written is reported with its reason.
    void refusedAndFailedWrites()
    {
        QVERIFY(test::writeFile(path("old.csv"), "old"));
        dialogs.choices = {std::nullopt, choice(path("old.csv"))};
        sink->answers = {false};
        numbersItem(*plot)->trigger();
        numbersItem(*plot)->trigger();
        QCOMPARE(test::fileBytes(path("old.csv")), QByteArray("old"));
        QCOMPARE(sink->questions.size(), 1);
        QVERIFY(sink->warnings.isEmpty());

        const QString missing = path("no/such/folder/p.png");
        dialogs.choices = {choice(missing)};
        pictureItem(*plot)->trigger();
        QCOMPARE(sink->warnings.size(), 1);
        QVERIFY(sink->warnings[0].contains(missing));
        QVERIFY(sink->warnings[0].contains(SaveOpenFailureReason(missing)));

        // Past the file-size limit: the old file stays whole.
        table.Rows.assign(10000, {1.0 / 3, 2.0 / 3});
        dialogs.choices = {choice(path("old.csv"))};
        sink->answers = {true};
        QVERIFY(test::underFileSizeLimit(4096, [&] { numbersItem(*plot)->trigger(); }));
        QCOMPARE(sink->warnings.size(), 2);
        QVERIFY(sink->warnings[1].contains(path("old.csv")));
        QCOMPARE(test::fileBytes(path("old.csv")), QByteArray("old"));
    }
};

QTEST_MAIN(TstPlotExport)
#include "tst_plot_export.moc"

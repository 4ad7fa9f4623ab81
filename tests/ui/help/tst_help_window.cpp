// Every help page opens in both languages and every link on it leads somewhere.
#include "core/app/language.h"
#include "core/engine/sample_pictures.h"
#include "ui/help/help_window.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

using namespace ormica;

namespace {

QString pageSource(const QString& key)
{
    QFile file(THelpWindow::PageFolder() + QLatin1Char('/') + key + QStringLiteral(".html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList anchorsOf(const QString& html)
{
    static const QRegularExpression anchor(QStringLiteral("(?:name|id)=\"([^\"]+)\""));
    QStringList found;
    for (const QRegularExpressionMatch& m : anchor.globalMatch(html))
        found << m.captured(1);
    return found;
}

}  // namespace

class TstHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { InstallLanguage(TLanguage::Russian, false); }

    void pagesOpenAndLinksResolve_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("ru") << int(TLanguage::Russian);
        QTest::newRow("en") << int(TLanguage::English);
    }
    void pagesOpenAndLinksResolve()
    {
        QFETCH(int, language);
        InstallLanguage(TLanguage(language), false);
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        THelpWindow help;
        for (const QString& key : THelpWindow::PageKeys()) {
            const QString html = pageSource(key);
            QVERIFY2(!html.isEmpty(), qPrintable(key));
            help.showPage(key);
            QCOMPARE(help.currentPage(), key);
            QVERIFY2(help.Browser->toPlainText().size() > 200, qPrintable(key));
            QVERIFY(THelpWindow::PageTitle(key) != key);
            if (TLanguage(language) == TLanguage::English)
                // The language menu names each language in itself.
                QVERIFY2(!help.Browser->toPlainText()
                              .remove(QStringLiteral("Язык / Language"))
                              .remove(QStringLiteral("Русский"))
                              .contains(cyrillic),
                         qPrintable(key));
            for (const QRegularExpressionMatch& m : href.globalMatch(html)) {
                const QUrl link(m.captured(1));
                const QString where = key + QStringLiteral(": ") + m.captured(1);
                if (link.scheme() == QLatin1String("sample")) {
                    QVERIFY2(SampleByKey(link.path()).has_value(), qPrintable(where));
                    continue;
                }
                QVERIFY2(link.isRelative(), qPrintable(where));
                const QString target = link.path().isEmpty() ? key : link.path().chopped(5);
                QVERIFY2(link.path().isEmpty() || THelpWindow::PageKeys().contains(target), qPrintable(where));
                if (link.hasFragment())
                    QVERIFY2(anchorsOf(pageSource(target)).contains(link.fragment()), qPrintable(where));
            }
        }
    }

    // Search lists the pages holding every word typed, in contents order.
    void searchFindsPagesByTheirWords()
    {
        THelpWindow help;
        const QStringList all = THelpWindow::Find(QString());
        QCOMPARE(all, THelpWindow::PageKeys());
        QVERIFY(THelpWindow::Find(QStringLiteral("ядро")).contains(QStringLiteral("filter")));
        QCOMPARE(THelpWindow::Find(QStringLiteral("ядро qqqzzz")), QStringList());
        // Word forms: a plural finds the pages that use the singular.
        QVERIFY(THelpWindow::Find(QStringLiteral("гистограммы")).contains(QStringLiteral("histograms")));
        QCOMPARE(THelpWindow::Find(QStringLiteral("гистограмма")), THelpWindow::Find(QStringLiteral("гистограммы")));
        help.SearchEdit->setText(QStringLiteral("ФИЛЬТРА"));
        QCOMPARE(help.PageList->count(), qsizetype(THelpWindow::Find(QStringLiteral("фильтра")).size()));
        help.PageList->setCurrentRow(0);
        emit help.PageList->itemActivated(help.PageList->item(0));
        QCOMPARE(help.currentPage(), THelpWindow::Find(QStringLiteral("фильтра")).first());
    }

    // The contents mark the page shown, however it was opened; a note about an
    // open tool window goes when the help leaves that window.
    void contentsMarkThePageAndNotesGoWithTheirWindow()
    {
        QWidget home;
        THelpWindow help(&home);
        for (const QString& key : {QStringLiteral("transfer"), QStringLiteral("filter")}) {
            help.showPage(key);
            QVERIFY(help.PageList->currentItem());
            QCOMPARE(help.PageList->currentItem()->data(Qt::UserRole).toString(), key);
        }
        help.SearchEdit->setText(QStringLiteral("ядро"));
        QCOMPARE(help.PageList->currentItem()->data(Qt::UserRole).toString(), QStringLiteral("filter"));

        QDialog tool;
        tool.setModal(true);
        tool.show();
        help.showPage(QStringLiteral("filter"), &tool);
        emit help.Browser->anchorClicked(QUrl(QStringLiteral("sample:chart")));
        QVERIFY(!help.NoteLabel->isHidden());
        tool.hide();
        QCOMPARE(help.parentWidget(), &home);
        QVERIFY(help.NoteLabel->isHidden());
    }
};

QTEST_MAIN(TstHelpWindow)
#include "tst_help_window.moc"

// The program in either language, its help opened with F1 from every window,
// and the sample pictures.
#include "core/app/language.h"
#include "core/engine/sample_pictures.h"
#include "main_window_fixture.h"
#include "ui/app/about_box.h"
#include "ui/engine/box_message_sink.h"
#include "ui/engine/export_txt_dialog.h"
#include "ui/engine/import_txt_dialog.h"
#include "ui/filter/filter_window.h"
#include "ui/filter/response_window.h"
#include "ui/help/help_window.h"
#include "ui/histogram/histogram_window.h"
#include "ui/microbase/micro_base_window.h"
#include "ui/scale/scale_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace ormica;

namespace {

// Every window the program makes at start, made as main() makes them.
struct TAllWindows {
    TAllWindows(TFormOrmica& form, TWorkspace& ws, TFileDialogs* dialogs)
        : scale(&form), importText(dialogs, ws.SrcArr, &form), exportText(dialogs, ws.SrcArr, &form), filter(ws, &form),
          about(&form), histogram(ws, &form), microBase(ws, dialogs, &filter), help(&form)
    {
        form.setToolWindows({&scale, &importText, &exportText, &filter, &about, &histogram, &microBase, &help});
    }
    std::vector<QWidget*> all()
    {
        return {&scale, &importText, &exportText, &filter, &about, &histogram, &microBase, &help};
    }
    TFormScaleDialog scale;
    TImportTxtDialog importText;
    TExportTxtDialog exportText;
    TFormDFilter filter;
    TFormAbout about;
    TFormGistogram histogram;
    TFormMicroBase microBase;
    THelpWindow help;
};

// What a window shows in words, apart from the pictures' and files' own.
QStringList shownTexts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        texts << w->toolTip() << w->statusTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w))
            texts << group->title();
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            texts << edit->placeholderText();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        if (auto* menu = qobject_cast<QMenu*>(w))
            texts << menu->title();
        if (auto* header = qobject_cast<QHeaderView*>(w); header && header->model())
            for (int i = 0; i < header->count(); ++i)
                texts << header->model()->headerData(i, header->orientation()).toString();
    }
    for (QAction* action : window->findChildren<QAction*>())
        texts << action->text() << action->toolTip();
    return texts;
}

QStringList menuTitles(TFormOrmica& form)
{
    QStringList titles;
    for (QAction* a : form.menuBar()->actions())
        titles << a->text();
    return titles;
}

// Shows what the sink's box shows, answering it at once.
QStringList boxTexts(const std::function<void()>& raise)
{
    QStringList seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen << box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            seen << b->text();
        box->done(0);
    });
    raise();
    return seen;
}

const QRegularExpression kCyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));

}  // namespace

class TstMainWindowLearn : public QObject, protected test::TMainWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The language chosen in the menu is kept here, not in the user's settings.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        qunsetenv("ORMICA_LANG");
    }
    void init() { start(); }
    void cleanup()
    {
        stop();
        InstallLanguage(TLanguage::Russian, true);
    }

    void everyWindowSpeaksTheChosenLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("scaleCaption");
        QTest::addColumn<QStringList>("box");
        QTest::newRow("ru") << int(TLanguage::Russian)
                            << QStringList{"Файлы",           "Вид",     "Редактирование", "Операции", "Изображение",
                                           "Язык / Language", "Справка", "О программе"}
                            << QStringLiteral("  Размер рисунка") << QStringList{"Внимание", "OK"};
        QTest::newRow("en") << int(TLanguage::English)
                            << QStringList{"&File",  "&View",           "&Edit", "&Operations",
                                           "&Image", "Язык / Language", "&Help", "&About"}
                            << QStringLiteral("  Picture size") << QStringList{"Warning", "OK"};
    }
    void everyWindowSpeaksTheChosenLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, menus);
        QFETCH(QString, scaleCaption);
        QFETCH(QStringList, box);
        InstallLanguage(TLanguage(language), true);
        form = std::make_unique<TFormOrmica>(*ws, dialogs.get(), colors.get());
        TAllWindows windows(*form, *ws, dialogs.get());
        QCOMPARE(menuTitles(*form), menus);
        QCOMPARE(windows.scale.windowTitle(), scaleCaption);
        TBoxMessageSink boxes(form.get());
        QCOMPARE(boxTexts([&] { boxes.warning(QStringLiteral("x")); }), box);
        if (TLanguage(language) != TLanguage::English)
            return;
        // Only the Russian item of the language menu may stay Russian.
        std::vector<QWidget*> all = windows.all();
        all.push_back(form.get());
        for (QWidget* window : all)
            for (const QString& text : shownTexts(window))
                if (text.contains(kCyrillic) && text != QStringLiteral("Русский") &&
                    text != QStringLiteral("Язык / Language"))
                    QFAIL(qPrintable(QStringLiteral("%1: \"%2\"").arg(window->metaObject()->className(), text)));
    }

    // F1 opens each window's own page; the histogram window's follows its tab.
    void f1OpensTheWindowsPage()
    {
        TAllWindows windows(*form, *ws, dialogs.get());
        struct {
            QWidget* window;
            int tab;
            const char* page;
        } const cases[] = {
            {form.get(), -1, "main"},
            {&windows.scale, -1, "scaling"},
            {&windows.importText, -1, "text"},
            {&windows.exportText, -1, "text"},
            {&windows.filter, -1, "filter"},
            {&windows.microBase, -1, "database"},
            {&windows.histogram, 0, "histograms"},
            {&windows.histogram, 1, "transfer"},
            {&windows.histogram, 2, "fragment"},
        };
        for (const auto& c : cases) {
            c.window->show();
            if (c.tab >= 0)  // after showing: the window picks its tab as it opens
                windows.histogram.PageControl1->setCurrentIndex(c.tab);
            QApplication::setActiveWindow(c.window);
            QVERIFY(QTest::qWaitForWindowActive(c.window));
            QTest::keyClick(c.window, Qt::Key_F1);
            QCOMPARE(windows.help.currentPage(), QString::fromLatin1(c.page));
            QVERIFY(windows.help.isVisible());
            c.window->hide();
            windows.help.hide();
        }
        // A window made for one showing takes its children along when it
        // goes; the help, opened from it, stays.
        {
            auto shortLived = std::make_unique<QDialog>(form.get());
            windows.help.attach(shortLived.get(), [] { return QStringLiteral("text"); });
            shortLived->show();
            QApplication::setActiveWindow(shortLived.get());
            QVERIFY(QTest::qWaitForWindowActive(shortLived.get()));
            QTest::keyClick(shortLived.get(), Qt::Key_F1);
            QCOMPARE(windows.help.currentPage(), QStringLiteral("text"));
            shortLived->hide();
        }
        QVERIFY(windows.help.isVisible());
        QCOMPARE(windows.help.parentWidget(), static_cast<QWidget*>(form.get()));
        // The filter window's frequency response is a window of its own.
        windows.filter.show();
        windows.filter.ShowResponse();
        auto* response = windows.filter.WindowResponse;
        QApplication::setActiveWindow(response);
        QVERIFY(QTest::qWaitForWindowActive(response));
        QTest::keyClick(response, Qt::Key_F1);
        QCOMPARE(windows.help.currentPage(), QStringLiteral("filter"));
    }

    // A sample comes into the source as a new picture, which undo takes back;
    // the help's example links bring it too.
    void samplesLoadIntoTheSource()
    {
        TAllWindows windows(*form, *ws, dialogs.get());
        QMenu* samples = form->MMSamples->menu();
        QCOMPARE(samples->actions().size(), qsizetype(Samples().size()));
        for (qsizetype i = 0; i < samples->actions().size(); ++i) {
            const TSampleInfo& sample = Samples()[size_t(i)];
            samples->actions().at(i)->trigger();
            QCOMPARE(form->ImageMain->picture(), MakeSample(sample.id));
            QCOMPARE(ws->SrcArr.width(), 640);
            checkInvariant();
        }
        form->MMUndo->trigger();
        QCOMPARE(form->ImageMain->picture(), MakeSample(Samples()[Samples().size() - 2].id));
        windows.help.showPage(QStringLiteral("index"));
        emit windows.help.Browser->anchorClicked(QUrl(QStringLiteral("sample:chart")));
        QCOMPARE(form->ImageMain->picture(), MakeSample(TSample::Chart));
    }

    // The choice is kept for the next start and said in the language chosen first.
    void languageMenuKeepsTheChoice()
    {
        form->MMLanguageEn->trigger();
        QCOMPARE(StoredLanguage(), QStringLiteral("en"));
        QCOMPARE(sink->informations.size(), 1);
        const QStringList lines = sink->informations.first().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(!lines.first().contains(kCyrillic));
        QVERIFY(lines.last().contains(kCyrillic));
        form->MMLanguageRu->trigger();
        QCOMPARE(StoredLanguage(), QStringLiteral("ru"));
        QCOMPARE(sink->informations.size(), 1);  // Russian is what it speaks already
    }

private:
    QTemporaryDir config_;
};

QTEST_MAIN(TstMainWindowLearn)
#include "tst_main_window_learn.moc"

#include "core/engine/img_service.h"
#include "histogram_fixture.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_tab.h"
#include "ui/histogram/histogram_window_parts.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>

using namespace ormica;
using test::LocaleScope;

namespace {

QImage filled(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(c);
    return img;
}

QColor face()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

// True when the only black pixels are those of one bar in the column,
// from `top` down to the bottom edge; everything else is the button face.
bool holdsOnlyBar(const QImage& img, int column, int top)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor want = (x == column && y >= top) ? QColor(Qt::black) : face();
            if (img.pixelColor(x, y) != want)
                return false;
        }
    return true;
}

bool isBlank(const QImage& img)
{
    return holdsOnlyBar(img, -1, 0);
}

}  // namespace

class TstHistogramWindow : public QObject, test::THistogramFixture {
    Q_OBJECT

private slots:
    void init() { makeWindow(); }
    void cleanup() { dropWindow(); }

    void createdWithItsTabsPanelsAndRamps()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("  Гистограммы"));
        QCOMPARE(form->size(), QSize(856, 658));
        QCOMPARE(form->PageControl1->count(), 3);
        QCOMPARE(form->PageControl1->tabText(0), QStringLiteral("Гистограммы"));
        QCOMPARE(form->PageControl1->tabText(1), QStringLiteral("Функции преобразования"));
        QCOMPARE(form->PageControl1->tabText(2), QStringLiteral("Дополнительная статистика"));

        QCOMPARE(control<QFrame>("PanelGistR")->geometry(), QRect(15, 24, 258, 252));
        QCOMPARE(control<QFrame>("PanelGistG")->geometry(), QRect(281, 24, 258, 252));
        QCOMPARE(control<QFrame>("PanelGistB")->geometry(), QRect(547, 24, 258, 252));
        QCOMPARE(control<QFrame>("PanelGistLight")->geometry(), QRect(15, 304, 258, 252));
        // The statistics panel may widen for its fields, never past the tab.
        QCOMPARE(control<QFrame>("PanelMDS")->pos(), QPoint(280, 304));
        QCOMPARE(control<QFrame>("PanelMDS")->height(), 217);
        QVERIFY(control<QFrame>("PanelMDS")->width() >= 529);
        QCOMPARE(button("SpButGistSrc")->pos(), QPoint(298, 531));
        QCOMPARE(button("SpButGistTrg")->pos(), QPoint(498, 534));
        QCOMPARE(image("ImageGistLight")->geometry(), QRect(1, 1, 256, 240));
        QCOMPARE(image("ImageGLight")->geometry(), QRect(1, 241, 256, 10));
        QCOMPARE(image("ImgAcFrg")->picture().size(), QSize(287, 167));

        // Each strip is its channel's level scale; Light is grey.
        const struct {
            TImageWidget* strip;
            int r, g, b;
        } ramps[] = {{image("ImageGRed"), 1, 0, 0},
                     {image("ImageGGreen"), 0, 1, 0},
                     {image("ImageGBlue"), 0, 0, 1},
                     {image("ImageGLight"), 1, 1, 1}};
        for (const auto& ramp : ramps) {
            const QImage& p = ramp.strip->picture();
            QCOMPARE(p.size(), QSize(256, 10));
            QCOMPARE(p.format(), QImage::Format_BGR888);
            for (int x : {0, 1, 100, 255})
                for (int y : {0, 9})
                    QCOMPARE(p.pixelColor(x, y), QColor(ramp.r * x, ramp.g * x, ramp.b * x));
        }

        for (const char* name : {"stTextNumAll", "StTextNumBlack", "StTextNumBlackPr", "StTextNumWhite",
                                 "StTextNumWhitePr", "StTextMM", "StTextMD", "StTextMS"})
            QCOMPARE(label(name)->text(), QStringLiteral("0"));
        QVERIFY(label("stTextNameChannel")->text().isEmpty());
        QVERIFY(label("stTextLLevel")->text().isEmpty());
        QVERIFY(button("SpButGistSrc")->isChecked());
        QVERIFY(!button("SpButGistTrg")->isChecked());
        QCOMPARE(button("SpButGistSrc")->text(), QStringLiteral("Основое изображение"));
        QCOMPARE(button("SpButGistTrg")->text(), QStringLiteral("Финишное изображение"));
        QVERIFY(button("SpButtCnL")->isChecked());
        QCOMPARE(button("SpButtCnL")->toolTip(), QStringLiteral("По уровням яркости в канале LIGHT "));
        QCOMPARE(label("StTextMD")->toolTip(), QStringLiteral("Дисперсия генеральной совокупности"));
        QVERIFY(form->crossHair());
        QCOMPARE(form->crossHair()->MaxW, 287);
        QCOMPARE(form->crossHair()->MaxH, 167);
    }

    void uniformGreyShowsOneBarAndItsLevel()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        ws->SrcArr = test::arrayOf(filled(40, 30, QColor(128, 128, 128)));
        openInMode(1);
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        QCOMPARE(form->histograms().record().ImageTag, 'M');
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("1200"));
        QCOMPARE(label("StTextNumBlack")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral(" 0,00000 %"));
        QCOMPARE(label("StTextNumWhitePr")->text(), QStringLiteral(" 0,00000 %"));
        // The tallest bar is 236 high; the line leaves its top point out.
        for (const char* gist : {"ImageGistR", "ImageGistG", "ImageGistB", "ImageGistLight"})
            QVERIFY(holdsOnlyBar(image(gist)->picture(), 128, 240 - 236 + 1));
        QCOMPARE(label("StTextMM")->text(), QStringLiteral("128"));
        QCOMPARE(label("StTextMD")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextMS")->text(), QStringLiteral("0"));

        // The real mouse over the Light strip.
        QTest::mouseMove(image("ImageGLight"), QPoint(128, 5));
        QTRY_COMPARE(label("stTextLLevel")->text(), QStringLiteral("128"));
        QCOMPARE(label("stTextNumSP")->text(), QStringLiteral("1200"));
        QCOMPARE(form->histograms().levelLampColor(), RGBToColor(128, 128, 128));
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал LIGHT (Яркость)"));
        QTest::mouseMove(image("ImageGistR"), QPoint(127, 100));
        QTRY_COMPARE(label("stTextLLevel")->text(), QStringLiteral("127"));
        QCOMPARE(label("stTextNumSP")->text(), QStringLiteral("0"));
        QCOMPARE(form->histograms().levelLampColor(), RGBToColor(127, 0, 0));
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал RED (Красный)"));

        // Outside 0..255 only the channel's name changes.
        image("ImageGistB")->OnMouseMove(Qt::NoButton, 0, 256, 3);
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал BLUE (Голубой)"));
        QCOMPARE(label("stTextLLevel")->text(), QStringLiteral("127"));
        image("ImageGGreen")->OnMouseMove(Qt::NoButton, 0, -1, 3);
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал GREEN (Зеленый)"));
        QCOMPARE(form->histograms().levelLampColor(), RGBToColor(127, 0, 0));

        // A refresh empties the level read-out and puts the lamp out.
        button("SpButGistSrc")->click();
        QVERIFY(label("stTextNameChannel")->text().isEmpty());
        QVERIFY(label("stTextLLevel")->text().isEmpty());
        QVERIFY(label("stTextNumSP")->text().isEmpty());
        QCOMPARE(form->histograms().levelLampColor(), ResolveColor(clBtnFace));
        QVERIFY(sink->silent());
    }

    void levelReadOutWaitsForAComputation()
    {
        image("ImageGistLight")->OnMouseMove(Qt::NoButton, 0, 10, 3);
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал LIGHT (Яркость)"));
        QVERIFY(label("stTextLLevel")->text().isEmpty());
        QVERIFY(label("stTextNumSP")->text().isEmpty());
    }

    void pureRedAndTheChannelButtons()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        ws->SrcArr = test::arrayOf(filled(8, 5, QColor(255, 0, 0)));
        openInMode(1);
        QVERIFY(holdsOnlyBar(image("ImageGistR")->picture(), 255, 5));
        QVERIFY(holdsOnlyBar(image("ImageGistG")->picture(), 0, 5));
        QVERIFY(holdsOnlyBar(image("ImageGistB")->picture(), 0, 5));
        // Light of (255, 0, 0) is 255 / sqrt(3) = 147.2, level 147.
        QVERIFY(holdsOnlyBar(image("ImageGistLight")->picture(), 147, 5));
        QCOMPARE(label("StTextNumBlack")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextMM")->text(), QStringLiteral("147"));

        const QString count = label("stTextNumAll")->text();
        const QString black = label("StTextNumBlackPr")->text();
        button("SpButtCnR")->click();
        QCOMPARE(label("StTextMM")->text(), QStringLiteral("255"));
        QCOMPARE(label("StTextMD")->text(), QStringLiteral("0"));
        button("SpButtCnG")->click();
        QCOMPARE(label("StTextMM")->text(), QStringLiteral("0"));
        // Only the three statistics change.
        QCOMPARE(label("stTextNumAll")->text(), count);
        QCOMPARE(label("StTextNumBlackPr")->text(), black);
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));

        // Two levels: the statistics in the general format with the comma.
        QImage half = filled(2, 1, QColor(255, 0, 0));
        half.setPixelColor(1, 0, QColor(0, 0, 0));
        ws->SrcArr = test::arrayOf(half);
        button("SpButtCnR")->click();
        button("SpButGistSrc")->click();
        QCOMPARE(label("StTextMM")->text(), QStringLiteral("127,5"));
        QCOMPARE(label("StTextMD")->text(), QStringLiteral("16256,25"));
        // sqrt(2 * 16256.25) = 180.3122292025696..., 15 digits, trailing zero dropped.
        QCOMPARE(label("StTextMS")->text(), QStringLiteral("180,31222920257"));
        QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral("50,00000 %"));
    }

    void blackPicturePercentages()
    {
        ws->SrcArr = test::arrayOf(filled(7, 3, Qt::black));
        {
            LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
            openInMode(1);
            QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("21"));
            QCOMPARE(label("StTextNumBlack")->text(), QStringLiteral("21"));
            QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral("100,00000 %"));
            QCOMPARE(label("StTextNumWhite")->text(), QStringLiteral("0"));
            QCOMPARE(label("StTextNumWhitePr")->text(), QStringLiteral(" 0,00000 %"));
            QCOMPARE(form->histograms().record().NumBlack, 21);
        }
        LocaleScope c(QLocale::c());
        button("SpButGistSrc")->click();
        QCOMPARE(label("StTextNumWhitePr")->text(), QStringLiteral(" 0.00000 %"));
        QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral("100.00000 %"));
        // One third: rounded in the fifth decimal.
        QImage third = filled(3, 1, Qt::black);
        third.setPixelColor(1, 0, Qt::white);
        third.setPixelColor(2, 0, Qt::white);
        ws->SrcArr = test::arrayOf(third);
        button("SpButGistSrc")->click();
        QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral("33.33333 %"));
        QCOMPARE(label("StTextNumWhitePr")->text(), QStringLiteral("66.66667 %"));
        QCOMPARE(label("StTextNumWhite")->text(), QStringLiteral("2"));
    }

    void switchingBetweenSourceAndTarget()
    {
        ws->SrcArr = test::arrayOf(filled(10, 10, QColor(128, 128, 128)));
        openInMode(1);
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("100"));

        // An empty target: zeros everywhere and empty histograms.
        button("SpButGistTrg")->click();
        QVERIFY(button("SpButGistTrg")->isChecked());
        QVERIFY(!button("SpButGistSrc")->isChecked());
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        QCOMPARE(form->histograms().record().ImageTag, 'F');
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextNumBlack")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextNumWhite")->text(), QStringLiteral("0"));
        QCOMPARE(label("StTextNumBlackPr")->text(), QStringLiteral("0 %"));
        QCOMPARE(label("StTextNumWhitePr")->text(), QStringLiteral("0 %"));
        for (const char* name : {"StTextMM", "StTextMD", "StTextMS"})
            QCOMPARE(label(name)->text(), QStringLiteral("0"));
        for (const char* gist : {"ImageGistR", "ImageGistG", "ImageGistB", "ImageGistLight"})
            QVERIFY(isBlank(image(gist)->picture()));

        ws->TrgArr = test::arrayOf(filled(4, 5, Qt::white));
        button("SpButGistTrg")->click();
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("20"));
        QCOMPARE(label("StTextNumWhite")->text(), QStringLiteral("20"));
        QVERIFY(holdsOnlyBar(image("ImageGistLight")->picture(), 255, 5));

        button("SpButGistSrc")->click();
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("100"));
        QVERIFY(holdsOnlyBar(image("ImageGistLight")->picture(), 128, 5));

        // Reopening starts from the source image and the first tab.
        button("SpButGistTrg")->click();
        form->PageControl1->setCurrentIndex(1);
        form->hide();
        openInMode(1);
        QVERIFY(button("SpButGistSrc")->isChecked());
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("100"));
    }

    // Each histogram's menu saves the level, count and bar height it shows.
    void histogramNumbersSaveAsPlotted()
    {
        test::ScriptedDialogs dialogs;
        form->setFileDialogs(&dialogs);
        ws->SrcArr = test::arrayOf(test::patternImage(30, 40));
        openInMode(1);
        const TGistogramData& d = form->histograms().record();
        const struct {
            const char* panel;
            const TGistogram& counts;
            const TGistogram& heights;
        } plots[] = {{"PanelGistR", d.GistR, d.NormR},
                     {"PanelGistG", d.GistG, d.NormG},
                     {"PanelGistB", d.GistB, d.NormB},
                     {"PanelGistLight", d.GistL, d.NormL}};
        for (const auto& plot : plots) {
            const QString name = ws->dir.filePath(QLatin1String(plot.panel)) + QStringLiteral(".csv");
            dialogs.choices.push_back(TFileChoice{name, 1});
            if (auto* item = control<QFrame>(plot.panel)->findChild<QAction*>(QStringLiteral("PlotSaveNumbers")))
                item->trigger();
            std::vector<std::vector<double>> want;
            for (std::size_t level = 0; level < 256; ++level)
                want.push_back({double(level), double(plot.counts[level]), double(plot.heights[level])});
            QVERIFY2(test::csvRows(name) == want, plot.panel);
        }
        QVERIFY(sink->silent());
    }

    void refreshRunsUnderTheHourglass()
    {
        ws->SrcArr = test::arrayOf(test::patternImage(30, 40));
        std::vector<int> shapes;
        connect(control<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged, form.get(), [&] {
            const QCursor* c = QApplication::overrideCursor();
            shapes.push_back(c ? int(c->shape()) : -1);
        });
        openInMode(1);
        QVERIFY(shapes.size() > 1);
        for (int s : shapes)
            QCOMPARE(s, int(Qt::WaitCursor));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(control<QProgressBar>("ProgressBar1")->value(), 0);
    }

    void modesDecideTheTabAndTheComputation()
    {
        ws->SrcArr = test::arrayOf(filled(6, 6, QColor(10, 20, 30)));
        openInMode(2);
        QCOMPARE(form->PageControl1->currentIndex(), 2);
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("36"));
        QCOMPARE(form->windowTitle(), QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        form->hide();

        // Any other mode computes nothing and shows the first tab; the
        // histogram images are blank again.
        ws->SrcArr = test::arrayOf(filled(3, 3, Qt::white));
        openInMode(0);
        QCOMPARE(form->PageControl1->currentIndex(), 0);
        QCOMPARE(label("stTextNumAll")->text(), QStringLiteral("36"));
        QVERIFY(isBlank(image("ImageGistLight")->picture()));
    }

    void tabTextsShowWholeAndNeverOverlap()
    {
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        ws->SrcArr = test::arrayOf(test::patternImage(97, 53));
        openInMode(1);
        const QStringList titles = {QStringLiteral("Нормированная гистограмма канала Red"),
                                    QStringLiteral("Нормированная гистограмма канала Green"),
                                    QStringLiteral("Нормированная гистограмма канала Blue"),
                                    QStringLiteral("Нормированная гистограмма канала Light"),
                                    QStringLiteral("Статические и вероятностные оценки по генеральной совокупности "
                                                   "точек изображения")};
        QStringList shown;
        for (const QLabel* l : form->histograms().findChildren<QLabel*>())
            shown << l->text();
        for (const QString& title : titles)
            QVERIFY2(shown.contains(title), qPrintable(title));

        // Every channel's statistics, each with the level read-out naming a channel.
        const char* channels[] = {"SpButtCnR", "SpButtCnG", "SpButtCnB", "SpButtCnL"};
        const char* strips[] = {"ImageGRed", "ImageGGreen", "ImageGBlue", "ImageGLight"};
        for (int c = 0; c < 4; ++c) {
            button(channels[c])->click();
            image(strips[c])->OnMouseMove(Qt::NoButton, 0, 200, 3);
            QVERIFY(label("StTextMD")->text().size() >= 15);
            checkTabLayout();
        }
        image(strips[1])->OnMouseMove(Qt::NoButton, 0, 200, 3);
        QCOMPARE(label("stTextNameChannel")->text(), QStringLiteral("Канал GREEN (Зеленый)"));
        // The longest texts of the general format.
        label("StTextMM")->setText(FormatGeneral(0.0000888888888888888L));
        label("StTextMD")->setText(FormatGeneral(8.88888888888888e-300L));
        label("StTextMS")->setText(FormatGeneral(8888.88888888888L));
        QCOMPARE(label("StTextMM")->text().size(), 21);
        QCOMPARE(label("StTextMD")->text().size(), 21);
        checkTabLayout();
    }

    // Every caption of the three tabs and their inner pages shows its whole
    // text at the window's own size: none elided, none cut short by its box.
    void everyCaptionShowsWhole()
    {
        openInMode(1);
        QCOMPARE(form->size(), QSize(856, 658));
        const auto checkPage = [](QWidget* page) {
            for (QLabel* l : page->findChildren<QLabel*>()) {
                if (!l->isVisible() || l->text().isEmpty())
                    continue;
                const QString why = l->objectName() + QLatin1Char(' ') + l->text();
                QVERIFY2(!l->text().contains(QChar(0x2026)), qPrintable(why));
                const QFontMetrics fm = l->fontMetrics();
                const QRect room = l->contentsRect();
                const int flags = int(l->alignment()) | (l->wordWrap() ? int(Qt::TextWordWrap) : 0);
                const int indent = l->indent() >= 0      ? l->indent()
                                   : l->frameWidth() > 0 ? fm.horizontalAdvance(QLatin1Char('x')) / 2
                                                         : 0;
                const QRect need = fm.boundingRect(room.adjusted(indent, 0, 0, 0), flags, l->text());
                QVERIFY2(need.width() <= room.width() - indent && need.height() <= room.height(), qPrintable(why));
            }
            for (QTabWidget* t : page->findChildren<QTabWidget*>())
                QVERIFY2(t->tabBar()->sizeHint().width() <= t->width(), qPrintable(t->objectName()));
        };
        for (int tab = 0; tab < form->PageControl1->count(); ++tab) {
            form->PageControl1->setCurrentIndex(tab);
            QWidget* page = form->PageControl1->widget(tab);
            checkPage(page);
            for (QTabWidget* inner : page->findChildren<QTabWidget*>())
                for (int i = 0; i < inner->count(); ++i) {
                    inner->setCurrentIndex(i);
                    checkPage(page);
                }
        }
    }

    void generalFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("whole") << 128.0 << "128";
        QTest::newRow("negative") << -2.25 << "-2,25";
        QTest::newRow("third") << 1.0 / 3 << "0,333333333333333";
        QTest::newRow("two thirds") << 2.0 / 3 << "0,666666666666667";
        QTest::newRow("smallest fixed") << 0.00001 << "0,00001";
        QTest::newRow("below fixed") << 0.0000015 << "1,5E-6";
        QTest::newRow("15 integer digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("16 integer digits") << 1234567890123456.0 << "1,23456789012346E15";
        QTest::newRow("trailing zeros") << 1500.0 << "1500";
        QTest::newRow("fraction") << 16256.25 << "16256,25";
    }
    void generalFormat()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(FormatGeneral(value), text);
    }

private:
    // Each label and read-out of the first tab shows its whole text, sits
    // inside its parent, and meets no other control there.
    void checkTabLayout()
    {
        QWidget* tab = &form->histograms();
        const auto onTab = [tab](const QWidget* w) { return QRect(w->mapTo(tab, QPoint(0, 0)), w->size()); };
        QList<QWidget*> controls;
        for (QLabel* l : tab->findChildren<QLabel*>()) {
            controls << l;
            const QFontMetrics fm = l->fontMetrics();
            const QRect room = l->contentsRect();
            const QString why = l->objectName() + QLatin1Char(' ') + l->text();
            if (l->wordWrap()) {
                const QRect need = fm.boundingRect(room, int(l->alignment()) | Qt::TextWordWrap, l->text());
                QVERIFY2(need.width() <= room.width() && need.height() <= room.height(), qPrintable(why));
            } else {
                const int indent = l->indent() >= 0      ? l->indent()
                                   : l->frameWidth() > 0 ? fm.horizontalAdvance(QLatin1Char('x')) / 2
                                                         : 0;
                QVERIFY2(room.width() - 2 * l->margin() - indent >= fm.horizontalAdvance(l->text()), qPrintable(why));
                QVERIFY2(room.height() >= fm.height(), qPrintable(why));
            }
        }
        for (QToolButton* b : tab->findChildren<QToolButton*>())
            controls << b;
        controls << control<QFrame>("PanelGistR") << control<QFrame>("PanelGistG") << control<QFrame>("PanelGistB")
                 << control<QFrame>("PanelGistLight") << control<QFrame>("PanelMDS");
        for (QWidget* w : controls) {
            QVERIFY(w->isVisible());
            QVERIFY2(QRect(QPoint(0, 0), w->parentWidget()->size()).contains(w->geometry()),
                     qPrintable(w->objectName()));
        }
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j) {
                QWidget* a = controls[i];
                QWidget* b = controls[j];
                if (a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                const QString why = qobject_cast<QLabel*>(a) ? qobject_cast<QLabel*>(a)->text() : a->objectName();
                QVERIFY2(!onTab(a).intersects(onTab(b)),
                         qPrintable(why + QStringLiteral(" / ") +
                                    (qobject_cast<QLabel*>(b) ? qobject_cast<QLabel*>(b)->text() : b->objectName())));
            }
    }
};

QTEST_MAIN(TstHistogramWindow)
#include "tst_histogram_window.moc"

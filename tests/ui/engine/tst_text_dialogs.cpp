#include "core/engine/text_image.h"
#include "ui/app/main_window.h"
#include "ui/engine/export_txt_dialog.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/import_txt_dialog.h"

#include "window_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace ormica;

namespace {

TImgTabBGR twoByOne()
{
    TImgTabBGR arr;
    arr.setShape(1, 6);
    const std::uint8_t bytes[] = {0, 128, 255, 10, 20, 30};
    std::memcpy(arr.row(0), bytes, 6);
    return arr;
}

// Chooses the option and, for the other sign, types the sign as a user does.
void choose(TTextImageDialog& d, int item, const QString& sign = QString())
{
    QRadioButton* const buttons[] = {d.RadioTab, d.RadioSemicolon, d.RadioOther};
    QTest::mouseClick(buttons[item], Qt::LeftButton, {}, QPoint(8, buttons[item]->height() / 2));
    QCOMPARE(d.ItemIndex(), item);
    if (item == kSeparatorOther) {
        d.EditSep->setFocus();
        d.EditSep->selectAll();
        QTest::keyClick(d.EditSep, Qt::Key_Backspace);
        if (!sign.isEmpty())
            QTest::keyClicks(d.EditSep, sign);
        QCOMPARE(d.EditSep->text(), sign);
    }
}

// Opens the dialog as the program does (not blocking the test), and clicks OK.
void runOK(TTextImageDialog& d)
{
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QTest::mouseClick(d.OKBtn, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

}  // namespace

class TstTextDialogs : public QObject, protected test::TWindowTest {
    Q_OBJECT

private slots:
    void init()
    {
        start();
        ws->SrcArr = twoByOne();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        exportDlg = std::make_unique<TExportTxtDialog>(dialogs.get(), ws->SrcArr);
        importDlg = std::make_unique<TImportTxtDialog>(dialogs.get(), ws->SrcArr);
    }
    void cleanup()
    {
        exportDlg.reset();
        importDlg.reset();
        dialogs.reset();
        stop();
    }

    void bothStartWithTheirTextsAndSemicolon()
    {
        QCOMPARE(exportDlg->windowTitle(), QStringLiteral("Экспорт изображения в txt - файл"));
        QCOMPARE(importDlg->windowTitle(), QStringLiteral("Импорт из текстового файла"));
        QCOMPARE(exportDlg->LabelTitle->text(), QStringLiteral("ЭКСПОРТ"));
        QCOMPARE(importDlg->LabelTitle->text(), QStringLiteral("ИМПОРТ"));
        QVERIFY(exportDlg->LabelInfo->text().contains(
            QStringLiteral("каждый пиксель будет кодироваться тремя десятичными значениями в формате: B разделитель G "
                           "разделитель R разделитель")));
        QVERIFY(importDlg->LabelInfo->text().contains(QStringLiteral("от 0 до 255")));
        for (TTextImageDialog* d :
             {static_cast<TTextImageDialog*>(exportDlg.get()), static_cast<TTextImageDialog*>(importDlg.get())}) {
            QCOMPARE(d->RadioGroup1->title(), QStringLiteral("Выбор разелителя между B,G,R"));
            QCOMPARE(d->RadioTab->text(), QStringLiteral("Знак табуляции"));
            QCOMPARE(d->RadioSemicolon->text(), QStringLiteral("Точка с запятой"));
            QCOMPARE(d->RadioOther->text(), QStringLiteral("Другой знак"));
            QCOMPARE(d->ItemIndex(), kSeparatorSemicolon);
            QCOMPARE(d->EditSep->text(), QStringLiteral(","));
            QCOMPARE(d->EditSep->maxLength(), 1);
            QCOMPARE(d->Separator(), QStringLiteral(";"));
            QCOMPARE(d->OKBtn->text(), QStringLiteral("OK"));
            QCOMPARE(d->CancelBtn->text(), QStringLiteral("Cancel"));
            QVERIFY(d->OKBtn->isDefault());
            QVERIFY(d->ProgressBar1);
            // No option checked falls back to ";".
            d->SetItemIndex(-1);
            QCOMPARE(d->ItemIndex(), -1);
            QCOMPARE(d->Separator(), QStringLiteral(";"));
        }
    }

    void exportWritesTheSourceArrayWithTheChosenSeparator()
    {
        QTemporaryDir dir;
        struct Case {
            int item;
            QString sign, name, written;
            QByteArray bytes;
        };
        const QList<Case> cases{
            {kSeparatorSemicolon, {}, "a", "a.txt", "0;128;255;10;20;30;\r\n"},
            {kSeparatorTab, {}, "b.TXT", "b.TXT", "0\t128\t255\t10\t20\t30\t\r\n"},
            {kSeparatorOther, "|", "c.dat", "c.dat.txt", "0|128|255|10|20|30|\r\n"},
            {kSeparatorOther, {}, "d.txt", "d.txt", "0128255102030\r\n"},
        };
        for (const Case& c : cases) {
            dialogs->choices.push_back(TFileChoice{dir.filePath(c.name), 1});
            exportDlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(exportDlg.get()));
            choose(*exportDlg, c.item, c.sign);
            runOK(*exportDlg);
            QCOMPARE(test::fileBytes(dir.filePath(c.written)), c.bytes);
            QCOMPARE(exportDlg->ProgressBar1->value(), 0);
        }
        QVERIFY(!QFile::exists(dir.filePath("c.dat")));
        QCOMPARE(dialogs->askedIndexes, std::vector<int>(4, 1));
        QVERIFY(sink->silent());
        // The options stay as the user left them for the next opening.
        QCOMPARE(exportDlg->ItemIndex(), kSeparatorOther);
        QCOMPARE(exportDlg->EditSep->text(), QString());
    }

    void exportCancelledEmptyOrFailedWritesNothing()
    {
        QTemporaryDir dir;
        // The file dialog cancelled, an empty name, and the Cancel button.
        dialogs->choices.push_back(std::nullopt);
        runOK(*exportDlg);
        dialogs->choices.push_back(TFileChoice{QString(), 1});
        runOK(*exportDlg);
        exportDlg->show();
        QTest::mouseClick(exportDlg->CancelBtn, Qt::LeftButton);
        QVERIFY(!exportDlg->isVisible());
        QCOMPARE(exportDlg->result(), int(QDialog::Rejected));
        QCOMPARE(dialogs->askedDirs.size(), 2);
        QVERIFY(sink->silent());

        // A folder that is not there: an error naming the file, nothing written.
        const QString lost = dir.filePath("no/such/x.txt");
        dialogs->choices.push_back(TFileChoice{lost, 1});
        runOK(*exportDlg);
        QCOMPARE(sink->errors.size(), 1);
        QVERIFY(sink->errors[0].contains(lost));
        QVERIFY(!QFile::exists(lost));

        // No picture: no file, no message.
        ws->SrcArr.clear();
        dialogs->choices.push_back(TFileChoice{dir.filePath("e.txt"), 1});
        runOK(*exportDlg);
        QVERIFY(!QFile::exists(dir.filePath("e.txt")));
        QCOMPARE(sink->errors.size(), 1);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }

    void importReadsTheChosenFileIntoTheSourceArray()
    {
        QTemporaryDir dir;
        const QString tab = dir.filePath("tab.txt");
        QVERIFY(test::writeFile(tab, "0\t128\t255\t10\t20\t30\t\r\n"));
        ws->SrcArr.clear();
        dialogs->choices.push_back(TFileChoice{tab, 1});
        importDlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(importDlg.get()));
        choose(*importDlg, kSeparatorTab);
        runOK(*importDlg);
        QVERIFY(ws->SrcArr.sameAs(twoByOne()));
        QCOMPARE(importDlg->ProgressBar1->value(), 0);

        // Skipped values, and a line without any: an empty row, not the old one.
        const QString odd = dir.filePath("odd.txt");
        QVERIFY(test::writeFile(odd, "1#2#3#4\r\nnone\r\n1##300#x#5#\r\n"));
        dialogs->choices.push_back(TFileChoice{odd, 1});
        importDlg->show();
        choose(*importDlg, kSeparatorOther, "#");
        runOK(*importDlg);
        QCOMPARE(ws->SrcArr.rowCount(), 3);
        QCOMPARE(ws->SrcArr.rowLength(0), 3);
        QCOMPARE(ws->SrcArr.rowLength(1), 0);
        QCOMPARE(ws->SrcArr.rowLength(2), 2);
        QCOMPARE(int(ws->SrcArr.row(2)[1]), 5);

        // With an empty edit no value is found at all.
        dialogs->choices.push_back(TFileChoice{odd, 1});
        importDlg->show();
        choose(*importDlg, kSeparatorOther);
        runOK(*importDlg);
        QCOMPARE(ws->SrcArr.rowCount(), 3);
        QCOMPARE(ws->SrcArr.width(), 0);
        QVERIFY(sink->silent());
    }

    void importFailuresLeaveTheSourceArray()
    {
        QTemporaryDir dir;
        const TImgTabBGR before = ws->SrcArr;
        dialogs->choices.push_back(std::nullopt);
        runOK(*importDlg);
        dialogs->choices.push_back(TFileChoice{QString(), 1});
        runOK(*importDlg);
        const QString empty = dir.filePath("empty.txt");
        QVERIFY(test::writeFile(empty, ""));
        dialogs->choices.push_back(TFileChoice{empty, 1});
        runOK(*importDlg);
        QVERIFY(sink->silent());

        const QString missing = dir.filePath("missing.txt");
        QByteArray many;
        for (int i = 0; i <= 65535; ++i)
            many += "1;2;3;\n";
        const QString tooMany = dir.filePath("many.txt");
        QVERIFY(test::writeFile(tooMany, many));
        for (const QString& f : {missing, tooMany}) {
            dialogs->choices.push_back(TFileChoice{f, 1});
            runOK(*importDlg);
            QVERIFY(sink->errors.back().contains(f));
        }
        QCOMPARE(sink->errors.size(), 2);
        QVERIFY(sink->errors[1].contains("65535"));
        QVERIFY(ws->SrcArr.sameAs(before));
    }

    void theMainWindowsCommandsOpenTheDialogs()
    {
        test::ScriptedColors colors;
        TFormOrmica form(*ws, dialogs.get(), &colors);
        form.setToolWindows({.importText = importDlg.get(), .exportText = exportDlg.get()});
        QList<QDialog*> shown;
        form.ShowModal = [&](QDialog& d) {
            shown.push_back(&d);
            runOK(static_cast<TTextImageDialog&>(d));
            return d.result();
        };
        QTemporaryDir dir;
        const QString f = dir.filePath("pic.txt");
        QVERIFY(test::writeFile(f, "0;0;255;0;255;0;\r\n255;0;0;9;9;9;\r\n"));
        form.PageControl1->setCurrentIndex(1);
        dialogs->choices.push_back(TFileChoice{f, 1});
        form.MMImportToSrc->trigger();
        QCOMPARE(shown, QList<QDialog*>{importDlg.get()});
        const QImage picture = form.ImageMain->picture();
        QCOMPARE(picture.size(), QSize(2, 2));
        QCOMPARE(picture.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(picture.pixel(1, 0), qRgb(0, 255, 0));
        QCOMPARE(picture.pixel(0, 1), qRgb(0, 0, 255));
        QCOMPARE(form.ImageMain->imageDesc()->FileName, QStringLiteral("NoName"));
        QCOMPARE(form.PageControl1->currentIndex(), 0);

        // Exported back with a tab, the file holds the same rows.
        dialogs->choices.push_back(TFileChoice{dir.filePath("again"), 1});
        exportDlg->SetItemIndex(kSeparatorTab);
        form.MMExportFromSrc->trigger();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.back(), exportDlg.get());
        QCOMPARE(test::fileBytes(dir.filePath("again.txt")),
                 QByteArray("0\t0\t255\t0\t255\t0\t\r\n255\t0\t0\t9\t9\t9\t\r\n"));

        // A cancelled import still redraws the source image from its array.
        form.ImageMain->setPicture(QImage(5, 5, QImage::Format_BGR888));
        dialogs->choices.push_back(std::nullopt);
        form.MMImportToSrc->trigger();
        QCOMPARE(form.ImageMain->picture().size(), QSize(2, 2));
        QCOMPARE(form.ImageMain->imageDesc()->FileName, QStringLiteral("NoName"));
        QVERIFY(sink->silent());
    }

private:
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<TExportTxtDialog> exportDlg;
    std::unique_ptr<TImportTxtDialog> importDlg;
};

QTEST_MAIN(TstTextDialogs)
#include "tst_text_dialogs.moc"

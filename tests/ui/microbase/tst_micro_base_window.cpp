#include "core/filter/popular_filters.h"
#include "core/microbase/filter_rec.h"
#include "core/microbase/micro_base.h"
#include "ui/filter/filter_window.h"
#include "ui/microbase/micro_base_window.h"
#include "window_test.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtEndian>
#include <QtTest>
#include <memory>

using namespace ormica;

namespace {

QStringList listed(QListWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

qint64 fileSize(const QString& name)
{
    return QFileInfo(name).size();
}

// One 453-byte record as a hand-edited base holds it: marker, status,
// number, the Windows-1251 name, a unit kernel of the given centre, scale 1,
// type 0, empty comments; `fill` stands for the remnants after each text.
QByteArray recordBytes(std::uint8_t status, std::int32_t number, const QByteArray& name, std::int32_t centre = 1,
                       char fill = 'z')
{
    QByteArray r = ormica::test::handRecord(status, number, name, fill);
    for (int i = 0; i < 49; ++i)
        qToLittleEndian<std::int32_t>(i == 24 ? centre : 0, r.data() + 87 + 4 * i);
    qToLittleEndian<std::int32_t>(1, r.data() + 283);
    qToLittleEndian<std::int32_t>(0, r.data() + 287);
    r[291] = 0;
    r[372] = 0;
    return r;
}

// The record at `position` of a file as a write gives it: status and number.
void rewriteHeader(QByteArray& file, int position, std::uint8_t status)
{
    file[453 * position + 1] = char(status);
    qToLittleEndian<std::int32_t>(position, file.data() + 453 * position + 2);
}

}  // namespace

class TstMicroBaseWindow : public QObject, protected test::TWindowTest {
    Q_OBJECT

    void name(const QString& text) { form->EditFilterName->setText(text); }
    // Adds the edited record under the name and type.
    void add(const QString& text, int type)
    {
        name(text);
        form->CBoxFilterType->setCurrentIndex(type);
        emit form->CBoxFilterType->activated(type);
        form->TB2RecAdd->click();
    }
    QColor marker() const { return form->stxtChangeID->palette().color(QPalette::Window); }

private slots:
    void initTestCase()
    {
        // The list is ordered for a Russian reader unless a test says otherwise.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }
    void init()
    {
        start();
        dir = &ws->dir;
        QVERIFY(dir->isValid());
        filter = std::make_unique<TFormDFilter>(*ws);
        form = std::make_unique<TFormMicroBase>(*ws, &dialogs);
        dialogs.choices.clear();
    }
    void cleanup()
    {
        form.reset();
        filter.reset();
        stop();
    }

    void firstStartOpensAnEmptyDefaultBase()
    {
        QVERIFY(QFileInfo::exists(ws->DefaultBaseName));
        QCOMPARE(ws->CurrentBaseName, ws->DefaultBaseName);
        QCOMPARE(fileSize(ws->DefaultBaseName), 0);
        QCOMPARE(form->windowTitle(), QStringLiteral("  Текущая база : ") + QFileInfo(ws->DefaultBaseName).fileName());
        QCOMPARE(form->LBoxSelector->count(), 0);
        QCOMPARE(form->EdNumRec->text(), QStringLiteral("0"));
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Пустой шаблон фильтра"));
        QCOMPARE(form->SGridEd->item(3, 3)->text(), QStringLiteral("1"));
        QCOMPARE(form->EditScale->text(), QStringLiteral("1"));
        // No stored record in the editor, and no empty line before the comment.
        QCOMPARE(form->STextRecIndx->text(), QString());
        QCOMPARE(form->Memo1->toPlainText(), QString());
        QCOMPARE(form->LbOpenID->text(), QStringLiteral("База (Open)"));
        QCOMPARE(form->STextStat->text(), QStringLiteral("Выборка рабочих записей"));
        QVERIFY(!form->PanelCtrlRec->isHidden());
        QVERIFY(form->sbtnRecRestore->isHidden());

        // Browsing smoothing filters in an empty selection: the template is of that type.
        form->CbBoxRqFilterType->setCurrentIndex(1);
        emit form->CbBoxRqFilterType->activated(1);
        QCOMPARE(form->EditedRec.Type, 1);
        QCOMPARE(form->CBoxFilterType->currentIndex(), 1);
        QVERIFY(sink->silent());
    }

    void addDeleteAndRestoreMoveRecordsBetweenSelections()
    {
        const QString file = ws->CurrentBaseName;
        add(QStringLiteral("Бета"), 2);
        QCOMPARE(fileSize(file), 453);
        QVERIFY(!form->changeMarked());
        add(QStringLiteral("Альфа"), 1);
        QCOMPARE(listed(form->LBoxSelector), (QStringList{QStringLiteral("Альфа"), QStringLiteral("Бета")}));
        QCOMPARE(form->EdNumRec->text(), QStringLiteral("2"));
        // The type filter and the unsorted order (the file's).
        form->CheckBoxSorted->click();
        QCOMPARE(listed(form->LBoxSelector), (QStringList{QStringLiteral("Бета"), QStringLiteral("Альфа")}));
        form->CbBoxRqFilterType->setCurrentIndex(2);
        emit form->CbBoxRqFilterType->activated(2);
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Бета")});
        form->CbBoxRqFilterType->setCurrentIndex(0);
        emit form->CbBoxRqFilterType->activated(0);

        // Delete the first listed ("Бета", record 0).
        form->LBoxSelector->setCurrentRow(0);
        form->ShowSelected();
        QCOMPARE(form->STextRecIndx->text(), QStringLiteral("0"));
        form->TB2RecDelete->click();
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Альфа")});
        QCOMPARE(fileSize(file), 2 * 453);

        form->sbtnStatRestore->click();
        QCOMPARE(form->STextStat->text(), QStringLiteral("Выборка удаленных записей"));
        QVERIFY(form->PanelCtrlRec->isHidden());
        QVERIFY(!form->sbtnRecRestore->isHidden());
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Бета")});
        form->sbtnRecRestore->click();
        QCOMPARE(form->LBoxSelector->count(), 0);
        form->sbtnStatMain->click();
        QCOMPARE(form->LBoxSelector->count(), 2);
        QCOMPARE(fileSize(file), 2 * 453);
        QVERIFY(sink->silent());
    }

    void updateWritesTheEditsAndTheMarkerFollows()
    {
        add(QStringLiteral("Первый"), 0);
        QVERIFY(!form->changeMarked());
        form->EditScale->setText(QStringLiteral("7"));
        QVERIFY(form->changeMarked());
        QCOMPARE(marker(), QColor(255, 255, 0));
        name(QStringLiteral("Второй"));
        form->Memo1->setPlainText(QStringLiteral("строка 1\nстрока 2\nстрока 3"));
        form->TB2RecRefresh->click();
        QVERIFY(!form->changeMarked());
        QCOMPARE(form->LBoxSelector->currentItem()->text(), QStringLiteral("Второй"));
        const std::optional<TFilterRec> rec = ReadFilterRec(*form->engine(), 0);
        QVERIFY(rec.has_value());
        QCOMPARE(rec->Name.text(), QStringLiteral("Второй"));
        QCOMPARE(rec->Scale, 7);
        QCOMPARE(rec->Comment1.text(), QStringLiteral("строка 1"));
        QCOMPARE(rec->Comment2.text(), QStringLiteral("строка 2"));

        // A refused scale keeps the old one.
        form->EditScale->setText(QStringLiteral("-1"));
        QCOMPARE(sink->warnings.back(),
                 QStringLiteral("Масштаб фильтра становится меньше единицы.\r\nПрежнее значение будет восстановлено."));
        QCOMPARE(form->EditScale->text(), QStringLiteral("7"));
        // A grid commit that changes nothing still marks the record.
        form->TB2RecRefresh->click();
        QVERIFY(!form->changeMarked());
        form->SGridEd->item(3, 3)->setText(QStringLiteral(" 1 "));
        QVERIFY(form->changeMarked());
    }

    void namesThatCannotBeStoredAreRefused()
    {
        name(QStringLiteral("Фильтр"));
        sink->warnings.clear();
        name(QStringLiteral("Фильтр ✓"));
        QCOMPARE(sink->warnings.size(), 1);
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Фильтр"));
        name(QString(81, QLatin1Char('x')));
        QCOMPARE(sink->warnings.size(), 2);
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Фильтр"));
        name(QString(80, QChar(0x0416)));  // 80 Cyrillic letters are 80 bytes
        QCOMPARE(sink->warnings.size(), 2);
        QCOMPARE(form->EditedRec.Name.text(), QString(80, QChar(0x0416)));
    }

    void aTypedCommentIsItsFirstLine()
    {
        form->Memo1->moveCursor(QTextCursor::End);
        form->Memo1->insertPlainText(QStringLiteral("Первая строка"));
        add(QStringLiteral("С комментарием"), 0);
        const std::optional<TFilterRec> rec = ReadFilterRec(*form->engine(), 0);
        QVERIFY(rec.has_value());
        QCOMPARE(rec->Comment1.text(), QStringLiteral("Первая строка"));
        QCOMPARE(rec->Comment2.text(), QString());
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("Первая строка"));
    }

    void updateAndDeleteNeedASelection()
    {
        form->TB2RecRefresh->click();
        form->TB2RecDelete->click();
        QCOMPARE(sink->warnings,
                 (QStringList{QStringLiteral("Вначале выберите некоторую запись селектором записей ..."),
                              QStringLiteral("Вначале выберите некоторую запись селектором записей ...")}));
    }

    void randomFiltersAndScale()
    {
        form->CBoxFilterType->setCurrentIndex(2);
        form->TB3Random->click();
        const TFilterKernel& k = form->EditedRec.Kernel;
        QVERIFY(k.centre() >= 6 && k.centre() <= 11);
        for (int c : {0, 6})
            for (int r : {0, 6})
                QCOMPARE(k.at(r, c), 0);
        QCOMPARE(form->EditedRec.Type, 0);
        QCOMPARE(form->CBoxFilterType->currentIndex(), 0);
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Случайный М") + QString::number(form->EditedRec.Scale));
        QVERIFY(form->changeMarked());
        QVERIFY(form->EditedRec.Scale >= 1);

        // A kernel whose sum is not positive gets scale 1.
        form->EditedRec.Kernel = TFilterKernel{};
        form->EditedRec.Kernel.centre() = -5;
        form->TB3Scale->click();
        QCOMPARE(form->EditedRec.Scale, 1);
        form->TB3Clean->click();
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Пустой шаблон фильтра"));
    }

    void exchangeWithTheFilterWindow()
    {
        filter->LoadFilter(PopFilterL1);
        ws->WorkingFilter.Type = 1;
        form->sbtnImport->click();
        QCOMPARE(form->EditedRec.Kernel, PopFilterL1);
        QCOMPARE(form->EditedRec.Scale, 108);
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("Импортированный фильтр"));
        QVERIFY(form->changeMarked());

        // Export hands over unsaved edits; the filter window takes the weight sum as scale.
        form->EditedRec.Kernel = PopFilterH2;
        form->EditedRec.Scale = 3;
        form->EditedRec.Type = 2;
        int shown = 0;
        filter->setShowDatabase([&] {
            ++shown;
            QTimer::singleShot(0, form.get(), [&] { form->sbtnExport->click(); });
            return form->ExchangeFilter();
        });
        filter->TB1RunDB->click();
        QCOMPARE(shown, 1);
        QVERIFY(!form->isVisible());
        QCOMPARE(ws->WorkingFilter.Kernel, PopFilterH2);
        QCOMPARE(ws->WorkingFilter.Scale, 16);
        QCOMPARE(ws->WorkingFilter.Type, 2);
        QCOMPARE(filter->SGridFilter->item(3, 3)->text(), QStringLiteral("32"));
    }

    void openingAMissingFileFallsBackToTheDefault()
    {
        add(QStringLiteral("Один"), 0);
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("нет.fdb")), 1});
        form->TB1OpenDB->click();
        QCOMPARE(ws->CurrentBaseName, ws->DefaultBaseName);
        QCOMPARE(form->LBoxSelector->count(), 1);
        QVERIFY(dialogs.askedDirs.back().endsWith(QStringLiteral("Filters")));
    }

    void aDamagedBaseIsListedByPositionAndWrittenOnlyWhereSelected()
    {
        // Record 1 stores the number 0 and a line feed in its name; record 2
        // stores 99, past the end, and a name padded with zero bytes.
        const QString file = dir->filePath(QStringLiteral("damaged.fdb"));
        const QByteArray original = recordBytes(1, 0, "A", 3) + recordBytes(1, 0, QByteArray("B\n2", 3), 5) +
                                    recordBytes(1, 99, QByteArray("C\0\0", 3), 7);
        QVERIFY(test::writeFile(file, original));
        form->OpenBase(file);
        QCOMPARE(listed(form->LBoxSelector),
                 (QStringList{QStringLiteral("A"), QStringLiteral("B\u00B62   [в записи № 0]"),
                              QStringLiteral("C\u00B7\u00B7   [в записи № 99]")}));
        QCOMPARE(form->STextRecIndx->text(), QStringLiteral("0"));

        // Selecting shows the record at that place.
        form->LBoxSelector->setCurrentRow(2);
        form->ShowSelected();
        QCOMPARE(form->EditedRec.Kernel.centre(), 7);
        QCOMPARE(form->STextRecIndx->text(), QStringLiteral("2 (№ 99)"));
        form->LBoxSelector->setCurrentRow(1);
        form->ShowSelected();
        QCOMPARE(form->EditedRec.Kernel.centre(), 5);
        QCOMPARE(form->EditFilterName->text(), QStringLiteral("B\n2"));
        QCOMPARE(form->STextRecIndx->text(), QStringLiteral("1 (№ 0)"));
        QCOMPARE(test::fileBytes(file), original);  // looking writes nothing

        // Update writes the selected place, which takes its own number; the
        // rest of the name field keeps its remnant.
        name(QStringLiteral("B2"));
        form->TB2RecRefresh->click();
        QByteArray expected = original;
        rewriteHeader(expected, 1, 1);
        expected.replace(453 + 6, 3, QByteArray(1, '\x02') + "B2");
        QCOMPARE(test::fileBytes(file), expected);
        QCOMPARE(form->LBoxSelector->currentItem()->text(), QStringLiteral("B2"));
        QCOMPARE(form->STextRecIndx->text(), QStringLiteral("1"));

        // Delete and Restore rewrite status and number, and nothing else.
        form->LBoxSelector->setCurrentRow(2);
        form->ShowSelected();
        form->TB2RecDelete->click();
        rewriteHeader(expected, 2, 0);
        QCOMPARE(test::fileBytes(file), expected);
        QCOMPARE(listed(form->LBoxSelector), (QStringList{QStringLiteral("A"), QStringLiteral("B2")}));
        form->sbtnStatRestore->click();
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("C\u00B7\u00B7")});
        form->sbtnRecRestore->click();
        rewriteHeader(expected, 2, 1);
        QCOMPARE(test::fileBytes(file), expected);
        QVERIFY(sink->silent());
    }

    void sortingFollowsTheReadersLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("order");
        // Equal names but for letter case keep the file's order.
        QTest::newRow("ru") << QLocale(QLocale::Russian, QLocale::Russia)
                            << QStringList{"альфа",    "Бета",      "Гамма", "ёж",   "Жук",
                                           "Фильтр 2", "Фильтр 10", "alpha", "Alpha"};
        QTest::newRow("en") << QLocale(QLocale::English, QLocale::UnitedStates)
                            << QStringList{"alpha", "Alpha", "альфа",    "Бета",     "Гамма",
                                           "ёж",    "Жук",   "Фильтр 2", "Фильтр 10"};
    }
    void sortingFollowsTheReadersLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, order);
        for (const char* n : {"Гамма", "alpha", "Бета", "Жук", "Alpha", "альфа", "Фильтр 10", "ёж", "Фильтр 2"})
            add(QString::fromUtf8(n), 0);
        QLocale::setDefault(locale);
        form->RefreshList();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QCOMPARE(listed(form->LBoxSelector), order);
    }

    void everyWeightShowsWhole()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QFontMetrics metrics(form->SGridEd->font());
        auto wholeInItsCell = [&](int row, int column) {
            const QTableWidgetItem* item = form->SGridEd->item(row, column);
            const QRect cell = form->SGridEd->visualItemRect(item);
            return cell.width() >= metrics.horizontalAdvance(item->text()) &&
                   form->SGridEd->viewport()->rect().contains(cell);
        };
        form->EditedRec.Kernel.at(0, 0) = 2147483647;
        form->EditedRec.Kernel.at(6, 6) = -2147483647 - 1;
        form->EditedRec.Kernel.at(2, 5) = -1000;
        form->ShowRecord();
        QCOMPARE(form->SGridEd->item(0, 0)->text(), QStringLiteral("2147483647"));
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c)
                QVERIFY2(wholeInItsCell(r, c), qPrintable(form->SGridEd->item(r, c)->text()));

        // A weight typed in is shown whole as well.
        form->EditedRec.Kernel = TFilterKernel{};
        form->EditedRec.Kernel.centre() = 1;
        form->ShowRecord();
        form->SGridEd->item(1, 2)->setText(QStringLiteral("8000000"));
        QCOMPARE(form->EditedRec.Kernel.at(1, 2), 8000000);
        QVERIFY(wholeInItsCell(1, 2));
        QVERIFY(sink->silent());
    }

    void aFailedOpenLeavesTheWindowClosedAndEmpty()
    {
        add(QStringLiteral("Один"), 0);

        // A folder cannot be a base.
        dialogs.choices.push_back(TFileChoice{dir->path(), 1});
        form->TB1OpenDB->click();
        QCOMPARE(sink->errors, QStringList{QStringLiteral("Не могу открыть файл : \r\n") + dir->path() +
                                           QStringLiteral("\r\nЭто папка, а не файл.")});
        QCOMPARE(form->windowTitle(), QStringLiteral("  Текущая база : (Closed)"));
        QCOMPARE(form->LbOpenID->text(), QStringLiteral("База (Close)"));
        QCOMPARE(form->LBoxSelector->count(), 0);
        QCOMPARE(form->EdNumRec->text(), QString());
        QCOMPARE(form->STextRecIndx->text(), QString());
        QVERIFY(form->PanelCtrlRec->isHidden());
        QVERIFY(form->TB1SaveDB->isHidden());
        QVERIFY(!form->MMSaveDB->isVisible());

        dialogs.choices.push_back(TFileChoice{ws->DefaultBaseName, 1});
        form->TB1OpenDB->click();
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Один")});
        QCOMPARE(form->EdNumRec->text(), QStringLiteral("1"));

        // Opened from the deleted selection: the working one, its tools on.
        form->sbtnStatRestore->click();
        QVERIFY(!form->sbtnRecRestore->isHidden());
        dialogs.choices.push_back(TFileChoice{ws->DefaultBaseName, 1});
        form->TB1OpenDB->click();
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Один")});
        QVERIFY(form->sbtnStatMain->isChecked());
        QVERIFY(form->ToolBarAccessREC->isEnabled());
        QVERIFY(form->sbtnRecRestore->isHidden());
        QVERIFY(!form->TB1SaveDB->isHidden());
    }

    void withoutADefaultBaseTheWindowAsksForOne()
    {
        // Neither beside the program nor in the user's folder can a base be made.
        const QString plain = dir->filePath(QStringLiteral("plain"));
        QVERIFY(test::writeFile(plain, "x"));
        ws->ProgramDir = plain + QStringLiteral("/bin");
        const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(plain + QStringLiteral("/data")));
        TFormMicroBase lost(*ws, &dialogs);
        qputenv("XDG_DATA_HOME", savedHome);
        QCOMPARE(lost.windowTitle(), QStringLiteral("  НЕОБХОДИМО ОТКРЫТЬ БАЗУ ДАННЫХ!"));
        QVERIFY(ws->DefaultBaseName.isEmpty());
        QVERIFY(!lost.engine()->Opened());
        QVERIFY(lost.PanelCtrlRec->isHidden());
        QVERIFY(lost.TB1SaveDB->isHidden());
        QCOMPARE(sink->errors.size(), 1);  // the folder is named
    }

    void newBaseAndSaveAsAskBeforeOpeningWhatTheyMade()
    {
        add(QStringLiteral("Один"), 2);
        const QString home = ws->DefaultBaseName;
        const QString homeTitle = form->windowTitle();

        // Save as: the copy is made; No keeps the current base, Yes opens the copy.
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("copy")), 1});
        sink->answers = {false};
        form->TB1SaveDB->click();
        QCOMPARE(test::fileBytes(dir->filePath(QStringLiteral("copy.fdb"))), test::fileBytes(home));
        QCOMPARE(form->windowTitle(), homeTitle);
        QCOMPARE(ws->CurrentBaseName, home);
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("copy2.fdb")), 1});
        sink->answers = {true};
        emit form->MMSaveDB->triggered();
        QCOMPARE(ws->CurrentBaseName, dir->filePath(QStringLiteral("copy2.fdb")));
        QCOMPARE(form->windowTitle(), QStringLiteral("  Текущая база : copy2.fdb"));
        QCOMPARE(listed(form->LBoxSelector), QStringList{QStringLiteral("Один")});

        // New base: an empty file; No stays, Yes opens it.
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("new")), 1});
        sink->answers = {false};
        form->TB1NewDB->click();
        QCOMPARE(fileSize(dir->filePath(QStringLiteral("new.fdb"))), 0);
        QCOMPARE(ws->CurrentBaseName, dir->filePath(QStringLiteral("copy2.fdb")));
        QCOMPARE(form->LBoxSelector->count(), 1);
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("fresh")), 1});
        sink->answers = {true};
        emit form->MMNewDB->triggered();
        QCOMPARE(ws->CurrentBaseName, dir->filePath(QStringLiteral("fresh.fdb")));
        QCOMPARE(form->windowTitle(), QStringLiteral("  Текущая база : fresh.fdb"));
        QCOMPARE(form->LBoxSelector->count(), 0);

        QCOMPARE(sink->questions, (QStringList{QStringLiteral("Открыть сохраненную базу с именем :\r\ncopy.fdb ?"),
                                               QStringLiteral("Открыть сохраненную базу с именем :\r\ncopy2.fdb ?"),
                                               QStringLiteral("Открыть созданную базу с именем :\r\nnew.fdb ?"),
                                               QStringLiteral("Открыть созданную базу с именем :\r\nfresh.fdb ?")}));
        QVERIFY(sink->errors.isEmpty());
    }

private:
    QTemporaryDir* dir = nullptr;  // the workspace's program folder
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TFormDFilter> filter;
    std::unique_ptr<TFormMicroBase> form;
};

QTEST_MAIN(TstMicroBaseWindow)
#include "tst_micro_base_window.moc"

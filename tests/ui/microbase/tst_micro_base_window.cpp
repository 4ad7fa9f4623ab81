#include "app/main_data.h"
#include "filter/filter_window.h"
#include "filter/popular_filters.h"
#include "microbase/filter_rec.h"
#include "microbase/mb_main_data.h"
#include "microbase/micro_base.h"
#include "microbase/micro_base_window.h"
#include "recorders.h"

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
#include <QToolButton>
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

}  // namespace

class TstMicroBaseWindow : public QObject {
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
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        MainData::ProgramDir = dir->path();
        WorkingFilter() = TFilterData();
        sink = std::make_unique<test::RecordingSink>();
        filter = std::make_unique<TFormDFilter>();
        form = std::make_unique<TFormMicroBase>(&dialogs, filter.get());
        dialogs.choices.clear();
    }
    void cleanup()
    {
        form.reset();
        filter.reset();
        sink.reset();
        dir.reset();
    }

    void firstStartOpensAnEmptyDefaultBase()
    {
        QVERIFY(QFileInfo::exists(DefaultBaseName()));
        QCOMPARE(CurrentBaseName(), DefaultBaseName());
        QCOMPARE(fileSize(DefaultBaseName()), 0);
        QCOMPARE(form->windowTitle(), QStringLiteral("  Текущая база : ") + QFileInfo(DefaultBaseName()).fileName());
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
        const QString file = CurrentBaseName();
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
        QCOMPARE(sink->warnings, (QStringList{QStringLiteral("Вначале выберите некоторую запись селектором записей ..."),
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
        WorkingFilter().Type = 1;
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
            form->show();
            form->sbtnExport->click();
        });
        filter->TB1RunDB->click();
        QCOMPARE(shown, 1);
        QVERIFY(!form->isVisible());
        QCOMPARE(WorkingFilter().Kernel, PopFilterH2);
        QCOMPARE(WorkingFilter().Scale, 16);
        QCOMPARE(WorkingFilter().Type, 2);
        QVERIFY(!filter->FilterPassed);
        QCOMPARE(filter->SGridFilter->item(3, 3)->text(), QStringLiteral("32"));
    }

    void openingAMissingFileFallsBackToTheDefault()
    {
        add(QStringLiteral("Один"), 0);
        dialogs.choices.push_back(TFileChoice{dir->filePath(QStringLiteral("нет.fdb")), 1});
        form->TB1OpenDB->click();
        QCOMPARE(CurrentBaseName(), DefaultBaseName());
        QCOMPARE(form->LBoxSelector->count(), 1);
        QVERIFY(dialogs.askedDirs.back().endsWith(QStringLiteral("Filters")));
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<test::RecordingSink> sink;
    std::unique_ptr<TFormDFilter> filter;
    std::unique_ptr<TFormMicroBase> form;
};

QTEST_MAIN(TstMicroBaseWindow)
#include "tst_micro_base_window.moc"

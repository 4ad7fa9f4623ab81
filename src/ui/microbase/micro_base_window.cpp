#include "ui/microbase/micro_base_window.h"

#include "core/engine/color.h"
#include "core/engine/message_sink.h"
#include "core/engine/program_subdir.h"
#include "core/engine/text_convert.h"
#include "core/microbase/mb_file_tools.h"
#include "core/microbase/micro_base.h"
#include "core/microbase/random_kernel.h"
#include "ui/engine/qt_color.h"
#include "ui/filter/filter_grid.h"
#include "ui/workspace/workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace ormica {

namespace {

constexpr std::uint8_t kWorking = 1;
constexpr std::uint8_t kDeleted = 0;

QString baseFileName(const QString& name)
{
    return QFileInfo(name).fileName();
}

// Item data: the record's position in the file, which is what the record
// commands address, whatever number the record stores.
constexpr int kPositionRole = Qt::UserRole;

// A name on one line of the list: control characters (the zero bytes of a
// padded field, a line break) as marks every font has, a line break as a
// pilcrow, any other as a middle dot. Only the shown text changes.
QString visibleName(QString name)
{
    for (QChar& c : name) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QChar(char16_t(0x00B6));
        else if (c.category() == QChar::Other_Control)
            c = QChar(char16_t(0x00B7));
    }
    return name;
}

// Said where a damaged or hand-edited base stores another number than the record's place.
QString misnumberedText(std::int32_t position, std::int32_t stored)
{
    return QCoreApplication::translate("MicroBaseList",
                                       "Номер, записанный в записи (%1), не совпадает с ее позицией в файле (%2)")
        .arg(stored)
        .arg(position);
}

void setListedRecord(QListWidgetItem* item, const QString& name, std::int32_t position, std::int32_t stored)
{
    QString text = visibleName(name);
    if (stored != position)
        text += QCoreApplication::translate("MicroBaseList", "   [в записи № %1]").arg(stored);
    item->setText(text);
    item->setToolTip(stored != position ? misnumberedText(position, stored) : QString());
    item->setData(kPositionRole, position);
}

// Names in the order people read them, letter case aside. An unset (C)
// locale would order by code point; the program speaks Russian, so its
// readers are taken to read Russian then.
QCollator readersCollator()
{
    const QLocale user;
    QCollator collator(user.language() == QLocale::C ? QLocale(QLocale::Russian, QLocale::Russia) : user);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

}  // namespace

TFormMicroBase::TFormMicroBase(TWorkspace& workspace, TFileDialogs* dialogs, QWidget* parent)
    : QDialog(parent), ws_(workspace), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("FormMicroBase"));
    setWindowTitle(tr("  Микробаза фильтров для обработки изображений"));
    setModal(true);
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    createMenu();
    layout->setMenuBar(MainMenu);
    layout->addLayout(createToolBar());
    auto* body = new QHBoxLayout;
    body->addWidget(createSelector(), 2);
    body->addWidget(createEditor(), 3);
    layout->addLayout(body, 1);

    FormCreate();
}

TFormMicroBase::~TFormMicroBase()
{
    // QDialog hides the window after this class is gone, and a cell still
    // being edited would be committed into it.
    delete gridEditor_;
}

void TFormMicroBase::FormCreate()
{
    engine_ = std::make_unique<TMicroBase>(kFilterDataSize);
    SetupFilterGrid(SGridEd, TFilterKernel::kSide);
    gridEditor_ = new TKernelGridEditor(
        SGridEd, [this]() -> TFilterKernel& { return EditedRec.Kernel; },
        [this](std::int32_t newSum) {
            EditedRec.Scale = newSum;
            SetEditQuietly(EditScale, newSum);
        },
        this);
    // Every weight a kernel holds shows whole, in the cells and their editor.
    gridEditor_->fitColumnsToWeights();
    gridEditor_->OnCommitted = [this] { setChanged(true); };
    EditedRec.Kernel.centre() = 1;
    EditedRec.Scale = 1;
    setChanged(false);
    if (PrepareDefaultBase(ws_.ProgramDir, ws_.DefaultBaseName, ws_.CurrentBaseName)) {
        setWindowTitle(tr("  ТЕКУЩАЯ БАЗА : %1").arg(baseFileName(ws_.CurrentBaseName)));
        OpenBase(ws_.CurrentBaseName);
    } else {
        setWindowTitle(tr("  НЕОБХОДИМО ОТКРЫТЬ БАЗУ ДАННЫХ!"));
        // Without a base there is nothing the record commands could act on.
        PanelCtrlRec->hide();
        TB1SaveDB->hide();
        MMSaveDB->setVisible(false);
    }
}

void TFormMicroBase::paintLabel(QLabel* label, const QColor& color)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, color);
    label->setPalette(pal);
}

void TFormMicroBase::setChanged(bool changed)
{
    changed_ = changed;
    paintLabel(stxtChangeID, changed ? ToQColor(clYellow) : ToQColor(clBtnFace));
}

void TFormMicroBase::OpenBase(const QString& name)
{
    if (engine_->Opened())
        engine_->Close();
    engine_->ShowErrors = true;
    if (engine_->Open(name)) {
        {
            const QSignalBlocker quiet(sbtnStatMain);
            sbtnStatMain->setChecked(true);
        }
        setWindowTitle(tr("  Текущая база : %1").arg(baseFileName(name)));
        FillList(kWorking, 0);
        STextStat->setText(tr("Выборка рабочих записей"));
        paintLabel(STextOpenID, ToQColor(clLime));
        LbOpenID->setText(tr("База (Open)"));
        TB1SaveDB->show();
        MMSaveDB->setVisible(true);
        PanelCtrlRec->show();
        // The working selection, even when the deleted one was browsed before.
        ToolBarAccessREC->setEnabled(true);
        sbtnRecRestore->hide();
    } else {
        setWindowTitle(tr("  Текущая база : (Closed)"));
        paintLabel(STextOpenID, ToQColor(clBtnFace));
        LbOpenID->setText(tr("База (Close)"));
        TB1SaveDB->hide();
        MMSaveDB->setVisible(false);
        PanelCtrlRec->hide();
        sbtnRecRestore->hide();
        // Nothing of the previous base stays listed: its records are out of reach.
        LBoxSelector->clear();
        EdNumRec->clear();
        STextRecIndx->clear();
        STextRecIndx->setToolTip(QString());
    }
}

void TFormMicroBase::OpenBaseClick()
{
    if (!dialogs_)
        return;
    const TProgramSubdir dir = ProgramSubdirIn(ws_.ProgramDir, AppDataDirOfRun(), QStringLiteral("Filters"));
    const auto choice = dialogs_->askOpen(dir.Path, FdbFilters(), 1);
    if (!choice || choice->fileName.isEmpty())
        return;
    ws_.CurrentBaseName = choice->fileName;
    if (!QFileInfo::exists(ws_.CurrentBaseName))
        ws_.CurrentBaseName = ws_.DefaultBaseName;
    OpenBase(ws_.CurrentBaseName);
}

void TFormMicroBase::NewBaseClick()
{
    if (!dialogs_)
        return;
    const QString name = NewBaseDialog(*dialogs_, ws_.ProgramDir, AppDataDirOfRun(), ws_.CurrentBaseName);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    if (messages().question(tr("Открыть созданную базу с именем :\r\n%1 ?").arg(baseFileName(name)),
                            TQuestionKind::Confirmation)) {
        OpenBase(name);
        ws_.CurrentBaseName = name;
    }
}

void TFormMicroBase::SaveBaseClick()
{
    if (!dialogs_)
        return;
    const QString name = SaveAs(engine_.get(), *dialogs_, ws_.ProgramDir, AppDataDirOfRun(), ws_.CurrentBaseName);
    if (name.isEmpty() || !QFileInfo::exists(name))
        return;
    if (messages().question(tr("Открыть сохраненную базу с именем :\r\n%1 ?").arg(baseFileName(name)),
                            TQuestionKind::Confirmation)) {
        OpenBase(name);
        ws_.CurrentBaseName = name;
    }
}

void TFormMicroBase::sbtnStatMainClick()
{
    if (!engine_->Opened() || !sbtnStatMain->isChecked())
        return;
    FillList(kWorking, CbBoxRqFilterType->currentIndex());
    STextStat->setText(tr("Выборка рабочих записей"));
    PanelCtrlRec->show();
    ToolBarAccessREC->setEnabled(true);
    sbtnRecRestore->hide();
}

void TFormMicroBase::sbtnStatRestoreClick()
{
    if (!engine_->Opened() || !sbtnStatRestore->isChecked())
        return;
    FillList(kDeleted, CbBoxRqFilterType->currentIndex());
    STextStat->setText(tr("Выборка удаленных записей"));
    PanelCtrlRec->hide();
    ToolBarAccessREC->setEnabled(false);
    sbtnRecRestore->show();
}

void TFormMicroBase::RefreshList()
{
    const bool working = sbtnStatMain->isChecked() && !sbtnStatRestore->isChecked();
    FillList(working ? kWorking : kDeleted, CbBoxRqFilterType->currentIndex());
}

void TFormMicroBase::FillList(std::uint8_t status, int typeIndex)
{
    LBoxSelector->clear();
    struct Listed {
        QString name;
        std::int32_t position;
        std::int32_t stored;
    };
    std::vector<Listed> listed;
    for (std::int32_t k = 0;; ++k) {
        const std::optional<TFilterRec> rec = ReadFilterRec(*engine_, k);
        if (!rec)
            break;
        if (engine_->HeaderStatus() != status || (typeIndex > 0 && rec->Type != typeIndex))
            continue;
        listed.push_back({rec->Name.text(), k, engine_->HeaderNumber()});
    }
    if (CheckBoxSorted->isChecked()) {
        // Equal names keep the file's order, so the list is the same every time.
        const QCollator collator = readersCollator();
        std::stable_sort(listed.begin(), listed.end(),
                         [&](const Listed& a, const Listed& b) { return collator.compare(a.name, b.name) < 0; });
    }
    for (const Listed& r : listed) {
        auto* item = new QListWidgetItem;
        setListedRecord(item, r.name, r.position, r.stored);
        LBoxSelector->addItem(item);
    }
    EdNumRec->setText(QString::number(LBoxSelector->count()));
    if (LBoxSelector->count() == 0) {
        // The template is no record of the file.
        STextRecIndx->clear();
        STextRecIndx->setToolTip(QString());
        EmptyTemplate();
    } else {
        LBoxSelector->setCurrentRow(0);
        ShowSelected();
    }
    ShowRecord();
}

std::int32_t TFormMicroBase::selectedPosition() const
{
    const QListWidgetItem* item = LBoxSelector->currentItem();
    return item ? item->data(kPositionRole).toInt() : -1;
}

void TFormMicroBase::showIndex(std::int32_t position, std::int32_t stored)
{
    STextRecIndx->setText(stored == position ? QString::number(position) : tr("%1 (№ %2)").arg(position).arg(stored));
    STextRecIndx->setToolTip(stored == position ? QString() : misnumberedText(position, stored));
}

void TFormMicroBase::ShowSelected()
{
    const std::int32_t k = selectedPosition();
    if (k < 0)
        return;
    if (const std::optional<TFilterRec> rec = ReadFilterRec(*engine_, k)) {
        EditedRec = *rec;
        showIndex(k, engine_->HeaderNumber());
        ShowRecord();
    }
    setChanged(false);
}

void TFormMicroBase::ShowRecord()
{
    // Texts that differ run their ordinary change handling, as typing would.
    EditFilterName->setText(EditedRec.Name.text());
    EditScale->setText(QString::number(EditedRec.Scale));
    gridEditor_->showKernel();
    {
        const QSignalBlocker quiet(CBoxFilterType);
        CBoxFilterType->setCurrentIndex(
            EditedRec.Type >= 0 && EditedRec.Type < CBoxFilterType->count() ? int(EditedRec.Type) : -1);
    }
    // No empty second line: a click into the box must land on the first one.
    const QString second = EditedRec.Comment2.text();
    const QString memo = EditedRec.Comment1.text() + (second.isEmpty() ? QString() : QLatin1Char('\n') + second);
    {
        const QSignalBlocker quiet(Memo1);
        Memo1->setPlainText(memo);
    }
    lastMemo_ = memo;
}

void TFormMicroBase::EmptyTemplate()
{
    EditedRec.Name.setText(tr("Пустой шаблон фильтра"));
    ClearKernel(EditedRec.Kernel);
    EditedRec.Kernel.centre() = 1;
    EditedRec.Scale = 1;
    EditedRec.Type = std::max(0, CbBoxRqFilterType->currentIndex());
    EditedRec.Comment1.setText(QString());
    EditedRec.Comment2.setText(QString());
}

bool TFormMicroBase::TakeTexts()
{
    // The fields refuse what a record cannot keep as it is typed, so what
    // they hold now fits.
    const QStringList lines = Memo1->toPlainText().split(QLatin1Char('\n'));
    return EditedRec.Name.setText(EditFilterName->text()) &&
           EditedRec.Comment1.setText(lines.size() > 0 ? lines[0] : QString()) &&
           EditedRec.Comment2.setText(lines.size() > 1 ? lines[1] : QString());
}

bool TFormMicroBase::WriteRecord(std::int32_t k, std::uint8_t status)
{
    if (!engine_ || k < 0 || (status != kWorking && status != kDeleted))
        return false;
    return PutFilterRec(*engine_, EditedRec) && engine_->Write(status, k);
}

void TFormMicroBase::TB2RecAddClick()
{
    if (!engine_ || !engine_->Opened())
        return;
    TakeTexts();
    if (!PutFilterRec(*engine_, EditedRec))
        return;
    const std::int32_t before = engine_->RecordCount();
    if (engine_->Append() == before)
        return;  // reported by the engine; the edits stay marked
    setChanged(false);
    FillList(kWorking, CbBoxRqFilterType->currentIndex());
    if (LBoxSelector->count() > 0) {
        LBoxSelector->setCurrentRow(LBoxSelector->count() - 1);
        ShowSelected();
    }
}

void TFormMicroBase::TB2RecRefreshClick()
{
    const std::int32_t k = selectedPosition();
    if (LBoxSelector->count() == 0 || k < 0) {
        messages().warning(tr("Вначале выберите некоторую запись селектором записей ..."));
        return;
    }
    TakeTexts();
    if (WriteRecord(k, kWorking)) {
        // The write gives the record the number of its place.
        setListedRecord(LBoxSelector->currentItem(), EditFilterName->text(), k, k);
        showIndex(k, k);
        setChanged(false);
    }
}

void TFormMicroBase::TB2RecDeleteClick()
{
    const std::int32_t k = selectedPosition();
    if (LBoxSelector->count() == 0 || k < 0) {
        messages().warning(tr("Вначале выберите некоторую запись селектором записей ..."));
        return;
    }
    TakeTexts();
    if (WriteRecord(k, kDeleted))
        setChanged(false);
    FillList(kWorking, CbBoxRqFilterType->currentIndex());
}

void TFormMicroBase::sbtnRecRestoreClick()
{
    if (!sbtnStatRestore->isChecked())
        return;
    const std::int32_t k = selectedPosition();
    if (k < 0)
        return;
    TakeTexts();
    if (WriteRecord(k, kWorking))
        FillList(kDeleted, CbBoxRqFilterType->currentIndex());
}

void TFormMicroBase::EditFilterNameChange()
{
    const QString text = EditFilterName->text();
    if (!CheckShortString(text, tr("Наименование фильтра"))) {
        const QSignalBlocker quiet(EditFilterName);
        EditFilterName->setText(lastName_);
        return;
    }
    lastName_ = text;
    EditedRec.Name.setText(text);
    setChanged(true);
}

void TFormMicroBase::EditScaleChange()
{
    const QString text = EditScale->text();
    int value = 0;
    if (!TextToInt(text, value)) {
        messages().warning(NotANumberText(text));
        SetEditQuietly(EditScale, EditedRec.Scale);
        return;
    }
    if (value < 1) {
        messages().warning(ScaleBelowOneText());
        SetEditQuietly(EditScale, EditedRec.Scale);
        return;
    }
    EditedRec.Scale = value;
    setChanged(true);
}

void TFormMicroBase::Memo1Change()
{
    const QString memo = Memo1->toPlainText();
    const QStringList lines = memo.split(QLatin1Char('\n'));
    for (int i = 0; i < 2 && i < lines.size(); ++i)
        if (!CheckShortString(lines[i], tr("Комментарий к фильтру"))) {
            const QSignalBlocker quiet(Memo1);
            Memo1->setPlainText(lastMemo_);
            Memo1->moveCursor(QTextCursor::End);
            return;
        }
    lastMemo_ = memo;
    setChanged(true);
}

void TFormMicroBase::TB3CleanClick()
{
    EmptyTemplate();
    ShowRecord();
    setChanged(true);
}

void TFormMicroBase::TB3ScaleClick()
{
    EditedRec.Scale = ScaleOfKernel(EditedRec.Kernel);
    ShowRecord();
    setChanged(true);
}

void TFormMicroBase::TB3RandomClick()
{
    RandomKernel(CBoxFilterType->currentIndex(), EditedRec.Kernel);
    EditedRec.Scale = ScaleOfKernel(EditedRec.Kernel);
    ShowRecord();
    EditFilterName->setText(tr("Случайный М%1").arg(EditedRec.Scale));
    EditedRec.Type = 0;
    CBoxFilterType->setCurrentIndex(0);
    setChanged(true);
}

void TFormMicroBase::sbtnImportClick()
{
    PutFilterData(EditedRec, ws_.WorkingFilter);
    EditedRec.Name.setText(tr("Импортированный фильтр"));
    EditedRec.Comment1.setText(QString());
    EditedRec.Comment2.setText(QString());
    ShowRecord();
    setChanged(true);
}

void TFormMicroBase::sbtnExportClick()
{
    // The filter window decides whether it takes it.
    emit filterExported(FilterDataOf(EditedRec));
    close();
}

std::optional<TFilterData> TFormMicroBase::ExchangeFilter()
{
    std::optional<TFilterData> passed;
    const QMetaObject::Connection taken =
        connect(this, &TFormMicroBase::filterExported, this, [&passed](const TFilterData& f) { passed = f; });
    exec();
    disconnect(taken);
    return passed;
}

}  // namespace ormica

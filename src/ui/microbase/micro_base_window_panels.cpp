// The database window's panels: menu, tool bar, record selector and editor.
#include "ui/microbase/micro_base_window.h"

#include "core/filter/filter_kernel.h"
#include "ui/engine/tool_button.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace ormica {

namespace {

QLabel* makeIndicator(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    return label;
}

}  // namespace

void TFormMicroBase::createMenu()
{
    MainMenu = new QMenuBar(this);
    QMenu* base = MainMenu->addMenu(tr("База"));
    MMNewDB = base->addAction(tr("Новая база"), this, &TFormMicroBase::NewBaseClick);
    MMOpenDB = base->addAction(tr("Открыть базу"), this, &TFormMicroBase::OpenBaseClick);
    MMSaveDB = base->addAction(tr("Сохранить базу как ..."), this, &TFormMicroBase::SaveBaseClick);
    base->addSeparator();
    MMClose = base->addAction(tr("Выход"), this, &QDialog::close);
}

QLayout* TFormMicroBase::createToolBar()
{
    auto* tools = new QHBoxLayout;
    QStyle* st = style();
    TB1NewDB = MakeToolButton("TB1NewDB", tr("Новая база"), tr("Создать и открыть новую базу данных"), this,
                              st->standardIcon(QStyle::SP_FileDialogNewFolder));
    TB1OpenDB = MakeToolButton("TB1OpenDB", tr("Открыть базу"), tr("Выбрать файл базы данных в диалоге"), this,
                               st->standardIcon(QStyle::SP_DialogOpenButton));
    TB1SaveDB = MakeToolButton("TB1SaveDB", tr("Сохранить базу как ..."), tr("Сохранить текущую базу данных как ..."),
                               this, st->standardIcon(QStyle::SP_DialogSaveButton));
    for (QToolButton* b : {TB1NewDB, TB1OpenDB, TB1SaveDB})
        tools->addWidget(b);
    tools->addSpacing(12);
    STextOpenID = makeIndicator("STextOpenID", this);
    STextOpenID->setFixedSize(16, 16);
    LbOpenID = new QLabel(tr("База (Open/Close)"), this);
    LbOpenID->setObjectName(QStringLiteral("LbOpenID"));
    STextStat = makeIndicator("STextStat", this);
    STextStat->setText(tr("Режим выборки"));
    STextStat->setMinimumWidth(200);
    tools->addWidget(STextOpenID);
    tools->addWidget(LbOpenID);
    tools->addSpacing(12);
    tools->addWidget(STextStat);
    tools->addStretch(1);
    connect(TB1NewDB, &QToolButton::clicked, this, &TFormMicroBase::NewBaseClick);
    connect(TB1OpenDB, &QToolButton::clicked, this, &TFormMicroBase::OpenBaseClick);
    connect(TB1SaveDB, &QToolButton::clicked, this, &TFormMicroBase::SaveBaseClick);
    return tools;
}

QWidget* TFormMicroBase::createSelector()
{
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* v = new QVBoxLayout(panel);
    v->addWidget(new QLabel(tr("Селектор (Навигатор) записей "), panel));
    LBoxSelector = new QListWidget(panel);
    LBoxSelector->setObjectName(QStringLiteral("LBoxSelector"));
    v->addWidget(LBoxSelector, 1);
    connect(LBoxSelector, &QListWidget::itemClicked, this, [this] { ShowSelected(); });

    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(tr("Число записей в выборке"), panel));
    EdNumRec = new QLineEdit(panel);
    EdNumRec->setObjectName(QStringLiteral("EdNumRec"));
    EdNumRec->setReadOnly(true);
    EdNumRec->setMaximumWidth(70);
    count->addWidget(EdNumRec);
    v->addLayout(count);

    auto* type = new QHBoxLayout;
    type->addWidget(new QLabel(tr("Тип фильтров"), panel));
    CbBoxRqFilterType = new QComboBox(panel);
    CbBoxRqFilterType->setObjectName(QStringLiteral("CbBoxRqFilterType"));
    CbBoxRqFilterType->addItems({tr("Все фильтры"), tr("Сглаживающие"), tr("Обостряющие"), tr("Специальные")});
    type->addWidget(CbBoxRqFilterType, 1);
    v->addLayout(type);
    CheckBoxSorted = new QCheckBox(tr("Сортировать"), panel);
    CheckBoxSorted->setObjectName(QStringLiteral("CheckBoxSorted"));
    CheckBoxSorted->setChecked(true);
    v->addWidget(CheckBoxSorted);
    connect(CbBoxRqFilterType, &QComboBox::activated, this, &TFormMicroBase::RefreshList);
    connect(CheckBoxSorted, &QCheckBox::clicked, this, &TFormMicroBase::RefreshList);

    auto* modes = new QHBoxLayout;
    sbtnStatMain = MakeToolButton("sbtnStatMain", tr("Рабочие"), tr("Режим работы с основными записями базы"), panel);
    sbtnStatRestore =
        MakeToolButton("sbtnStatRestore", tr("Удаленные"), tr("Режим восстановления удаленных записей"), panel);
    sbtnRecRestore = MakeToolButton("sbtnRecRestore", tr("Восстановить"), tr("Восстановить удаленную запись"), panel);
    statButtons_ = new QButtonGroup(this);
    for (QToolButton* b : {sbtnStatMain, sbtnStatRestore}) {
        b->setCheckable(true);
        b->setAutoRaise(false);
        statButtons_->addButton(b);
    }
    sbtnStatMain->setChecked(true);
    sbtnRecRestore->hide();
    modes->addWidget(sbtnStatMain);
    modes->addWidget(sbtnStatRestore);
    modes->addWidget(sbtnRecRestore);
    modes->addStretch(1);
    v->addLayout(modes);
    connect(sbtnStatMain, &QToolButton::clicked, this, &TFormMicroBase::sbtnStatMainClick);
    connect(sbtnStatRestore, &QToolButton::clicked, this, &TFormMicroBase::sbtnStatRestoreClick);
    connect(sbtnRecRestore, &QToolButton::clicked, this, &TFormMicroBase::sbtnRecRestoreClick);
    return panel;
}

QWidget* TFormMicroBase::createEditor()
{
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(panel);

    grid->addWidget(new QLabel(tr("Наименование фильтра"), panel), 0, 0, 1, 2);
    EditFilterName = new QLineEdit(panel);
    EditFilterName->setObjectName(QStringLiteral("EditFilterName"));
    grid->addWidget(EditFilterName, 1, 0, 1, 2);

    SGridEd = new QTableWidget(panel);
    SGridEd->setObjectName(QStringLiteral("SGridEd"));
    grid->addWidget(SGridEd, 2, 0, 5, 1, Qt::AlignTop);

    grid->addLayout(createFieldSide(panel), 2, 1, 5, 1);

    grid->addWidget(new QLabel(tr("Комментарий к фильтру "), panel), 7, 0, 1, 2);
    Memo1 = new QPlainTextEdit(panel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setMaximumHeight(60);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addWidget(Memo1, 8, 0, 1, 2);

    grid->addWidget(createRecordPanel(panel), 9, 0, 1, 2);
    grid->addLayout(createExchange(panel), 10, 0, 1, 2);
    connectEditor();
    return panel;
}

// Beside the grid: the record's index and change mark, scale, type and field tools.
QLayout* TFormMicroBase::createFieldSide(QWidget* panel)
{
    auto* side = new QVBoxLayout;
    auto* index = new QHBoxLayout;
    index->addWidget(new QLabel(tr("Индекс"), panel));
    STextRecIndx = makeIndicator("STextRecIndx", panel);
    STextRecIndx->setMinimumWidth(60);
    index->addWidget(STextRecIndx);
    stxtChangeID = makeIndicator("stxtChangeID", panel);
    stxtChangeID->setFixedSize(16, 16);
    stxtChangeID->setToolTip(tr("В полях записи присутствуют несохраненные изменения"));
    index->addWidget(stxtChangeID);
    index->addStretch(1);
    side->addLayout(index);
    side->addWidget(new QLabel(tr("Масштаб"), panel));
    EditScale = new QLineEdit(panel);
    EditScale->setObjectName(QStringLiteral("EditScale"));
    side->addWidget(EditScale);
    side->addWidget(new QLabel(tr("Тип фильтра"), panel));
    CBoxFilterType = new QComboBox(panel);
    CBoxFilterType->setObjectName(QStringLiteral("CBoxFilterType"));
    CBoxFilterType->addItems(FilterTypeNames());
    side->addWidget(CBoxFilterType);
    auto* fieldTools = new QHBoxLayout;
    TB3Scale = MakeToolButton("TB3Scale", QStringLiteral("Σ"), tr("Пересчитать масштаб текущего фильтра"), panel);
    TB3Clean = MakeToolButton("TB3Clean", QStringLiteral("□"), tr("Очистка полей текущего фильтра"), panel);
    TB3Random = MakeToolButton("TB3Random", QStringLiteral("?"), tr("Сгенерировать случайный фильтр"), panel);
    for (QToolButton* b : {TB3Scale, TB3Clean, TB3Random})
        fieldTools->addWidget(b);
    fieldTools->addStretch(1);
    side->addLayout(fieldTools);
    side->addStretch(1);
    return side;
}

QWidget* TFormMicroBase::createRecordPanel(QWidget* panel)
{
    PanelCtrlRec = new QFrame(panel);
    PanelCtrlRec->setObjectName(QStringLiteral("PanelCtrlRec"));
    PanelCtrlRec->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Hidden in the deleted selection without the fields above it moving.
    QSizePolicy keep = PanelCtrlRec->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    PanelCtrlRec->setSizePolicy(keep);
    auto* rec = new QHBoxLayout(PanelCtrlRec);
    rec->addWidget(new QLabel(tr("Управление записями"), PanelCtrlRec));
    ToolBarAccessREC = new QWidget(PanelCtrlRec);
    ToolBarAccessREC->setObjectName(QStringLiteral("ToolBarAccessREC"));
    auto* recTools = new QHBoxLayout(ToolBarAccessREC);
    recTools->setContentsMargins(0, 0, 0, 0);
    TB2RecAdd = MakeToolButton("TB2RecAdd", tr("Добавить"), tr("Добавить запись в базу"), ToolBarAccessREC);
    TB2RecRefresh = MakeToolButton("TB2RecRefresh", tr("Обновить"), tr("Обновить текущую запись "), ToolBarAccessREC);
    TB2RecDelete = MakeToolButton("TB2RecDelete", tr("Удалить"), tr("Удалить текущую запись"), ToolBarAccessREC);
    for (QToolButton* b : {TB2RecAdd, TB2RecRefresh, TB2RecDelete})
        recTools->addWidget(b);
    rec->addWidget(ToolBarAccessREC);
    rec->addStretch(1);
    return PanelCtrlRec;
}

QLayout* TFormMicroBase::createExchange(QWidget* panel)
{
    auto* exchange = new QHBoxLayout;
    sbtnImport = MakeToolButton("sbtnImport", tr("Импорт фильтра"), QString(), panel);
    sbtnExport = MakeToolButton("sbtnExport", tr("Экспорт фильтра"), QString(), panel);
    sbtnImport->setAutoRaise(false);
    sbtnExport->setAutoRaise(false);
    exchange->addWidget(sbtnImport);
    exchange->addWidget(sbtnExport);
    exchange->addStretch(1);
    return exchange;
}

void TFormMicroBase::connectEditor()
{
    connect(TB2RecAdd, &QToolButton::clicked, this, &TFormMicroBase::TB2RecAddClick);
    connect(TB2RecRefresh, &QToolButton::clicked, this, &TFormMicroBase::TB2RecRefreshClick);
    connect(TB2RecDelete, &QToolButton::clicked, this, &TFormMicroBase::TB2RecDeleteClick);
    connect(TB3Scale, &QToolButton::clicked, this, &TFormMicroBase::TB3ScaleClick);
    connect(TB3Clean, &QToolButton::clicked, this, &TFormMicroBase::TB3CleanClick);
    connect(TB3Random, &QToolButton::clicked, this, &TFormMicroBase::TB3RandomClick);
    connect(sbtnImport, &QToolButton::clicked, this, &TFormMicroBase::sbtnImportClick);
    connect(sbtnExport, &QToolButton::clicked, this, &TFormMicroBase::sbtnExportClick);
    connect(EditFilterName, &QLineEdit::textChanged, this, &TFormMicroBase::EditFilterNameChange);
    connect(EditScale, &QLineEdit::textChanged, this, &TFormMicroBase::EditScaleChange);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFormMicroBase::Memo1Change);
    connect(CBoxFilterType, &QComboBox::activated, this, [this](int index) {
        EditedRec.Type = index;
        setChanged(true);
    });
}

}  // namespace ormica

#include "ui/filter/filter_window.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/engine/text_convert.h"
#include "core/explain/explanation.h"
#include "core/filter/filter_tab.h"
#include "core/filter/popular_filters.h"
#include "core/filter/regulators.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/magnifier.h"
#include "ui/engine/progress_bar.h"
#include "ui/engine/tool_button.h"
#include "ui/explain/explain_panel.h"
#include "ui/filter/response_window.h"
#include "ui/workspace/workspace.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QSlider>
#include <QSplitter>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <utility>

namespace ormica {

namespace {

constexpr int kRegulatorRange = 10;
const QColor kPink(255, 200, 200);

QSlider* makeTrackBar(const char* name, const QString& hint, QWidget* parent)
{
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setToolTip(hint);
    bar->setRange(-kRegulatorRange, kRegulatorRange);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(1);
    bar->setValue(0);
    return bar;
}

// The picture stays with an image control, as the core's routines want it;
// the magnifier standing in for it is what the window shows.
TMagnifier* makePicture(const char* imageName, const char* paneName, TImageWidget*& image, QWidget* parent)
{
    image = new TImageWidget(QSize(2, 2), parent);
    image->setObjectName(QLatin1String(imageName));
    image->hide();
    auto* magnifier = new TMagnifier(parent);
    magnifier->setObjectName(QLatin1String(paneName));
    magnifier->standInFor(image);
    return magnifier;
}

}  // namespace

QString FilterHelpText()
{
    return QCoreApplication::translate("FilterHelp", "Все ответы Вы найдете в следующих книгах :\r\n"
                                                     "\r\n"
                                                     "1. Гонсалес Р., Вудс Р. Цифровая обработка изображений.\r\n"
                                                     "    М.: Техносфера, 2005. 1072 с. ISBN 5-94836-028-8.\r\n"
                                                     "\r\n"
                                                     "2. Прэтт У. Цифровая обработка изображений. В 2-х книгах.\r\n"
                                                     "    М.: Мир, 1982. 792 с.");
}

TFormDFilter::TFormDFilter(TWorkspace& workspace, QWidget* parent) : QDialog(parent), ws_(workspace)
{
    setObjectName(QStringLiteral("FormDFilter"));
    setWindowTitle(tr(" Заказной цифровой фильтр"));
    setModal(true);
    resize(820, 520);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    createMenu();
    layout->setMenuBar(MainMenu);
    auto* body = new QHBoxLayout;
    body->addWidget(createLeftPanel());
    body->addWidget(createPictures(), 1);
    layout->addLayout(body, 1);
    ProgressBar1 = MakeProgressBar(this);
    layout->addWidget(ProgressBar1);
    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);

    FormCreate();
}

TFormDFilter::~TFormDFilter()
{
    // QDialog hides the window after this class is gone, and a cell still
    // being edited would be committed into it.
    delete gridEditor_;
}

void TFormDFilter::createMenu()
{
    MainMenu = new QMenuBar(this);
    QMenu* files = MainMenu->addMenu(tr("Файлы"));
    MMExit = files->addAction(tr("Выход"), this, &QDialog::close);
    QMenu* filters = MainMenu->addMenu(tr("Фильтры"));
    createReadyFilterItems(filters);
    MMGoToDB = filters->addAction(tr("База фильтров"), this, &TFormDFilter::CallDatabase);
    QMenu* operations = MainMenu->addMenu(tr("Операции"));
    MMRunFrag = operations->addAction(tr("Применить фильтр к фрагменту"), this, [this] { RunOnFragment(); });
    MMRunDest = operations->addAction(tr("Применить фильтр к изображению"), this, &TFormDFilter::TB1RunDestClick);
    operations->addSeparator();
    MMResponse = operations->addAction(tr("Частотная характеристика"), this, &TFormDFilter::ShowResponse);
    MMHelp = MainMenu->addAction(tr("Помощь"), this, &TFormDFilter::MMHelpClick);
}

// One submenu a filter type, in the order of the core's table.
void TFormDFilter::createReadyFilterItems(QMenu* filters)
{
    const std::pair<const char*, QAction**> named[] = {
        {"H1", &MMPopFilterH1}, {"H2", &MMPopFilterH2}, {"H3", &MMPopFilterH3},
        {"L1", &MMPopFilterL1}, {"L2", &MMPopFilterL2}, {"L3", &MMPopFilterL3},
    };
    QMenu* menu = nullptr;
    std::int32_t menuType = -1;
    for (const TReadyFilter& f : ReadyFilters()) {
        if (!menu || f.type != menuType) {
            menuType = f.type;
            menu = filters->addMenu(FilterTypeNames().at(menuType));
        }
        const TFilterKernel* kernel = f.kernel;
        QAction* action = menu->addAction(ReadyFilterMenuText(f), this, [this, kernel] { LoadFilter(*kernel); });
        for (const auto& [name, member] : named)
            if (std::strcmp(name, f.name) == 0)
                *member = action;
    }
}

QWidget* TFormDFilter::createLeftPanel()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelLeft"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* v = new QVBoxLayout(panel);
    v->addLayout(createTools(panel));

    v->addWidget(new QLabel(tr("Текущий цифровой фильтр"), panel));
    SGridFilter = new QTableWidget(panel);
    SGridFilter->setObjectName(QStringLiteral("SGridFilter"));
    v->addWidget(SGridFilter, 0, Qt::AlignHCenter);

    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(new QLabel(tr("Масштаб"), panel));
    EdFScale = new QLineEdit(panel);
    EdFScale->setObjectName(QStringLiteral("EdFScale"));
    scaleRow->addWidget(EdFScale, 1);
    v->addLayout(scaleRow);

    auto* modeRow = new QHBoxLayout;
    SpBttAuto =
        MakeToolButton("SpBttAuto", tr("Регуляторы"), tr("Управление цифровым фильтром с помощью регуляторов"), panel);
    SpBttNotAuto = MakeToolButton("SpBttNotAuto", tr("Вручную"), tr("Прямое управление цифровым фильтром "), panel);
    modeButtons_ = new QButtonGroup(this);
    for (QToolButton* b : {SpBttAuto, SpBttNotAuto}) {
        b->setCheckable(true);
        b->setAutoRaise(false);
        modeButtons_->addButton(b);
        modeRow->addWidget(b, 1);
        connect(b, &QToolButton::clicked, this, &TFormDFilter::UpdateMode);
    }
    SpBttAuto->setChecked(true);
    v->addLayout(modeRow);

    TrackBarLight = makeTrackBar("TrackBarLight", tr("Изменить масштаб фильтра (управление яркостью)"), panel);
    TrackBarContrast = makeTrackBar("TrackBarContrast",
                                    tr("Изменить фокус фильтра (управление деталировкой - контрастностью)"), panel);
    v->addWidget(new QLabel(tr("Яркость"), panel));
    v->addWidget(TrackBarLight);
    v->addWidget(new QLabel(tr("Фокус"), panel));
    v->addWidget(TrackBarContrast);
    connect(TrackBarLight, &QSlider::valueChanged, this, &TFormDFilter::TrackBarLightChange);
    connect(TrackBarContrast, &QSlider::valueChanged, this, &TFormDFilter::TrackBarContrastChange);

    StTxtMessage = new QLabel(panel);
    StTxtMessage->setObjectName(QStringLiteral("StTxtMessage"));
    StTxtMessage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    v->addWidget(StTxtMessage);
    v->addStretch(1);
    // Wide enough for the longer status text, so that a change of mode never moves the pictures.
    StTxtMessage->setText(tr("Ручное редактирование фильтра"));
    // The panel still grows with the grid when a long weight widens a column.
    panel->setMinimumWidth(panel->sizeHint().width());
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return panel;
}

// The tool bar of the panel: ready-made filters, the database, the runs and the response.
QLayout* TFormDFilter::createTools(QWidget* panel)
{
    auto* tools = new QHBoxLayout;
    tools->setSpacing(2);
    TB1FPlus = MakeToolButton("TB1FPlus", QStringLiteral("+"), tr("Загрузить популярный обостряющий фильтр"), panel);
    TB1FMinus = MakeToolButton("TB1FMinus", QStringLiteral("−"), tr("Загрузить популярный сглаживающий фильтр"), panel);
    TB1RunDB = MakeToolButton("TB1RunDB", tr("БД"), tr("Вызвать базу данных цифровых фильтров"), panel);
    TB1RunFrag = MakeToolButton("TB1RunFrag", tr("▶Ф"), tr("Применить фильтр к скопированному фрагменту"), panel);
    TB1RunDest =
        MakeToolButton("TB1RunDest", tr("▶И"), tr("Фильтровать ИСХОДНОЕ изображение. Результат в ФИНИШНОМ."), panel);
    TB1Response = MakeToolButton("TB1Response", tr("ЧХ"), tr("Показать частотную характеристику фильтра"), panel);
    for (QToolButton* b : {TB1FPlus, TB1FMinus, TB1RunDB, TB1RunFrag, TB1RunDest, TB1Response})
        tools->addWidget(b);
    tools->addStretch(1);
    connect(TB1FPlus, &QToolButton::clicked, this, [this] { LoadFilter(PopFilterH1); });
    connect(TB1FMinus, &QToolButton::clicked, this, [this] { LoadFilter(PopFilterL1); });
    connect(TB1RunDB, &QToolButton::clicked, this, &TFormDFilter::CallDatabase);
    connect(TB1RunFrag, &QToolButton::clicked, this, [this] { RunOnFragment(); });
    connect(TB1RunDest, &QToolButton::clicked, this, &TFormDFilter::TB1RunDestClick);
    connect(TB1Response, &QToolButton::clicked, this, &TFormDFilter::ShowResponse);
    return tools;
}

QWidget* TFormDFilter::createPictures()
{
    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    MagTestSource = makePicture("ImgTestSource", "MagTestSource", ImgTestSource, this);
    MagTestTarget = makePicture("ImgTestTarget", "MagTestTarget", ImgTestTarget, this);
    Splitter->addWidget(MagTestSource);
    Splitter->addWidget(MagTestTarget);
    // The same pixel of the fragment and of its result stay side by side.
    MagTestSource->linkWith(MagTestTarget);
    for (TMagnifier* pane : {MagTestSource, MagTestTarget})
        connect(pane, &TMagnifier::pixelClicked, this, [this](QPoint pixel) {
            if (FragmentPixelClicked && pixel.x() < TestTrgArr.width() && pixel.y() < TestTrgArr.height())
                FragmentPixelClicked(pixel);
        });
    FragmentPixelClicked = [this](QPoint p) { ExplainFragmentPixel(p); };
    return Splitter;
}

void TFormDFilter::ExplainFragmentPixel(QPoint p)
{
    if (!FragmentRecord)
        return;
    if (!WindowExplain) {
        WindowExplain = new QDialog(this);
        WindowExplain->setObjectName(QStringLiteral("WindowExplain"));
        WindowExplain->setWindowTitle(tr("Пояснение"));
        auto* layout = new QVBoxLayout(WindowExplain);
        PanelExplain = new TExplainPanel(WindowExplain);
        layout->addWidget(PanelExplain);
        WindowExplain->resize(1000, 520);
        // Beside the window rather than over the panes the student clicks.
        WindowExplain->move(frameGeometry().topRight() + QPoint(8, 0));
        emit windowMade(WindowExplain, QStringLiteral("main#explain"));
    }
    PanelExplain->showExplanation(Explain(*FragmentRecord, ImgTestTarget->picture(), p.x(), p.y()));
    WindowExplain->show();
    WindowExplain->raise();
}

void TFormDFilter::ShowResponse()
{
    if (!WindowResponse) {
        WindowResponse = new TFormResponse(this);
        WindowResponse->setFileDialogs(dialogs_);
        emit windowMade(WindowResponse, QStringLiteral("filter#response"));
    }
    updateResponse();
    WindowResponse->show();
    WindowResponse->raise();
}

void TFormDFilter::setFileDialogs(TFileDialogs* dialogs)
{
    dialogs_ = dialogs;
    if (WindowResponse)
        WindowResponse->setFileDialogs(dialogs_);
}

void TFormDFilter::updateResponse()
{
    if (WindowResponse)
        WindowResponse->showResponse(ws_.WorkingFilter.Kernel, ws_.WorkingFilter.Scale);
}

void TFormDFilter::FormCreate()
{
    TFilterData& f = ws_.WorkingFilter;
    f.Scale = MakeUnitKernel(f.Kernel, 100);
    SetupFilterGrid(SGridFilter, TFilterKernel::kSide);
    gridEditor_ = new TKernelGridEditor(
        SGridFilter, [this]() -> TFilterKernel& { return ws_.WorkingFilter.Kernel; },
        [this](std::int32_t newSum) {
            ws_.WorkingFilter.Scale = newSum;
            showScale();
            Origin.BaseCentre = ws_.WorkingFilter.Kernel.centre();
            Origin.BaseSum = newSum;
        },
        this);
    gridEditor_->fitColumnsToWeights();
    gridEditor_->showKernel();
    connect(EdFScale, &QLineEdit::textEdited, this, &TFormDFilter::EdFScaleChange);
    connect(EdFScale, &QLineEdit::returnPressed, this, &TFormDFilter::EdFScaleExit);
    EdFScale->installEventFilter(this);
    showScale();
    UpdateMode();
    setShowDatabase(nullptr);
}

void TFormDFilter::UpdateMode()
{
    // A scale still being typed is taken before the field may be disabled.
    EdFScaleExit();
    const bool regulators = SpBttAuto->isChecked();
    SGridFilter->setEnabled(!regulators);
    EdFScale->setEnabled(!regulators);
    TrackBarLight->setEnabled(regulators);
    TrackBarContrast->setEnabled(regulators);
    TB1RunDest->setEnabled(regulators);
    MMRunDest->setEnabled(regulators);
    StTxtMessage->setText(regulators ? tr("Управление регуляторами") : tr("Ручное редактирование фильтра"));
}

void TFormDFilter::setTrackQuietly(QSlider* bar, int position)
{
    const QSignalBlocker quiet(bar);
    bar->setValue(position);
}

void TFormDFilter::TrackBarLightChange()
{
    TFilterData& f = ws_.WorkingFilter;
    if (const std::optional<std::int32_t> scale = LightToScale(f.Kernel, TrackBarLight->value())) {
        f.Scale = *scale;
        showScale();
    }
}

void TFormDFilter::TrackBarContrastChange()
{
    TFilterData& f = ws_.WorkingFilter;
    const std::optional<TFocusResult> r =
        FocusToKernel(f.Kernel, Origin.BaseCentre, Origin.BaseSum, TrackBarContrast->value());
    if (!r)
        return;
    f.Kernel.centre() = r->Centre;
    f.Scale = r->Scale;
    showScale();
    gridEditor_->showKernel();
    TrackBarLight->setValue(0);
}

// Every change of the kernel or the scale ends here.
void TFormDFilter::showScale()
{
    SetEditQuietly(EdFScale, ws_.WorkingFilter.Scale);
    EdFScaleChange();
    updateResponse();
}

// While the scale is typed only its colour says whether it could be taken: a
// partial number ("" on the way to "30") is no reason for a warning.
void TFormDFilter::EdFScaleChange()
{
    std::int32_t value = 0;
    const bool bad = !TextToInt(EdFScale->text(), value) || value < 1;
    QPalette pal = EdFScale->palette();
    pal.setColor(QPalette::Base, bad && EdFScale->text() != QString::number(ws_.WorkingFilter.Scale)
                                     ? kPink
                                     : palette().color(QPalette::Base));
    EdFScale->setPalette(pal);
}

// The scale entry is finished (Enter, leaving the field, a command that uses
// it): it becomes the scale, or the scale comes back with a warning.
bool TFormDFilter::EdFScaleExit()
{
    TFilterData& f = ws_.WorkingFilter;
    const QString text = EdFScale->text();
    if (text == QString::number(f.Scale))
        return true;
    std::int32_t value = 0;
    const bool number = TextToInt(text, value);
    if (number && value >= 1)
        f.Scale = value;
    // Shown before the box, whose taking of the focus must find nothing left to take.
    showScale();
    if (!number)
        messages().warning(tr("%1\r\n Прежнее значение будет восстановлено.").arg(NotANumberText(text)));
    else if (value < 1)
        messages().warning(ScaleBelowOneText());
    return number && value >= 1;
}

bool TFormDFilter::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the field finishes the entry; a menu or another window taking
    // the focus for a while does not.
    if (watched == EdFScale && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            EdFScaleExit();
    }
    return QDialog::eventFilter(watched, event);
}

bool TFormDFilter::LoadFilter(const TFilterKernel& kernel)
{
    if (!CheckKernel(kernel, QStringLiteral("LoadFilter")))
        return false;
    TFilterData& f = ws_.WorkingFilter;
    f.Kernel = kernel;
    gridEditor_->showKernel();
    // Back to the origin without acting: the loaded kernel is what counts.
    setTrackQuietly(TrackBarLight, 0);
    setTrackQuietly(TrackBarContrast, 0);
    Origin.BaseCentre = f.Kernel.centre();
    Origin.BaseSum = KernelSum(f.Kernel).value_or(0);
    f.Scale = Origin.BaseSum;
    // A scale being typed gives way to the loaded one before its field is
    // disabled, which would otherwise take it.
    showScale();
    if (f.Scale < 1)
        messages().warning(ScaleBelowOneText());
    SGridFilter->setEnabled(false);
    TrackBarLight->setEnabled(false);
    TrackBarContrast->setEnabled(false);
    EdFScale->setEnabled(false);
    UpdateMode();
    return true;
}

void TFormDFilter::setShowDatabase(std::function<std::optional<TFilterData>()> show)
{
    showDatabase_ = std::move(show);
    MMGoToDB->setEnabled(bool(showDatabase_));
    TB1RunDB->setEnabled(bool(showDatabase_));
}

void TFormDFilter::TakeFragment(const TRect& rect, TProgress* progress)
{
    SelectedToImgTab(ws_.SrcArr, rect, TestSrcArr);
    ImgTabToImage(TestSrcArr, *ImgTestSource, progress);
    MagTestSource->refresh();
}

void TFormDFilter::CallDatabase()
{
    // The database may import the scale being typed.
    EdFScaleExit();
    const std::optional<TFilterData> passed = showDatabase_ ? showDatabase_() : std::nullopt;
    // Its weights make the scale; a refused filter leaves everything, the type too, as it was.
    if (passed && LoadFilter(passed->Kernel))
        ws_.WorkingFilter.Type = passed->Type;
}

bool TFormDFilter::RunOnFragment()
{
    if (!EdFScaleExit())
        return false;
    const TFilterData& f = ws_.WorkingFilter;
    if (f.Scale < 1) {
        messages().warning(ScaleBelowOneRunText());
        return false;
    }
    TImgTabColor in, out;
    TabBRGtoTabColor(TestSrcArr, in);
    const bool done = FilterTabColor(f.Kernel, f.Scale, in, out, progress_.get());
    in = TImgTabColor();
    if (!done)
        return false;
    auto record = MakeRecord(TOperationRecord::TKind::Filter, TestSrcArr, ImgTestSource->picture());
    record->Kernel = f.Kernel;
    record->Scale = f.Scale;
    FragmentRecord = std::move(record);
    TImgTabBGR result;
    MoveTabColorToTabBRG(std::move(out), result);
    TestTrgArr = std::move(result);
    ImgTabToImage(TestTrgArr, *ImgTestTarget, progress_.get());
    MagTestTarget->refresh();
    return true;
}

bool TFormDFilter::RunOnImage()
{
    if (!EdFScaleExit())
        return false;
    const TFilterData& f = ws_.WorkingFilter;
    if (f.Scale < 1) {
        messages().warning(ScaleBelowOneRunText());
        return false;
    }
    bool done = false;
    {
        TBusyCursor busy;
        auto record = MakeRecord(TOperationRecord::TKind::Filter, ws_.SrcArr,
                                 ws_.SrcImageRef ? ws_.SrcImageRef->picture() : QImage());
        record->Kernel = f.Kernel;
        record->Scale = f.Scale;
        TImgTabColor in, out;
        TabBRGtoTabColor(ws_.SrcArr, in);
        done = FilterTabColor(f.Kernel, f.Scale, in, out, progress_.get());
        in = TImgTabColor();
        if (done) {
            MoveTabColorToTabBRG(std::move(out), ws_.TrgArr);
            ws_.Records[1] = std::move(record);
            if (ws_.TrgImageRef)
                ImgTabToImage(ws_.TrgArr, *ws_.TrgImageRef, progress_.get());
        }
    }
    // A refused picture keeps the window open with its filter, as a refused scale does.
    if (done)
        close();
    return done;
}

void TFormDFilter::TB1RunDestClick()
{
    // The main window learns of it and shows its target tab.
    if (RunOnImage())
        emit targetWritten();
}

void TFormDFilter::MMHelpClick()
{
    messages().information(FilterHelpText());
}

void TFormDFilter::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        closed();
}

void TFormDFilter::closed()
{
    MinimizePicture(*ImgTestSource);
    MinimizePicture(*ImgTestTarget);
    MagTestSource->refresh();
    MagTestTarget->refresh();
    TestSrcArr = TImgTabBGR();
    TestTrgArr = TImgTabBGR();
    FragmentRecord.reset();
    // The windows that show what this one holds go with it.
    for (QWidget* shown : {static_cast<QWidget*>(WindowExplain), static_cast<QWidget*>(WindowResponse)})
        if (shown)
            shown->hide();
    // Closing abandons a scale left half typed.
    showScale();
}

}  // namespace ormica

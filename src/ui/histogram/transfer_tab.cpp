#include "ui/histogram/transfer_tab.h"

#include "core/engine/img_service.h"
#include "core/engine/load_save_image.h"
#include "core/histogram/histogram.h"
#include "core/histogram/predicted_histogram.h"
#include "core/transfer/fcc_dialog.h"
#include "core/transfer/function_dir.h"
#include "core/transfer/transfer_function.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/plot_export.h"
#include "ui/engine/tool_button.h"
#include "ui/engine/up_down.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/transfer/point_editor.h"
#include "ui/workspace/workspace.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace ormica {

using namespace gistparts;

namespace {

constexpr int kConvSide = 512;
constexpr int kRampSide = 16;
// While a point is dragged the prediction converts about this many pixels at most.
constexpr std::int64_t kSampleBudget = std::int64_t{1} << 20;

// The dialogs the tab is given after the plot menus are made.
class TLateDialogs : public TFileDialogs {
public:
    explicit TLateDialogs(TFileDialogs* const& target) : target_(target) {}
    std::optional<TFileChoice> askOpen(const QString& dir, const QStringList& filters, int index) override
    {
        return target_ ? target_->askOpen(dir, filters, index) : std::nullopt;
    }
    std::optional<TFileChoice> askSave(const QString& dir, const QStringList& filters, int index) override
    {
        return target_ ? target_->askSave(dir, filters, index) : std::nullopt;
    }

private:
    TFileDialogs* const& target_;
};

TPlotTable levelCounts(const TGistogram& counts)
{
    TPlotTable table;
    table.Header = {QStringLiteral("level"), QStringLiteral("count")};
    for (std::size_t i = 0; i < counts.size(); ++i)
        table.Rows.push_back({double(i), double(counts[i])});
    return table;
}

// A page with a folded corner, drawn so that it never looks disabled.
QIcon newPageIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    QPolygon page;
    page << QPoint(2, 0) << QPoint(10, 0) << QPoint(14, 4) << QPoint(14, 15) << QPoint(2, 15);
    painter.drawPolygon(page);
    painter.drawPolyline(QPolygon{QPoint(10, 0), QPoint(10, 4), QPoint(14, 4)});
    return QIcon(pixmap);
}

// Half black, half white: the function and its negative.
QIcon negativeIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    QPolygon half;
    half << QPoint(0, 16) << QPoint(16, 0) << QPoint(16, 16);
    painter.setBrush(Qt::black);
    painter.drawPolygon(half);
    return QIcon(pixmap);
}

QComboBox* makeCombo(const char* name, const QStringList& items, QWidget* parent, QRect geometry)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(items);
    box->setGeometry(geometry);
    return box;
}

QLineEdit* makeEdit(const char* name, const QString& text, QWidget* parent, QRect geometry)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setGeometry(geometry);
    return edit;
}

TUpDown* makeUpDown(const char* name, QWidget* parent, QRect geometry)
{
    auto* upDown = new TUpDown(parent);
    upDown->setObjectName(QLatin1String(name));
    upDown->setGeometry(geometry);
    return upDown;
}

const QStringList kFourCounts{QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32")};

}  // namespace

TTransferTab::TTransferTab(TWorkspace& workspace, TProgress& progress, QWidget* parent)
    : QWidget(parent), ws_(workspace), progress_(progress)
{
    setObjectName(QStringLiteral("TabSheet2"));
    useDesignFont(this);
    createEditorPanel();

    const int right = PanelConv->geometry().right() + 10;
    const int rightW = 850 - right - 8;
    createTransferTools(QPoint(right, 8));
    makeLabel(tr("Кусочно-линейная функция преобразоваия"), this, right, 44);
    MemoRep = new QPlainTextEdit(this);
    MemoRep->setObjectName(QStringLiteral("MemoRep"));
    MemoRep->setReadOnly(true);
    MemoRep->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoRep->setGeometry(right, 60, rightW, 226);
    makeLabel(tr("Генерация таблицы различными функциями"), this, right, 296);
    createGenerators(QRect(right, 314, rightW, 226));

    editor_ = std::make_unique<TPointEditor>(ImageConv);
    editor_->OnChange = [this](TPointEditor&, TEditAction action) { EditorChanged(action); };
    editor_->OnDrag = [this](TPointEditor& editor) { predictTarget(editor.DragPoints(), true); };
    createPrediction();
    ShowFuncReport(tr("Новая функция преобразования"));
    functionDir_ = FunctionDir();
    setStartingValues();
}

// The editor gives its image the mouse handlers back before the image goes.
TTransferTab::~TTransferTab() = default;

// The editor with the output ramp on its left and the input ramp below.
void TTransferTab::createEditorPanel()
{
    PanelConv = makePanel("PanelConv", this, QRect(8, 8, kRampSide + kConvSide + 2, kRampSide + kConvSide + 2));
    const auto fixedImage = [&](const char* name, QPoint at, QSize size) {
        auto* image = new TImageWidget(size, PanelConv);
        image->setObjectName(QLatin1String(name));
        image->setFixedSize(size);
        image->move(at);
        return image;
    };
    ImageLTrg = fixedImage("ImageLTrg", QPoint(1, 1), QSize(kRampSide, kConvSide));
    ImageConv = fixedImage("ImageConv", QPoint(1 + kRampSide, 1), QSize(kConvSide, kConvSide));
    ImageLSrc = fixedImage("ImageLSrc", QPoint(1 + kRampSide, 1 + kConvSide), QSize(kConvSide, kRampSide));
    FillRampV(*ImageLTrg, 'L');
    FillRampH(*ImageLSrc, 'L');
    auto* hint = new QLabel(tr("Добавить точку ( Left - DbClick )   Удалить точку ( Right DbClick )   "
                               "Переместить точку ( Left ) "),
                            this);
    hint->setObjectName(QStringLiteral("LabelEditorHint"));
    hint->setGeometry(8, PanelConv->geometry().bottom() + 4, PanelConv->width() + 300, 16);
}

// The target's Light histogram as the run would make it, in a strip under the
// editor's hint with the same columns as the editor.
void TTransferTab::createPrediction()
{
    const int top = PanelConv->geometry().bottom() + 24;
    const int left = PanelConv->x() + ImageConv->x();
    ImageTrgGist = new TImageWidget(QSize(kConvSide, 40), this);
    ImageTrgGist->setObjectName(QStringLiteral("ImageTrgGist"));
    ImageTrgGist->setFixedSize(kConvSide, 40);
    ImageTrgGist->move(left, top);
    PaintImage(*ImageTrgGist, clBtnFace);
    const int right = PanelConv->geometry().right() + 10;
    makeLabel(tr("Гистограмма яркости ФИНИШНОГО изображения"), this, right, top)
        ->setObjectName(QStringLiteral("LabelTrgGist"));
    LabelTrgGistMode = makeLabel(QString(), this, right, top + 20);
    LabelTrgGistMode->setObjectName(QStringLiteral("LabelTrgGistMode"));
    LabelTrgGistMode->setFixedWidth(850 - right - 8);

    plotDialogs_ = std::make_unique<TLateDialogs>(dialogs_);
    // The editor's own right button deletes points, so the input ramp under
    // it carries the menu of the histogram behind the function.
    ImageLSrc->setToolTip(tr("Правая кнопка: сохранить рисунок или гистограмму ОСНОВНОГО изображения"));
    AttachPlotExport(
        ImageLSrc, plotDialogs_.get(), [this] { return ImageConv->picture().copy(); },
        [this] { return levelCounts(sourceLight_); });
    AttachPlotExport(
        ImageTrgGist, plotDialogs_.get(), [this] { return ImageTrgGist->picture().copy(); },
        [this] { return levelCounts(predicted_); });
}

// The window is modal, so the source can change only while it is closed.
void TTransferTab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (sourceStale_)
        refreshSource();
}

void TTransferTab::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!window()->isVisible())
        sourceStale_ = true;
}

void TTransferTab::refreshSource()
{
    sourceStale_ = false;
    const auto data = std::make_unique<TGistogramData>();
    CalculateAllGistogram(&ws_.SrcArr, nullptr, data.get());
    sourceLight_ = data->GistL;
    editor_->SetBackgroundHistogram(data->Count > 0 ? &sourceLight_ : nullptr);
    predictedFor_.clear();
    predictTarget(editor_->GetPoints(), false);
}

void TTransferTab::predictTarget(const TBrightPointArray& points, bool dragging)
{
    // Hidden, it waits for the show; an unchanged function keeps its counts.
    if (!isVisible() || (!dragging && predictionExact_ && points == predictedFor_))
        return;
    std::int64_t total = 0;
    for (int r = 0; r < ws_.SrcArr.rowCount(); ++r)
        total += ws_.SrcArr.rowLength(r) / 3;
    const int step = dragging ? int(std::max<std::int64_t>(1, (total + kSampleBudget - 1) / kSampleBudget)) : 1;
    std::int64_t counted = 0;
    predicted_ = PredictedLightHistogram(ws_.SrcArr, points, step, counted);
    predictionExact_ = step == 1;
    if (!predictionExact_ && counted > 0)
        for (std::int32_t& c : predicted_)
            c = std::int32_t((std::int64_t{c} * total + counted / 2) / counted);
    predictedFor_ = points;
    drawPrediction();
}

void TTransferTab::drawPrediction()
{
    PaintImage(*ImageTrgGist, clBtnFace);
    const std::int64_t max = *std::max_element(predicted_.begin(), predicted_.end());
    LabelTrgGistMode->setText(max <= 0 ? QString() : predictionExact_ ? tr("точно") : tr("оценка по выборке"));
    if (max > 0) {
        QImage& canvas = ImageTrgGist->canvas();
        const int h = canvas.height();
        QPainter painter(&canvas);
        for (int x = 0; x < canvas.width(); ++x) {
            const std::int64_t count = predicted_[std::size_t(std::clamp(editor_->XToBright(x), 0, 255))];
            const int bar = int((count * h + max / 2) / max);
            if (bar > 0)
                painter.fillRect(QRect(x, h - bar, 1, bar), Qt::black);
        }
    }
    ImageTrgGist->pictureChanged();
}

// The starting values are set quietly: nothing is generated at start.
void TTransferTab::setStartingValues()
{
    UpDownX->setRange(10, 200);
    UpDownX->setPosition(UpDownX->maximum() / 2);
    UpDownX->setIncrement(10);
    FormulaXE = static_cast<long double>(UpDownX->position()) * 2 / UpDownX->maximum() + 0;
    EdXE->setText(FormatGeneral(FormulaXE));
    UpDnLGrate->setIncrement(1);
    UpDnLGrate->setRange(0, 4);
    UpDnLGrate->setPosition(0);
    EdLGrate->setText(QStringLiteral("0"));
    FormulaPointCount = 16;
    cbBoxMaxXNumb->setCurrentIndex(2);

    UpDownX->OnClick = [this] { UpDownXClick(); };
    UpDnLGrate->OnClick = [this] { UpDnLGrateClick(); };
    connect(cbBoxFuncFormula, &QComboBox::activated, this, &TTransferTab::cbBoxFuncFormulaClick);
    connect(cbBoxMaxXNumb, &QComboBox::activated, this, &TTransferTab::cbBoxMaxXNumbClick);
    connect(cbBoxFuncType, &QComboBox::activated, this, &TTransferTab::cbBoxFuncTypeClick);
    connect(cbBoxSectionNumb, &QComboBox::activated, this, &TTransferTab::cbBoxSectionNumbClick);
}

void TTransferTab::createTransferTools(QPoint at)
{
    QStyle* style = this->style();
    TB1New = MakeToolButton("TB1New", tr("Новая"), tr("Новая функция преобразования"), this, newPageIcon());
    TB1Neg = MakeToolButton("TB1Neg", tr("Негатив"), tr("Преобразовать функцию в негативную или позитивную"), this,
                            negativeIcon());
    TB1Save = MakeToolButton("TB1Save", QStringLiteral("M+"), tr("Временно сохранить функцию"), this);
    TB1Load = MakeToolButton("TB1Load", QStringLiteral("MR"), tr("Загрузить временно сохраненную функцию"), this);
    TB1SaveToFile = MakeToolButton("TB1SaveToFile", tr("Сохранить в файл"), QString(), this,
                                   style->standardIcon(QStyle::SP_DialogSaveButton));
    TB1LoadFromFile = MakeToolButton("TB1LoadFromFile", tr("Загрузить из файла"), QString(), this,
                                     style->standardIcon(QStyle::SP_DialogOpenButton));
    TB1Run = MakeToolButton("TB1Run", tr("Применить"),
                            tr("Применить функцию преобразования к исходному изображению с результатом в финишном"),
                            this, style->standardIcon(QStyle::SP_MediaPlay));
    int x = at.x();
    for (QToolButton* b : {TB1New, TB1Neg, TB1Save, TB1Load, TB1SaveToFile, TB1LoadFromFile, TB1Run}) {
        // Groups: making, the memory slot, files, applying.
        if (b == TB1Save || b == TB1SaveToFile || b == TB1Run)
            x += 8;
        b->setFixedSize(30, 28);
        b->move(x, at.y());
        x += b->width() + 2;
    }
    connect(TB1New, &QToolButton::clicked, this, &TTransferTab::TB1NewClick);
    connect(TB1Neg, &QToolButton::clicked, this, &TTransferTab::TB1NegClick);
    connect(TB1Run, &QToolButton::clicked, this, &TTransferTab::TB1RunClick);
    connect(TB1Load, &QToolButton::clicked, this, &TTransferTab::TB1LoadClick);
    connect(TB1LoadFromFile, &QToolButton::clicked, this, &TTransferTab::TB1LoadFromFileClick);
    connect(TB1Save, &QToolButton::clicked, this, &TTransferTab::TB1SaveClick);
    connect(TB1SaveToFile, &QToolButton::clicked, this, &TTransferTab::TB1SaveToFileClick);
}

void TTransferTab::createGenerators(QRect geometry)
{
    PageControlGen = new QTabWidget(this);
    PageControlGen->setObjectName(QStringLiteral("PageControlGen"));
    PageControlGen->setGeometry(geometry);
    auto* smooth = new QWidget;
    auto* special = new QWidget;
    PageControlGen->addTab(smooth, tr("Гладкие"));
    PageControlGen->addTab(special, tr("Специальные"));
    createSmoothPage(smooth, geometry.width() - 20);
    createSpecialPage(special, geometry.width() - 20);
}

void TTransferTab::createSmoothPage(QWidget* page, int width)
{
    makeLabel(tr("Формула порождающей функции"), page, 8, 8);
    cbBoxFuncFormula = makeCombo("cbBoxFuncFormula",
                                 {tr(" Не выбрана"), QStringLiteral(" Y = Ln ( 1 + X )"),
                                  QStringLiteral(" Y = Exp ( X ) - 1"), QStringLiteral(" Y = Sqrt  ( X )"),
                                  QStringLiteral(" Y = X^2"), QStringLiteral(" Y = SIN  ( X *  Pi  /  4 )")},
                                 page, QRect(8, 26, width, 24));
    makeLabel(tr("Диапазон порождающей функции"), page, 8, 62);
    makeLabel(QStringLiteral("XB"), page, 8, 86);
    EdXB = makeEdit("EdXB", QStringLiteral("0"), page, QRect(30, 82, 56, 24));
    EdXB->setEnabled(false);
    makeLabel(QStringLiteral("XE"), page, 104, 86);
    EdXE = makeEdit("EdXE", QString(), page, QRect(126, 82, 56, 24));
    UpDownX = makeUpDown("UpDownX", page, QRect(182, 82, 18, 24));
    makeLabel(tr("Число точек"), page, 8, 124);
    cbBoxMaxXNumb = makeCombo("cbBoxMaxXNumb", kFourCounts, page, QRect(126, 120, 74, 24));
}

void TTransferTab::createSpecialPage(QWidget* page, int width)
{
    makeLabel(tr("Тип специальной порождающей функции"), page, 8, 8);
    cbBoxFuncType = makeCombo("cbBoxFuncType", {tr(" Не выбрана"), tr(" Ступенчатая"), tr(" Решетчатая")}, page,
                              QRect(8, 26, width, 24));
    makeLabel(tr("Параметры участков специальной функции"), page, 8, 62);
    makeLabel(tr("Ширина решотки"), page, 8, 86);
    EdLGrate = makeEdit("EdLGrate", QStringLiteral("0"), page, QRect(126, 82, 56, 24));
    UpDnLGrate = makeUpDown("UpDnLGrate", page, QRect(182, 82, 18, 24));
    makeLabel(tr("Число участков"), page, 8, 124);
    cbBoxSectionNumb = makeCombo("cbBoxSectionNumb", kFourCounts, page, QRect(126, 120, 74, 24));
}

void TTransferTab::showReport(const TBrightPointArray& points)
{
    // In one piece: a line at a time costs a layout each, seconds for a long file.
    if (const QStringList lines = ReportPoints(points); !lines.isEmpty())
        MemoRep->appendPlainText(lines.join(QLatin1Char('\n')));
    // The title and the count stay in view; the list scrolls below them.
    MemoRep->moveCursor(QTextCursor::Start);
    // Every change of the function ends in its report.
    predictTarget(editor_->GetPoints(), false);
}

void TTransferTab::ShowFuncReport(const QString& title)
{
    FuncPoints = editor_->GetPoints();
    MemoRep->clear();
    MemoRep->appendPlainText(title);
    showReport(FuncPoints);
}

void TTransferTab::EditorChanged(TEditAction action)
{
    FuncPoints = editor_->GetPoints();
    MemoRep->clear();
    switch (action) {
    case TEditAction::Added:
        ShowFuncReport(tr("Добавлена новая точка"));
        break;
    case TEditAction::Deleted:
        ShowFuncReport(tr("Одна из точек удалена"));
        break;
    case TEditAction::Moved:
        ShowFuncReport(tr("Выбранная точка сдвинута"));
        break;
    case TEditAction::None:
        break;
    }
}

void TTransferTab::TB1NewClick()
{
    editor_->Reset(false);
    ShowFuncReport(tr("Новая функция преобразования"));
}

void TTransferTab::TB1NegClick()
{
    editor_->InvertY();
    ShowFuncReport(tr("Точки инвертированы по Y"));
}

void TTransferTab::TB1SaveClick()
{
    SavedPoints = editor_->GetPoints();
    ShowFuncReport(tr("Выполнено временное сохранение"));
}

void TTransferTab::TB1LoadClick()
{
    editor_->SetPoints(SavedPoints);
    ShowFuncReport(tr("Загружено временное сохранение"));
}

void TTransferTab::TB1SaveToFileClick()
{
    if (dialogs_)
        SaveFccDialog(*dialogs_, functionDir_, editor_->GetPoints());
}

void TTransferTab::TB1LoadFromFileClick()
{
    if (!dialogs_)
        return;
    TBrightPointArray points;
    TFccReadState state;
    LoadFccDialog(*dialogs_, functionDir_, points, state);
    if (points.empty())
        return;
    editor_->SetPoints(points);
    MemoRep->clear();
    showReport(points);
}

void TTransferTab::TB1RunClick()
{
    {
        TBusyCursor busy;
        FuncPoints = editor_->GetPoints();
        auto record = MakeRecord(TOperationRecord::TKind::Transfer, ws_.SrcArr,
                                 ws_.SrcImageRef ? ws_.SrcImageRef->picture() : QImage());
        record->Points = FuncPoints;
        ConvertImageTab(ws_.SrcArr, ws_.TrgArr, FuncPoints, progress_);
        ws_.Records[1] = std::move(record);
        if (ws_.TrgImageRef)
            ImgTabToImage(ws_.TrgArr, *ws_.TrgImageRef, &progress_);
    }
    // The window shows the target's histograms and closes.
    emit targetWritten();
}

void TTransferTab::GenerateFormulaPoints(int kind)
{
    const std::optional<TBrightPointArray> points = ormica::GenerateFormulaPoints(kind, FormulaPointCount, FormulaXE);
    if (!points)
        return;
    FuncPoints = *points;
    if (FuncPoints.empty())
        return;
    editor_->SetPoints(FuncPoints);
    MemoRep->clear();
    showReport(FuncPoints);
}

void TTransferTab::GenerateSpecialPoints()
{
    const TBrightPointArray points = ormica::GenerateSpecialPoints(
        cbBoxFuncType->currentIndex(), cbBoxSectionNumb->currentIndex(), UpDnLGrate->position());
    if (points.empty())
        return;
    editor_->SetPoints(points);
    MemoRep->clear();
    showReport(points);
}

void TTransferTab::cbBoxFuncFormulaClick()
{
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TTransferTab::UpDownXClick()
{
    FormulaXE = static_cast<long double>(UpDownX->position()) * 2 / UpDownX->maximum() + 0;
    EdXE->setText(FormatGeneral(FormulaXE));
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TTransferTab::cbBoxMaxXNumbClick()
{
    constexpr int kCounts[4] = {4, 8, 16, 32};
    const int item = cbBoxMaxXNumb->currentIndex();
    FormulaPointCount = (item >= 0 && item < 4) ? kCounts[item] : 16;
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TTransferTab::cbBoxFuncTypeClick()
{
    GenerateSpecialPoints();
}

void TTransferTab::UpDnLGrateClick()
{
    EdLGrate->setText(QString::number(UpDnLGrate->position()));
    GenerateSpecialPoints();
}

void TTransferTab::cbBoxSectionNumbClick()
{
    GenerateSpecialPoints();
}

}  // namespace ormica

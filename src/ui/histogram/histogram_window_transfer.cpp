// The transfer-function tab of the histogram window.
#include "core/engine/img_service.h"
#include "core/transfer/fcc_dialog.h"
#include "core/transfer/function_dir.h"
#include "core/transfer/transfer_function.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/progress_bar.h"
#include "ui/engine/tool_button.h"
#include "ui/engine/up_down.h"
#include "ui/histogram/histogram_window.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/transfer/point_editor.h"
#include "ui/workspace/workspace.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

namespace ormica {

using namespace gistparts;

namespace {

constexpr int kConvSide = 512;
constexpr int kRampSide = 16;

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

const QStringList kFourCounts{QStringLiteral("4"), QStringLiteral("8"), QStringLiteral("16"), QStringLiteral("32")};

}  // namespace

void TFormGistogram::createTransferTab()
{
    QFont font = TabSheet2->font();
    font.setPixelSize(11);
    TabSheet2->setFont(font);

    // The editor with the output ramp on its left and the input ramp below.
    PanelConv = makePanel("PanelConv", TabSheet2, QRect(8, 8, kRampSide + kConvSide + 2, kRampSide + kConvSide + 2));
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
    auto* hint = new QLabel(QStringLiteral("Добавить точку ( Left - DbClick )   Удалить точку ( Right DbClick )   "
                                           "Переместить точку ( Left ) "),
                            TabSheet2);
    hint->setObjectName(QStringLiteral("LabelEditorHint"));
    hint->setGeometry(8, PanelConv->geometry().bottom() + 4, PanelConv->width() + 300, 16);

    const int right = PanelConv->geometry().right() + 10;
    const int rightW = 850 - right - 8;
    createTransferTools(TabSheet2, QPoint(right, 8));
    makeLabel(QStringLiteral("Кусочно-линейная функция преобразоваия"), TabSheet2, right, 44);
    MemoRep = new QPlainTextEdit(TabSheet2);
    MemoRep->setObjectName(QStringLiteral("MemoRep"));
    MemoRep->setReadOnly(true);
    MemoRep->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoRep->setGeometry(right, 60, rightW, 226);
    makeLabel(QStringLiteral("Генерация таблицы различными функциями"), TabSheet2, right, 296);
    createGenerators(TabSheet2, QRect(right, 314, rightW, 226));

    editor_ = std::make_unique<TPointEditor>(ImageConv);
    editor_->OnChange = [this](TPointEditor&, TEditAction action) { EditorChanged(action); };
    ShowFuncReport(QStringLiteral("Новая функция преобразования"));
    functionDir_ = FunctionDir();

    // The starting values are set quietly: nothing is generated at start.
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
    connect(cbBoxFuncFormula, &QComboBox::activated, this, &TFormGistogram::cbBoxFuncFormulaClick);
    connect(cbBoxMaxXNumb, &QComboBox::activated, this, &TFormGistogram::cbBoxMaxXNumbClick);
    connect(cbBoxFuncType, &QComboBox::activated, this, &TFormGistogram::cbBoxFuncTypeClick);
    connect(cbBoxSectionNumb, &QComboBox::activated, this, &TFormGistogram::cbBoxSectionNumbClick);
}

void TFormGistogram::createTransferTools(QWidget* parent, QPoint at)
{
    QStyle* style = parent->style();
    TB1New = MakeToolButton("TB1New", QStringLiteral("Новая"), QStringLiteral("Новая функция преобразования"), parent,
                            newPageIcon());
    TB1Neg =
        MakeToolButton("TB1Neg", QStringLiteral("Негатив"),
                       QStringLiteral("Преобразовать функцию в негативную или позитивную"), parent, negativeIcon());
    TB1Save = MakeToolButton("TB1Save", QStringLiteral("M+"), QStringLiteral("Временно сохранить функцию"), parent);
    TB1Load = MakeToolButton("TB1Load", QStringLiteral("MR"), QStringLiteral("Загрузить временно сохраненную функцию"),
                             parent);
    TB1SaveToFile = MakeToolButton("TB1SaveToFile", QStringLiteral("Сохранить в файл"), QString(), parent,
                                   style->standardIcon(QStyle::SP_DialogSaveButton));
    TB1LoadFromFile = MakeToolButton("TB1LoadFromFile", QStringLiteral("Загрузить из файла"), QString(), parent,
                                     style->standardIcon(QStyle::SP_DialogOpenButton));
    TB1Run = MakeToolButton(
        "TB1Run", QStringLiteral("Применить"),
        QStringLiteral("Применить функцию преобразования к исходному изображению с результатом в финишном"), parent,
        style->standardIcon(QStyle::SP_MediaPlay));
    int x = at.x();
    for (QToolButton* b : {TB1New, TB1Neg, TB1Save, TB1Load, TB1SaveToFile, TB1LoadFromFile, TB1Run}) {
        // Groups: making, the memory slot, files, applying.
        if (b == TB1Save || b == TB1SaveToFile || b == TB1Run)
            x += 8;
        b->setFixedSize(30, 28);
        b->move(x, at.y());
        x += b->width() + 2;
    }
    connect(TB1New, &QToolButton::clicked, this, &TFormGistogram::TB1NewClick);
    connect(TB1Neg, &QToolButton::clicked, this, &TFormGistogram::TB1NegClick);
    connect(TB1Run, &QToolButton::clicked, this, &TFormGistogram::TB1RunClick);
    connect(TB1Load, &QToolButton::clicked, this, &TFormGistogram::TB1LoadClick);
    connect(TB1LoadFromFile, &QToolButton::clicked, this, &TFormGistogram::TB1LoadFromFileClick);
    connect(TB1Save, &QToolButton::clicked, this, &TFormGistogram::TB1SaveClick);
    connect(TB1SaveToFile, &QToolButton::clicked, this, &TFormGistogram::TB1SaveToFileClick);
}

void TFormGistogram::createGenerators(QWidget* parent, QRect geometry)
{
    PageControlGen = new QTabWidget(parent);
    PageControlGen->setObjectName(QStringLiteral("PageControlGen"));
    PageControlGen->setGeometry(geometry);
    auto* smooth = new QWidget;
    auto* special = new QWidget;
    PageControlGen->addTab(smooth, QStringLiteral("Гладкие"));
    PageControlGen->addTab(special, QStringLiteral("Специальные"));
    const int w = geometry.width() - 20;

    makeLabel(QStringLiteral("Формула порождающей функции"), smooth, 8, 8);
    cbBoxFuncFormula = makeCombo("cbBoxFuncFormula",
                                 {QStringLiteral(" Не выбрана"), QStringLiteral(" Y = Ln ( 1 + X )"),
                                  QStringLiteral(" Y = Exp ( X ) - 1"), QStringLiteral(" Y = Sqrt  ( X )"),
                                  QStringLiteral(" Y = X^2"), QStringLiteral(" Y = SIN  ( X *  Pi  /  4 )")},
                                 smooth, QRect(8, 26, w, 24));
    makeLabel(QStringLiteral("Диапазон порождающей функции"), smooth, 8, 62);
    makeLabel(QStringLiteral("XB"), smooth, 8, 86);
    EdXB = makeEdit("EdXB", QStringLiteral("0"), smooth, QRect(30, 82, 56, 24));
    EdXB->setEnabled(false);
    makeLabel(QStringLiteral("XE"), smooth, 104, 86);
    EdXE = makeEdit("EdXE", QString(), smooth, QRect(126, 82, 56, 24));
    UpDownX = new TUpDown(smooth);
    UpDownX->setObjectName(QStringLiteral("UpDownX"));
    UpDownX->setGeometry(182, 82, 18, 24);
    makeLabel(QStringLiteral("Число точек"), smooth, 8, 124);
    cbBoxMaxXNumb = makeCombo("cbBoxMaxXNumb", kFourCounts, smooth, QRect(126, 120, 74, 24));

    makeLabel(QStringLiteral("Тип специальной порождающей функции"), special, 8, 8);
    cbBoxFuncType = makeCombo(
        "cbBoxFuncType", {QStringLiteral(" Не выбрана"), QStringLiteral(" Ступенчатая"), QStringLiteral(" Решетчатая")},
        special, QRect(8, 26, w, 24));
    makeLabel(QStringLiteral("Параметры участков специальной функции"), special, 8, 62);
    makeLabel(QStringLiteral("Ширина решотки"), special, 8, 86);
    EdLGrate = makeEdit("EdLGrate", QStringLiteral("0"), special, QRect(126, 82, 56, 24));
    UpDnLGrate = new TUpDown(special);
    UpDnLGrate->setObjectName(QStringLiteral("UpDnLGrate"));
    UpDnLGrate->setGeometry(182, 82, 18, 24);
    makeLabel(QStringLiteral("Число участков"), special, 8, 124);
    cbBoxSectionNumb = makeCombo("cbBoxSectionNumb", kFourCounts, special, QRect(126, 120, 74, 24));
}

void TFormGistogram::showReport(const TBrightPointArray& points)
{
    // In one piece: a line at a time costs a layout each, seconds for a long file.
    if (const QStringList lines = ReportPoints(points); !lines.isEmpty())
        MemoRep->appendPlainText(lines.join(QLatin1Char('\n')));
    // The title and the count stay in view; the list scrolls below them.
    MemoRep->moveCursor(QTextCursor::Start);
}

void TFormGistogram::ShowFuncReport(const QString& title)
{
    FuncPoints = editor_->GetPoints();
    MemoRep->clear();
    MemoRep->appendPlainText(title);
    showReport(FuncPoints);
}

void TFormGistogram::EditorChanged(TEditAction action)
{
    FuncPoints = editor_->GetPoints();
    MemoRep->clear();
    switch (action) {
    case TEditAction::Added:
        ShowFuncReport(QStringLiteral("Добавлена новая точка"));
        break;
    case TEditAction::Deleted:
        ShowFuncReport(QStringLiteral("Одна из точек удалена"));
        break;
    case TEditAction::Moved:
        ShowFuncReport(QStringLiteral("Выбранная точка сдвинута"));
        break;
    case TEditAction::None:
        break;
    }
}

void TFormGistogram::TB1NewClick()
{
    editor_->Reset(false);
    ShowFuncReport(QStringLiteral("Новая функция преобразования"));
}

void TFormGistogram::TB1NegClick()
{
    editor_->InvertY();
    ShowFuncReport(QStringLiteral("Точки инвертированы по Y"));
}

void TFormGistogram::TB1SaveClick()
{
    SavedPoints = editor_->GetPoints();
    ShowFuncReport(QStringLiteral("Выполнено временное сохранение"));
}

void TFormGistogram::TB1LoadClick()
{
    editor_->SetPoints(SavedPoints);
    ShowFuncReport(QStringLiteral("Загружено временное сохранение"));
}

void TFormGistogram::TB1SaveToFileClick()
{
    if (dialogs_)
        SaveFccDialog(*dialogs_, functionDir_, editor_->GetPoints());
}

void TFormGistogram::TB1LoadFromFileClick()
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

void TFormGistogram::TB1RunClick()
{
    {
        TBusyCursor busy;
        FuncPoints = editor_->GetPoints();
        ConvertImageTab(ws_.SrcArr, ws_.TrgArr, FuncPoints, *progress_);
        if (ws_.TrgImageRef)
            ImgTabToImage(ws_.TrgArr, *ws_.TrgImageRef, progress_.get());
    }
    SpButGistTrg->setChecked(true);
    SpButGistTrgClick();
    // The main window learns of it and shows its target tab.
    emit targetWritten();
    close();
}

void TFormGistogram::GenerateFormulaPoints(int kind)
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

void TFormGistogram::GenerateSpecialPoints()
{
    const TBrightPointArray points = ormica::GenerateSpecialPoints(
        cbBoxFuncType->currentIndex(), cbBoxSectionNumb->currentIndex(), UpDnLGrate->position());
    if (points.empty())
        return;
    editor_->SetPoints(points);
    MemoRep->clear();
    showReport(points);
}

void TFormGistogram::cbBoxFuncFormulaClick()
{
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TFormGistogram::UpDownXClick()
{
    FormulaXE = static_cast<long double>(UpDownX->position()) * 2 / UpDownX->maximum() + 0;
    EdXE->setText(FormatGeneral(FormulaXE));
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TFormGistogram::cbBoxMaxXNumbClick()
{
    constexpr int kCounts[4] = {4, 8, 16, 32};
    const int item = cbBoxMaxXNumb->currentIndex();
    FormulaPointCount = (item >= 0 && item < 4) ? kCounts[item] : 16;
    GenerateFormulaPoints(cbBoxFuncFormula->currentIndex());
}

void TFormGistogram::cbBoxFuncTypeClick()
{
    GenerateSpecialPoints();
}

void TFormGistogram::UpDnLGrateClick()
{
    EdLGrate->setText(QString::number(UpDnLGrate->position()));
    GenerateSpecialPoints();
}

void TFormGistogram::cbBoxSectionNumbClick()
{
    GenerateSpecialPoints();
}

}  // namespace ormica

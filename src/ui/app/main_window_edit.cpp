// The main window's image commands: selection, crop, mirror, rotation, zoom.
#include "ui/app/main_window.h"

#include "core/app/auto_fill.h"
#include "core/engine/geometry.h"
#include "core/engine/gray.h"
#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/engine/text_convert.h"
#include "core/scale/image_scale.h"
#include "ui/engine/color_dialog.h"
#include "ui/engine/flow_layout.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/region_selector.h"
#include "ui/workspace/workspace.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

namespace ormica {

namespace {

// One group of the rotation bar: its controls stay together on one row.
QWidget* barGroup(QWidget* bar)
{
    auto* group = new QWidget(bar);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    bar->layout()->addWidget(group);
    return group;
}

QToolButton* toolButton(QWidget* group, const QString& text, const QString& hint)
{
    auto* b = new QToolButton(group);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFixedSize(24, 24);
    group->layout()->addWidget(b);
    return b;
}

QLabel* barLabel(QWidget* group, const QString& text)
{
    auto* l = new QLabel(text, group);
    group->layout()->addWidget(l);
    return l;
}

}  // namespace

void TFormOrmica::createRotatePanel()
{
    QWidget* bar = ToolBarRotate;
    bar->setObjectName(QStringLiteral("ToolBarRotate"));
    // A bar of its own rather than a QToolBar: outside a main-window tool-bar
    // area a tool bar hides what does not fit behind an overflow button that
    // opens nothing. This one wraps instead; one row of 24-pixel buttons makes
    // the 33-pixel strip.
    auto* flow = new TFlowLayout(bar, 6, 2);
    flow->setContentsMargins(3, 4, 3, 5);

    addTurnGroups(bar);
    addAngleGroups(bar);
    addZoomGroup(bar);

    connect(TBRMirrorTD, &QToolButton::clicked, this, &TFormOrmica::TBRMirrorTDClick);
    connect(TBRMirrorLR, &QToolButton::clicked, this, &TFormOrmica::TBRMirrorLRClick);
    connect(TBRRot90Minus, &QToolButton::clicked, this, &TFormOrmica::TBRRot90MinusClick);
    connect(TBRRot90Plus, &QToolButton::clicked, this, &TFormOrmica::TBRRot90PlusClick);
    connect(TBRRunAngle, &QToolButton::clicked, this, &TFormOrmica::TBRRunAngleClick);
    connect(TBRZoomPlus, &QToolButton::clicked, this, &TFormOrmica::TBRZoomPlusClick);
    connect(TrBarZoom, &QSlider::valueChanged, this, &TFormOrmica::TrBarZoomChange);
    connect(TBRZoomForm, &QToolButton::clicked, this, &TFormOrmica::MMScaleClick);
}

// Mirror and quarter turns.
void TFormOrmica::addTurnGroups(QWidget* bar)
{
    QWidget* group = barGroup(bar);
    barLabel(group, tr(" Отразить"));
    TBRMirrorTD = toolButton(group, QStringLiteral("⇅"), tr("Отразить изображение по вертикали"));
    TBRMirrorLR = toolButton(group, QStringLiteral("⇄"), tr("Отразить изображение по горизонтали"));
    barLabel(group, QStringLiteral("|"));

    group = barGroup(bar);
    barLabel(group, tr("  Поверуть"));
    TBRRot90Minus =
        toolButton(group, QStringLiteral("↻"), tr("Повернуть изображение по часовой стрелки на 90 градусов"));
    TBRRot90Plus =
        toolButton(group, QStringLiteral("↺"), tr("Повернуть изображение против часовой стрелки на 90 градусов"));
}

// The angle, the centre it turns about and the colour of the corners it uncovers.
void TFormOrmica::addAngleGroups(QWidget* bar)
{
    QWidget* group = barGroup(bar);
    barLabel(group, tr(" Угол  "));
    EdiAngle = new QLineEdit(QStringLiteral("0"), group);
    EdiAngle->setToolTip(tr("Поле ввода угла поворота в градусах относительно точки вращения с "
                            "кординатами RRow, RCol"));
    EdiAngle->setFixedWidth(52);
    group->layout()->addWidget(EdiAngle);
    TBRRunAngle =
        toolButton(group, QStringLiteral("↷"), tr("Выполнить поворот изображения на указанный в градусах угол"));

    group = barGroup(bar);
    barLabel(group, tr("  Центр  "));
    sttxtRotationCentre = barLabel(group, QStringLiteral(" R, C = 0, 0"));
    sttxtRotationCentre->setToolTip(
        tr("Координаты центра вращения. Устанавливаются кликом мышки на основном изображении."));
    sttxtRotationCentre->setMinimumWidth(128);  // room for " R, C = 65535, 65535"

    group = barGroup(bar);
    barLabel(group, tr("Фон"));
    sttxtTBRotColor = barLabel(group, QString());
    sttxtTBRotColor->setFixedSize(22, 18);
    sttxtTBRotColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sttxtTBRotColor->setAutoFillBackground(true);
    sttxtTBRotColor->setToolTip(tr("Выбор цвета заполнения полей, возникающих при операциях вращения. "));
    sttxtTBRotColor->installEventFilter(this);
    showBoxColor(sttxtTBRotColor, rotColor_);
    barLabel(group, QStringLiteral("|"));
}

void TFormOrmica::addZoomGroup(QWidget* bar)
{
    QWidget* group = barGroup(bar);
    TBRZoomPlus = toolButton(group, QStringLiteral("⤢"), tr("Выполнить быстрое масштабирование, указанное ползунком "));
    TrBarZoom = new QSlider(Qt::Horizontal, group);
    TrBarZoom->setRange(10, 200);
    TrBarZoom->setSingleStep(10);
    TrBarZoom->setPageStep(10);
    TrBarZoom->setTickInterval(10);
    TrBarZoom->setTickPosition(QSlider::TicksBelow);
    TrBarZoom->setValue(100);
    TrBarZoom->setFixedWidth(120);
    TrBarZoom->setToolTip(tr("Регулятор процента быстрого пропорционального масштабирования"));
    group->layout()->addWidget(TrBarZoom);
    sttxtZoomValue = barLabel(group, QStringLiteral("100 %"));
    sttxtZoomValue->setMinimumWidth(44);
    sttxtZoomValue->setToolTip(
        tr("Процент для быстрого масштабирования (если кликнуть на это поле то установится 100%) "));
    sttxtZoomValue->installEventFilter(this);
    TBRZoomForm =
        toolButton(group, QStringLiteral("⚙"), tr("Вызов подсистемы расширенного управления масштабированием"));
}

void TFormOrmica::showBoxColor(QLabel* box, TColor color)
{
    const TBGRTriple c = ColorToBGR(ResolveColor(color));
    QPalette pal = box->palette();
    // The box fills with its background role, which it inherits from its
    // parent (inside a QToolBar the button role), not always the window's.
    pal.setColor(box->backgroundRole(), QColor(c.r, c.g, c.b));
    box->setPalette(pal);
}

// --- selection notifications ------------------------------------------------

void TFormOrmica::selectionStart(TPoint p)
{
    FragRect.StartX = p.x;
    FragRect.StartY = p.y;
    const QImage& picture = ImageMain->picture();
    TColor color = clBlack;
    if (p.x >= 0 && p.y >= 0 && p.x < picture.width() && p.y < picture.height()) {
        const QColor c = picture.pixelColor(p.x, p.y);
        color = RGBToColor(c.red(), c.green(), c.blue());
    }
    showBoxColor(stxtPointColor, color);
    const TBGRTriple bgr = ColorToBGR(color);
    panels_[1]->setText(tr(" Старт XY : (%1, %2)  RGB(%3,%4,%5)").arg(p.x).arg(p.y).arg(bgr.r).arg(bgr.g).arg(bgr.b));
    if (!PanelRotate->isHidden()) {
        RRow = p.y;
        RCol = p.x;
    } else {
        RRow = 0;
        RCol = 0;
    }
    sttxtRotationCentre->setText(QStringLiteral(" R, C = ") + QString::number(RRow) + QStringLiteral(", ") +
                                 QString::number(RCol));
    panels_[3]->clear();
}

void TFormOrmica::selectionMove(TPoint p)
{
    panels_[3]->setText(tr(" Финиш  XY : (%1, %2)").arg(p.x).arg(p.y));
}

void TFormOrmica::selectionEnd(TPoint p)
{
    FragRect.EndX = p.x;
    FragRect.EndY = p.y;
    const TRect n = NormalizeRect({FragRect.StartX, FragRect.StartY}, {FragRect.EndX, FragRect.EndY});
    FragRect = {n.Left, n.Top, n.Right, n.Bottom};
}

// --- commands ----------------------------------------------------------------

void TFormOrmica::showTarget()
{
    ImgTabToImage(ws_.TrgArr, *TargetImage, progress_.get());
    MarkNoName(*TargetImage);
    ShowPage(1);
}

void TFormOrmica::MMPRotateClick()
{
    if (PageControl1->currentIndex() != 0)
        PageControl1->setCurrentIndex(0);
    PanelRotate->setVisible(MMPRotate->isChecked());
}

void TFormOrmica::hideFrame()
{
    if (selector_)
        selector_->ShowFrame(false);
}

void TFormOrmica::MMCopySrcToDestClick()
{
    TStep step(*this, 1);
    ResetIndicators();
    TabBRGtoTabBGR(ws_.SrcArr, ws_.TrgArr);
    showTarget();
}

void TFormOrmica::MMCopyDestToSrcClick()
{
    TStep step(*this, 0);
    ResetIndicators();
    hideFrame();
    TabBRGtoTabBGR(ws_.TrgArr, ws_.SrcArr);
    ImgTabToImage(ws_.SrcArr, *ImageMain, progress_.get());
    MarkNoName(*ImageMain);
    ShowPage(0);
}

void TFormOrmica::clearImage(TImageWidget& image, TImgTabBGR& arr, int page)
{
    ResetIndicators();
    if (&image == ImageMain)
        hideFrame();
    MinimizePicture(image);
    PaintImage(image, clBtnFace);  // the scroll boxes' colour
    arr.clear();
    MarkNoName(image);
    ShowPage(page);
}

void TFormOrmica::MMMinSrcClick()
{
    TStep step(*this, 0);
    clearImage(*ImageMain, ws_.SrcArr, 0);
}

void TFormOrmica::MMMinDestClick()
{
    TStep step(*this, 1);
    clearImage(*TargetImage, ws_.TrgArr, 1);
}

void TFormOrmica::MMToGrayClick()
{
    TStep step(*this, currentImage());
    const bool source = PageControl1->currentIndex() == 0;
    TImageWidget* image = source ? ImageMain : TargetImage;
    if (source)
        hideFrame();
    auto record = std::make_shared<TOperationRecord>();
    record->Kind = TOperationRecord::TKind::Grey;
    record->Source = image->picture();
    BitMapToGrayBitMap(image->picture(), image->canvas());
    image->pictureChanged();
    image->repaintNow();
    ImageToImgTab(*image, source ? ws_.SrcArr : ws_.TrgArr, progress_.get());
    ws_.Records[source ? 0 : 1] = std::move(record);
}

void TFormOrmica::MMCroppingClick()
{
    TStep step(*this, 1);
    if (!FragRect.selected()) {
        panels_[3]->setText(tr(" ВНАЧЛЕ ВЕДЕЛИТЕ МЫШКОЙ СОХРАНЯЕМУЮ ОБРЕЗКОЙ ОБЛАСТЬ"));
        return;
    }
    hideFrame();
    const TRect rect{FragRect.StartX, FragRect.StartY, FragRect.EndX, FragRect.EndY};
    auto record = MakeRecord(TOperationRecord::TKind::Crop, ws_.SrcArr, ImageMain->picture());
    record->Rect = NormalizeRect({rect.Left, rect.Top}, {rect.Right, rect.Bottom});
    SelectedToImgTab(ws_.SrcArr, rect, ws_.TrgArr);
    ImgTabToImage(ws_.TrgArr, *TargetImage, progress_.get());
    ws_.Records[1] = std::move(record);
    FragRect.StartX = FragRect.EndX;
    FragRect.StartY = FragRect.EndY;
    ResetIndicators();
    MarkNoName(*TargetImage);
    ShowPage(1);
}

void TFormOrmica::TBRMirrorTDClick()
{
    TStep step(*this, 1);
    auto record = MakeRecord(TOperationRecord::TKind::MirrorV, ws_.SrcArr, ImageMain->picture());
    MirrorToTrgArr(ws_.SrcArr, 'V', ws_.TrgArr, progress_.get());
    ws_.Records[1] = std::move(record);
    showTarget();
}

void TFormOrmica::TBRMirrorLRClick()
{
    TStep step(*this, 1);
    auto record = MakeRecord(TOperationRecord::TKind::MirrorH, ws_.SrcArr, ImageMain->picture());
    MirrorToTrgArr(ws_.SrcArr, 'H', ws_.TrgArr, progress_.get());
    ws_.Records[1] = std::move(record);
    showTarget();
}

void TFormOrmica::TBRRot90MinusClick()
{
    TStep step(*this, 1);
    ResetIndicators();
    auto record = MakeRecord(TOperationRecord::TKind::Rotate90Minus, ws_.SrcArr, ImageMain->picture());
    Rotate90PlusMinus(ws_.SrcArr, '-', ws_.TrgArr, progress_.get());
    ws_.Records[1] = std::move(record);
    showTarget();
}

void TFormOrmica::TBRRot90PlusClick()
{
    TStep step(*this, 1);
    ResetIndicators();
    auto record = MakeRecord(TOperationRecord::TKind::Rotate90Plus, ws_.SrcArr, ImageMain->picture());
    Rotate90PlusMinus(ws_.SrcArr, '+', ws_.TrgArr, progress_.get());
    ws_.Records[1] = std::move(record);
    showTarget();
}

long double TFormOrmica::ReadAngle()
{
    long double value = 0;
    if (!TextToReal(EdiAngle->text(), value))
        return 0;
    return CheckRotationAngle(value);
}

void TFormOrmica::TBRRunAngleClick()
{
    TStep step(*this, 1);
    const long double angle = ReadAngle();
    if (!(std::fabs(angle) > 0))
        return;
    auto record = MakeRecord(TOperationRecord::TKind::Rotate, ws_.SrcArr, ImageMain->picture());
    record->Degrees = angle;
    record->CentreRow = RRow;
    record->CentreCol = RCol;
    record->Fill = rotColor_;
    RotateForTabBGR(ws_.SrcArr, RRow, RCol, progress_.get(), ws_.TrgArr, rotColor_, angle);
    ws_.Records[1] = std::move(record);
    showTarget();
}

void TFormOrmica::sttxtTBRotColorClick()
{
    if (!colors_)
        return;
    if (const auto chosen = colors_->askColor(rotColor_)) {
        rotColor_ = *chosen;
        showBoxColor(sttxtTBRotColor, rotColor_);
    }
}

void TFormOrmica::TBRZoomPlusClick()
{
    TStep step(*this, currentImage());
    ResetIndicators();
    const bool source = PageControl1->currentIndex() == 0;
    TImageWidget* image = source ? ImageMain : TargetImage;
    TImgTabBGR& arr = source ? ws_.SrcArr : ws_.TrgArr;
    TImageScale scale;
    scale.SetSource(image);
    scale.Target = image;
    scale.SetZoom(TrBarZoom->value() / 100.0);
    hideFrame();
    auto record = std::make_shared<TOperationRecord>();
    record->Kind = TOperationRecord::TKind::Scale;
    record->Source = image->picture();
    const qint64 before = image->picture().cacheKey();
    scale.Execute();
    if (image->picture().cacheKey() != before)
        ws_.Records[source ? 0 : 1] = std::move(record);
    AutoFillImgTab(*image, arr, progress_.get());
}

void TFormOrmica::TrBarZoomChange()
{
    sttxtZoomValue->setText(QString::number(TrBarZoom->value()) + QStringLiteral(" %"));
}

void TFormOrmica::sttxtZoomValueClick()
{
    TrBarZoom->setValue(100);
}

}  // namespace ormica

#include "ui/histogram/fragment_tab.h"

#include "core/engine/img_service.h"
#include "core/engine/message_sink.h"
#include "core/transfer/graph_label.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/magnifier.h"
#include "ui/engine/plot_export.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/transfer/graph_xy.h"
#include "ui/workspace/workspace.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace ormica {

using namespace gistparts;

namespace {

const QColor kPlotColour(0, 255, 0);  // $00FF00

QString noRatio()
{
    return QStringLiteral(" ------- ");
}

QToolButton* makeRunButton(const char* name, QWidget* parent, QRect geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QApplication::style()->standardIcon(QStyle::SP_MediaPlay));
    button->setGeometry(geometry);
    return button;
}

// A caption too long for the top line beside its neighbour takes two lines
// there; only a font too large even for that elides it and keeps it whole
// in the hint.
void fitCaption(TGraphXY* g, const QWidget* rightNeighbour)
{
    QLabel* label = g->CaptionLabel;
    if (!label || !g->Bevel)
        return;
    const int room = rightNeighbour->x() - kGap - label->x();
    if (label->width() <= room)
        return;
    // Between the panel's frame and the frame of the plot.
    const int top = 2;
    const int band = g->Bevel->y() - top;
    label->setWordWrap(true);
    const int height = label->heightForWidth(room);
    if (height > 0 && height <= band) {
        label->setGeometry(label->x(), top + (band - height) / 2, room, height);
        return;
    }
    label->setWordWrap(false);
    label->setText(label->fontMetrics().elidedText(g->CaptionText, Qt::ElideRight, room));
    label->setToolTip(g->CaptionText);
    label->resize(room, label->height());
}

}  // namespace

TFragmentTab::TFragmentTab(TWorkspace& workspace, TImgTabColor& fragment, QWidget* parent)
    : QWidget(parent), ws_(workspace), FragArr(fragment)
{
    setObjectName(QStringLiteral("TabSheet3"));
    createPanels();
    useDesignFont(this);
    createStatsPanel2();
    createFragmentPages();
    createStatsPlots();
    createCrossHair();
    StTextChoiceStat->setText(tr("Кликните на изображении"));
    paintChoiceLamp(clYellow);
    AcExtract.RowCol = 'R';
    AcExtract.Channel = 'L';
    ResetFragmentStatistics();
    showFragmentSize();
}

// The selector gives the fragment image its mouse handlers back first.
TFragmentTab::~TFragmentTab()
{
    crossHair_.reset();
    graphSrc_.reset();
    graphAc_.reset();
    graphFun_.reset();
}

void TFragmentTab::createPanels()
{
    PanelAcImg = makePanel("PanelAcImg", this, QRect(8, 8, 289, 169));
    ImgAcFrg = new TImageWidget(QSize(287, 167), PanelAcImg);
    ImgAcFrg->setObjectName(QStringLiteral("ImgAcFrg"));
    ImgAcFrg->setFixedSize(287, 167);
    ImgAcFrg->move(1, 1);
    ImgAcFrg->hide();
    // In the image's place: at first unmagnified, the cross and its clicks as they were.
    MagAcFrg = new TMagnifier(PanelAcImg);
    MagAcFrg->setObjectName(QStringLiteral("MagAcFrg"));
    MagAcFrg->setFrameShape(QFrame::NoFrame);
    MagAcFrg->setGeometry(ImgAcFrg->geometry());
    Panel2 = makePanel("Panel2", this, QRect(304, 8, 513, 169));
    PageControlAc = new QTabWidget(this);
    PageControlAc->setObjectName(QStringLiteral("PageControlAc"));
    PageControlAc->setGeometry(5, 179, 398, 198);
    PanelSrcFun1 = makePanel("PanelSrcFun1", this, QRect(408, 184, 409, 193));
    PanelAcFunc = makePanel("PanelAcFunc", this, QRect(8, 384, 809, 185));
    crossHair_ = std::make_unique<TCrossHairSelector>(ImgAcFrg);
    MagAcFrg->standInFor(ImgAcFrg);
}

void TFragmentTab::createCrossHair()
{
    crossHair_->OnMove = [this](TCrossHairSelector&, int row, int column) {
        StTextSelRow->setText(QString::number(row));
        StTextSelCol->setText(QString::number(column));
    };
    crossHair_->OnSelect = [this](TCrossHairSelector&, int row, int column) {
        StTextChoiceStat->setText(tr("Координаты выбраны"));
        paintChoiceLamp(clLime);
        StTextSelRow->setText(QString::number(row));
        StTextSelCol->setText(QString::number(column));
        AcExtract.SelRow = row;
        AcExtract.SelCol = column;
    };
    crossHair_->OnRelease = [this](TCrossHairSelector&) {
        StTextChoiceStat->setText(tr("Идет выбор координат"));
        paintChoiceLamp(clYellow);
        ClearAcResults();
    };
}

void TFragmentTab::createStatsPanel2()
{
    QWidget* p = Panel2;
    // The sample's channel and direction, and the two runs, right of the group.
    const int x0 = rightOf(createChoiceFields(p)) + 10;
    createSampleButtons(p, x0);
    createRunControls(p, x0);

    // The panel widens only as far as its fields need.
    int needW = p->width();
    for (const QWidget* w : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        needW = std::max(needW, rightOf(w) + 8);
    p->resize(needW, p->height());
}

QGroupBox* TFragmentTab::createChoiceFields(QWidget* p)
{
    const QFontMetrics fm(p->font());
    makeLabel(tr("Выборка на изображении"), p, 8, 6);
    StTextChoiceLamp = makeReadOut("StTextChoiceLamp", QString(), p, QRect(8, 24, 16, kFieldH));
    int statW = 0;
    for (const QString& t : {tr("Кликните на изображении"), tr("Идет выбор координат"), tr("Координаты выбраны")})
        statW = std::max(statW, readOutWidth(fm, t));
    StTextChoiceStat = makeReadOut("StTextChoiceStat", QString(), p, QRect(28, 24, statW, kFieldH));
    const int coordW = readOutWidth(fm, QStringLiteral("-99999"));
    StTextSelRow = labelledReadOut(tr("Строка"), p, 8, 50, "StTextSelRow", 60, coordW);
    StTextSelCol = labelledReadOut(tr("Столбец"), p, rightOf(StTextSelRow) + 10, 50, "StTextSelCol", 0, coordW);

    auto* frag = new QGroupBox(tr("  Фрагмент изображения  "), p);
    frag->setObjectName(QStringLiteral("GroupAcImage"));
    const int sizeW = readOutWidth(fm, QStringLiteral("99999"));
    StTextAcIW = labelledReadOut(tr("Ширина"), frag, 8, 20, "StTextAcIW", 0, sizeW);
    StTextAcIH = labelledReadOut(tr("Высота"), frag, rightOf(StTextAcIW) + 10, 20, "StTextAcIH", 0, sizeW);
    StTextAcINumPnt = labelledReadOut(tr("Число точек"), frag, 8, 44, "StTextAcINumPnt", 0,
                                      readOutWidth(fm, QStringLiteral("9999999999")));
    // As wide as the column above it, or as its own fields need.
    const int groupW = std::max({rightOf(StTextChoiceStat) - 8, rightOf(StTextSelCol) - 8, rightOf(StTextAcIH) + 8,
                                 rightOf(StTextAcINumPnt) + 8});
    frag->setGeometry(8, 76, groupW, 70);
    return frag;
}

void TFragmentTab::createSampleButtons(QWidget* p, int x0)
{
    const QFontMetrics fm(p->font());
    QLabel* channel = makeLabel(tr("Канал"), p, x0, 26);
    struct TButtonDesc {
        const char* name;
        const char* text;
        QString hint;
    };
    // Tags 1 to 4 are the channels R, G, B, L.
    const TButtonDesc channels[4] = {
        {"SpButtChoiceR", "R", tr("Выбрать канал RED")},
        {"SpButtChoiceG", "G", tr("Выбрать канал GREEN")},
        {"SpButtChoiceB", "B", tr("Выбрать канал BLUE")},
        {"SpButtChoiceL", "L", tr("Выбрать канал LIGHT")},
    };
    acChannelButtons_ = new QButtonGroup(this);
    int x = rightOf(channel) + kGap;
    for (int tag = 1; tag <= 4; ++tag) {
        const TButtonDesc& d = channels[tag - 1];
        QToolButton* b = makeButton(d.name, QLatin1String(d.text), d.hint, p, QRect(x, 22, 22, 22));
        acChannelButtons_->addButton(b, tag);
        connect(b, &QToolButton::clicked, this, &TFragmentTab::SpButtChoiceChannelClick);
        x += 23;
    }
    acChannelButtons_->button(4)->setChecked(true);

    QLabel* channelTitle = makeLabel(tr("Выборка по каналу цвета"), p, x0, 6);
    QLabel* rowColTitle = makeLabel(tr("Вборка по столб./строка"), p, 0, 6);
    QLabel* rowCol = makeLabel(QStringLiteral("Col / Row"), p, 0, 26);
    const int bw = fm.horizontalAdvance(QStringLiteral("Row")) + 12;
    // The column ends at the panel's right margin, whether its title or its
    // buttons are the wider (a translated title may be the narrower).
    const int rowColW = std::max(rowColTitle->width(), rowCol->width() + kGap + 2 * bw + 1);
    const int x1 = std::max({x + 14, rightOf(channelTitle) + 12, p->width() - 8 - rowColW});
    rowColTitle->move(x1, 6);
    rowCol->move(x1, 26);
    SpButtAcCol = makeButton("SpButtAcCol", QStringLiteral("Col"), tr("Для автокорреляции выбрать СТОЛБЕЦ"), p,
                             QRect(rightOf(rowCol) + kGap, 22, bw, 22));
    SpButtAcRow = makeButton("SpButtAcRow", QStringLiteral("Row"), tr("Для автокорреляции выбрать СТРОКУ"), p,
                             QRect(rightOf(SpButtAcCol) + 1, 22, bw, 22));
    acRowColButtons_ = new QButtonGroup(this);
    acRowColButtons_->addButton(SpButtAcRow, 1);
    acRowColButtons_->addButton(SpButtAcCol, 2);
    SpButtAcRow->setChecked(true);
    for (QToolButton* b : {SpButtAcRow, SpButtAcCol})
        connect(b, &QToolButton::clicked, this, &TFragmentTab::SpButtAcRowColClick);
}

void TFragmentTab::createRunControls(QWidget* p, int x0)
{
    // Mean and variance of byte values are never negative, and never so
    // small that the exponent needs three digits.
    const QFontMetrics fm(p->font());
    const QString sep = QLocale().decimalPoint();
    const int statValueW =
        std::max(readOutWidth(fm, QStringLiteral("8") + sep + QStringLiteral("88888888888888E-88")),
                 readOutWidth(fm, QStringLiteral("0") + sep + QStringLiteral("0000888888888888888")));
    SpButtRunAcMD = makeRunButton("SpButtRunAcMD", p, QRect(x0, 54, 28, 44));
    const int statX = rightOf(SpButtRunAcMD) + 6;
    QLabel* meLabel = makeLabel(tr("Мат. ожидание"), p, statX, 54 + 2);
    QLabel* deLabel = makeLabel(tr("Дисперсия"), p, statX, 78 + 2);
    const int valueX = std::max(rightOf(meLabel), rightOf(deLabel)) + kGap;
    StTextME = makeReadOut("StTextME", QString(), p, QRect(valueX, 54, statValueW, kFieldH));
    StTextDE = makeReadOut("StTextDE", QString(), p, QRect(valueX, 78, statValueW, kFieldH));
    connect(SpButtRunAcMD, &QToolButton::clicked, this, &TFragmentTab::SpButtRunAcMDClick);

    makeLabel(tr("Тип статистической операции"), p, x0, 106);
    CmbBoxAcCnvl = new QComboBox(p);
    CmbBoxAcCnvl->setObjectName(QStringLiteral("CmbBoxAcCnvl"));
    CmbBoxAcCnvl->addItems({tr(" Автокорреляция"), tr(" Свертка с Func ( X )")});
    CmbBoxAcCnvl->setGeometry(x0, 124, std::max(170, CmbBoxAcCnvl->sizeHint().width()), 22);
    SpButtRunAcCnvl = makeRunButton("SpButtRunAcCnvl", p, QRect(rightOf(CmbBoxAcCnvl) + 6, 122, 28, 26));
    connect(SpButtRunAcCnvl, &QToolButton::clicked, this, &TFragmentTab::SpButtRunAcCnvlClick);
}

void TFragmentTab::createFragmentPages()
{
    const QFontMetrics fm(font());
    const QString sep = QLocale().decimalPoint();
    const int statW = readOutWidth(fm, QStringLiteral("0") + sep + QStringLiteral("0000888888888888888"));

    // Both sub-tab titles fit the design width with a narrower padding.
    PageControlAc->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 5px; }"));
    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheetFrag"));
    PageControlAc->addTab(page1, tr(" Статистика по фрагменту изображения"));
    auto* page2 = new QWidget;
    page2->setObjectName(QStringLiteral("TabSheetFun3"));
    PageControlAc->addTab(page2, tr("  Функции для свертки"));

    auto* whole = new QGroupBox(tr(" Фрагмент изображения  "), page1);
    whole->setObjectName(QStringLiteral("GroupFragWhole"));
    QLabel* meLabel = makeLabel(tr("Мат. ожидание"), whole, 8, 20 + 2);
    QLabel* deLabel = makeLabel(tr("Дисперсия"), whole, 8, 44 + 2);
    const int valueX = std::max(rightOf(meLabel), rightOf(deLabel)) + kGap;
    StTextFragME = makeReadOut("StTextFragME", QString(), whole, QRect(valueX, 20, statW, kFieldH));
    StTextFragDE = makeReadOut("StTextFragDE", QString(), whole, QRect(valueX, 44, statW, kFieldH));
    QLabel* channel = makeLabel(tr("Канал"), whole, rightOf(StTextFragME) + 12, 22);
    StTextFragChanel = makeReadOut("StTextFragChanel", QString(), whole, QRect(rightOf(channel) + kGap, 20, 16, 18));
    StTextFragChanel->setAutoFillBackground(true);
    makeLabel(QStringLiteral("( White )"), whole, rightOf(StTextFragChanel) + kGap, 22);
    whole->setGeometry(4, 4, 382, 70);

    auto* special = new QGroupBox(tr("  Специальные статистические оценки  "), page1);
    special->setObjectName(QStringLiteral("GroupFragSpecial"));
    // Fifteen significant digits after "0." are the longest a share can need.
    const int ratioW = std::max(readOutWidth(fm, QStringLiteral("0") + sep + QStringLiteral("0000888888888888888 %")),
                                readOutWidth(fm, QStringLiteral("8") + sep + QStringLiteral("88888888888888E-88 %")));
    const int textW = 374 - 8 - ratioW - 2 * kGap;
    const auto ratioRow = [&](const QString& text, int y, const char* name) {
        auto* label = new QLabel(text, special);
        label->setWordWrap(true);
        label->setGeometry(8, y, textW, label->heightForWidth(textW));
        return makeReadOut(name, noRatio(), special,
                           QRect(8 + textW + kGap, y + (label->height() - kFieldH) / 2, ratioW, kFieldH));
    };
    StTextFragDivSrc = ratioRow(tr("Отношение числа всех точек фрагмента к изображению"), 20, "StTextFragDivSrc");
    StTextLightLevel = ratioRow(tr("Отношение уровня яркости  фрагмента к изображению"), 56, "StTextLightLevel");
    StTextLightLevel->setToolTip(
        tr("Средняя яркость Light фрагмента в процентах от средней яркости Light всего изображения"));
    special->setGeometry(4, 78, 382, 92);

    PanelFun3 = makePanel("PanelFun3", page2, QRect(0, 0, 389, 169));
}

void TFragmentTab::createStatsPlots()
{
    graphSrc_ = std::make_unique<TGraphXY>(PanelSrcFun1);
    graphAc_ = std::make_unique<TGraphXY>(PanelAcFunc);
    graphFun_ = std::make_unique<TGraphXY>(PanelFun3);
    graphSrc_->SetCaption(tr("График центрированной мат. ожиданием выборки"));
    graphAc_->SetCaption(tr("График функции автокорреляции или свертки"));
    graphFun_->SetCaption(tr("Функция для свертки"));
    for (TGraphXY* g : {graphSrc_.get(), graphAc_.get(), graphFun_.get()})
        g->SetFormatX(QStringLiteral("%3.0f"));
    createPlotReadOuts();
    fitCaption(graphSrc_.get(), StTextFun1);
    fitCaption(graphAc_.get(), StTextFun2);
    fitCaption(graphFun_.get(), CmbBoxFun3);

    graphSrc_->OnImgMouseMove = [this](QObject*, TShiftState, int x, int) {
        pointReadOut(graphSrc_.get(), AcExtract.GraphCentred, StTextFun1, QStringLiteral("%8.4f"), x);
    };
    graphAc_->OnImgMouseMove = [this](QObject*, TShiftState, int x, int) {
        pointReadOut(graphAc_.get(), AcExtract.GraphAc, StTextFun2, QStringLiteral("%8.4f"), x);
    };
    graphFun_->OnImgMouseMove = [this](QObject*, TShiftState, int x, int) {
        pointReadOut(graphFun_.get(), AcExtract.GraphFunc, StTextFun3, QStringLiteral("%5.4f"), x);
    };
}

void TFragmentTab::setFileDialogs(TFileDialogs* dialogs)
{
    for (TGraphXY* g : {graphSrc_.get(), graphAc_.get(), graphFun_.get()}) {
        QWidget* panel = g->Panel;
        AttachPlotExport(
            panel, dialogs, [panel] { return panel->grab().toImage(); },
            [g] {
                TPlotTable table{{QStringLiteral("X"), QStringLiteral("Y")}, {}};
                // A reset plot keeps its last array but shows no curve.
                if (g->Scale.ScalesPositive())
                    for (const TGraphPoint& p : g->Func)
                        table.Rows.push_back({double(p.X), double(p.Y)});
                return table;
            });
    }
}

void TFragmentTab::createPlotReadOuts()
{
    const QFontMetrics fm(font());
    const QString sep = QLocale().decimalPoint();
    // Each read-out sits in the top right corner of its panel and shows its
    // widest text whole.
    const auto corner = [&](const char* name, QFrame* panel, const QString& widest) {
        const int width = readOutWidth(fm, widest);
        return makeReadOut(name, QString(), panel, QRect(panel->width() - 6 - width, 6, width, kFieldH));
    };
    StTextFun1 =
        corner("StTextFun1", PanelSrcFun1, QStringLiteral(" Func ( 287 ) = -255") + sep + QStringLiteral("0000"));
    StTextFun2 =
        corner("StTextFun2", PanelAcFunc, QStringLiteral(" Func ( -288 ) = -9999999") + sep + QStringLiteral("0000"));
    StTextFun3 = corner("StTextFun3", PanelFun3, QStringLiteral(" Func ( 287 ) = 1") + sep + QStringLiteral("0000"));

    CmbBoxFun3 = new QComboBox(PanelFun3);
    CmbBoxFun3->setObjectName(QStringLiteral("CmbBoxFun3"));
    CmbBoxFun3->addItems({QStringLiteral(" Func ( X ) = 1"), QStringLiteral(" Func ( X ) = X"),
                          QStringLiteral(" Func ( X ) = 1 - X"), QStringLiteral(" Func ( X ) = Rect")});
    const int comboW = CmbBoxFun3->sizeHint().width();
    CmbBoxFun3->setGeometry(StTextFun3->x() - kGap - comboW, 5, comboW, 22);
    connect(CmbBoxFun3, &QComboBox::activated, this, &TFragmentTab::CmbBoxFun3Click);
}

void TFragmentTab::pointReadOut(TGraphXY* graph, const TGraphArr& points, QLabel* readOut, const QString& formatY,
                                int x)
{
    if (points.empty())
        return;
    const int index = graph->PixelToIndex(x, &points);
    if (index < 0)
        return;
    const TGraphPoint& p = points[std::size_t(index)];
    readOut->setText(QStringLiteral(" Func ( ") + FormatGraphLabel(QStringLiteral("%3.0f"), p.X) +
                     QStringLiteral(" ) = ") + FormatGraphLabel(formatY, p.Y));
}

void TFragmentTab::paintChoiceLamp(TColor color)
{
    choiceLampColor_ = color;
    paintLabel(StTextChoiceLamp, color);
}

void TFragmentTab::paintFragLamp(TColor color)
{
    fragLampColor_ = color;
    paintLabel(StTextFragChanel, color);
}

void TFragmentTab::PrepareShowing()
{
    CmbBoxAcCnvl->setCurrentIndex(0);
    CmbBoxFun3->setCurrentIndex(0);
    showFragmentSize();
}

void TFragmentTab::showFragmentSize()
{
    if (FragArr.empty()) {
        for (QLabel* l : {StTextAcIW, StTextAcIH, StTextAcINumPnt})
            l->setText(QStringLiteral("0"));
        ResetFragmentStatistics();
        return;
    }
    const qint64 w = FragArr.rowLength(0);
    const qint64 h = FragArr.rowCount();
    StTextAcIW->setText(QString::number(w));
    StTextAcIH->setText(QString::number(h));
    StTextAcINumPnt->setText(QString::number(w * h));
}

void TFragmentTab::SpButtChoiceChannelClick()
{
    // Tags 1 to 4; any other is Light.
    const int tag = acChannelButtons_->checkedId();
    AcExtract.Channel = tag >= 1 && tag <= 4 ? "RGBL"[tag - 1] : 'L';
    ClearAcResults();
}

void TFragmentTab::SpButtAcRowColClick()
{
    AcExtract.RowCol = acRowColButtons_->checkedId() == 2 ? 'C' : 'R';
    ClearAcResults();
}

void TFragmentTab::SpButtRunAcMDClick()
{
    if (FragArr.empty()) {
        messages().warning(tr("Фрагмент изображения не загружен"));
        return;
    }
    if (!ExtractSample(FragArr, crossHair_->Selected, AcExtract.RowCol, AcExtract)) {
        ClearAcResults();
        return;
    }
    SampleStatistics(AcExtract, AcExtract.Channel);
    graphSrc_->SetFormatX(QStringLiteral("%3.0f"));
    graphSrc_->SetFormatY(QStringLiteral("%4.1f"));
    graphSrc_->Reset();
    graphSrc_->DrawFunction(&AcExtract.GraphCentred, kPlotColour);
    StTextME->setText(FormatGeneral(AcExtract.Mean));
    StTextDE->setText(FormatGeneral(AcExtract.Variance));
    drawConvFunc();
}

void TFragmentTab::drawConvFunc()
{
    const bool built = BuildConvFunc(AcExtract, CmbBoxFun3->currentIndex());
    graphFun_->Reset();
    if (built)
        graphFun_->DrawFunction(&AcExtract.GraphFunc, kPlotColour);
}

void TFragmentTab::CmbBoxFun3Click()
{
    drawConvFunc();
}

void TFragmentTab::SpButtRunAcCnvlClick()
{
    const char mode = CmbBoxAcCnvl->currentIndex() == 1 ? 'C' : 'A';
    if (!CorrelateSample(AcExtract, mode))
        return;
    graphAc_->Reset();
    graphAc_->DrawFunction(&AcExtract.GraphAc, kPlotColour);
}

void TFragmentTab::ClearAcResults()
{
    for (QLabel* l : {StTextME, StTextDE, StTextFun1, StTextFun2})
        l->clear();
    graphSrc_->Reset();
    graphAc_->Reset();
}

void TFragmentTab::ResetAcState()
{
    crossHair_->Deactivate();
    crossHair_->Clear();
    crossHair_->Activate();
    MagAcFrg->refresh();
    FragArr.clear();
    ClearAcResults();
    StTextChoiceStat->setText(tr("Кликните на изображении"));
    paintChoiceLamp(clYellow);
    AcExtract.StatReady = false;
    AcExtract.SelRow = -1;
    AcExtract.SelCol = -1;
    FreeAcArrays(AcExtract);
    graphFun_->Reset();
    StTextFun3->clear();
}

TRect TFragmentTab::TakeFragment(const QImage& picture, TRect rect)
{
    // No more than the fragment image can show.
    if (rect.Bottom - rect.Top + 1 > crossHair_->MaxH)
        rect.Bottom = rect.Top + crossHair_->MaxH - 1;
    if (rect.Right - rect.Left + 1 > crossHair_->MaxW)
        rect.Right = rect.Left + crossHair_->MaxW - 1;
    AreaBitMapToImgTabColor(picture, rect, FragArr);
    if (!FragArr.empty())
        ShowFragment();
    return rect;
}

void TFragmentTab::ShowFragment()
{
    // The cross inverts what is under it: off before drawing, on after.
    crossHair_->Deactivate();
    crossHair_->Clear();
    SelectedToImgTabColor(FragArr, TPoint{0, 0}, ImgAcFrg->canvas());
    ImgAcFrg->pictureChanged();
    crossHair_->Activate();
    MagAcFrg->refresh();
    MagAcFrg->repaint();
}

void TFragmentTab::ResetFragmentStatistics()
{
    StTextFragME->setText(QStringLiteral("0"));
    StTextFragDE->setText(QStringLiteral("0"));
    paintFragLamp(ResolveColor(clBtnFace));
    StTextFragDivSrc->setText(noRatio());
    StTextLightLevel->setText(noRatio());
}

void TFragmentTab::ShowFragmentStatistics(const TGistogramData& histograms)
{
    ResetFragmentStatistics();
    if (ws_.SrcArr.empty() || FragArr.empty())
        return;
    paintFragLamp(clWhite);
    const long double m = FragmentMean(FragArr, 'L');
    const long double d = FragmentVariance(FragArr, 'L', m);
    StTextFragME->setText(FormatGeneral(m));
    StTextFragDE->setText(FormatGeneral(d));
    const TGistogramData& g = histograms;
    if (g.ImageTag != 'M' || g.Count == 0)
        return;
    const long double points = static_cast<long double>(FragArr.rowLength(0)) * FragArr.rowCount();
    StTextFragDivSrc->setText(FormatGeneral(points / g.Count * 100) + QStringLiteral(" %"));
    // The fragment's mean Light against the picture's; a black picture has no such ratio.
    if (g.MeanL > 0)
        StTextLightLevel->setText(FormatGeneral(m / g.MeanL * 100) + QStringLiteral(" %"));
}

}  // namespace ormica

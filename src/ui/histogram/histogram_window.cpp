#include "ui/histogram/histogram_window.h"

#include "core/engine/img_service.h"
#include "core/transfer/graph_label.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/progress_bar.h"
#include "ui/engine/qt_color.h"
#include "ui/engine/up_down.h"
#include "ui/histogram/cross_hair_selector.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/transfer/graph_xy.h"
#include "ui/transfer/point_editor.h"
#include "ui/workspace/workspace.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ormica {

using namespace gistparts;

QString FormatGeneral(long double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // 15 significant digits, rounded once, and the decimal exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", value);
    const QString text = QString::fromLatin1(buf);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    QString digits = text.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0)).remove(QLatin1Char('.'));
    const int exponent = text.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const QString sep = QLocale().decimalPoint();

    QString out;
    if (exponent < -5 || exponent >= 15) {
        out = digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        out = QLatin1Char('0') + sep + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else {
        const int intDigits = exponent + 1;
        if (digits.size() <= intDigits) {
            out = digits + QString(intDigits - digits.size(), QLatin1Char('0'));
        } else {
            out = digits.left(intDigits) + sep + digits.mid(intDigits);
        }
    }
    return negative ? QLatin1Char('-') + out : out;
}

namespace {

constexpr int kGistW = 256;
constexpr int kGistH = 240;
constexpr int kStripH = 10;
constexpr const char* kChannelNames[4] = {"Канал RED (Красный)", "Канал GREEN (Зеленый)", "Канал BLUE (Голубой)",
                                          "Канал LIGHT (Яркость)"};

}  // namespace

namespace gistparts {

QLabel* makeLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// The text of a sunken read-out starts this far inside its frame.
constexpr int kReadOutIndent = 2;

// The width a sunken read-out needs to show `text` whole.
int readOutWidth(const QFontMetrics& fm, const QString& text)
{
    return fm.horizontalAdvance(text) + 2 * (1 + kReadOutIndent);
}

// A sunken read-out.
QLabel* makeReadOut(const char* name, const QString& text, QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(kReadOutIndent);
    label->setGeometry(geometry);
    return label;
}

QFrame* makePanel(const char* name, QWidget* parent, QRect geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

QToolButton* makeButton(const char* name, const QString& text, const QString& hint, QWidget* parent, QRect geometry)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setGeometry(geometry);
    return button;
}

namespace {

// The level of every pixel of a ramp: v in the channel named by the letter
// (B, G or R) and 0 in the others, or v in all three for L.
void putLevel(uchar* px, char channel, uchar v)
{
    px[0] = (channel == 'B' || channel == 'L') ? v : 0;  // blue, green, red
    px[1] = (channel == 'G' || channel == 'L') ? v : 0;
    px[2] = (channel == 'R' || channel == 'L') ? v : 0;
}

}  // namespace

void FillRampH(TImageControl& image, char channel)
{
    QImage picture(image.width(), image.height(), QImage::Format_BGR888);
    if (picture.isNull())
        return;
    const double factor = 256.0 / picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            putLevel(line + 3 * x, channel, static_cast<uchar>(static_cast<int>(x * factor)));
    }
    image.setPicture(picture);
}

void FillRampV(TImageControl& image, char channel)
{
    QImage picture(image.width(), image.height(), QImage::Format_BGR888);
    if (picture.isNull())
        return;
    const double factor = 256.0 / picture.height();
    for (int y = 0; y < picture.height(); ++y) {
        const auto v = static_cast<uchar>(255 - static_cast<int>(y * factor));
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            putLevel(line + 3 * x, channel, v);
    }
    image.setPicture(picture);
}

}  // namespace gistparts

TFormGistogram::TFormGistogram(TWorkspace& workspace, QWidget* parent) : QDialog(parent), ws_(workspace)
{
    setObjectName(QStringLiteral("FormGistogram"));
    setWindowTitle(QStringLiteral("  Гистограммы"));
    setModal(true);
    resize(856, 658);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Гистограммы"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Функции преобразования"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Дополнительная статистика"));
    layout->addWidget(PageControl1, 1);
    ProgressBar1 = MakeProgressBar(this);
    layout->addWidget(ProgressBar1);
    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);

    FormCreate();
}

TFormGistogram::~TFormGistogram()
{
    // The editor and the selector give their images the mouse handlers back first.
    editor_.reset();
    crossHair_.reset();
    graphSrc_.reset();
    graphAc_.reset();
    graphFun_.reset();
}

void TFormGistogram::FormCreate()
{
    createHistogramTab();
    createTransferTab();
    createFragmentTab();
}

void TFormGistogram::createHistogramTab()
{
    // The positions were drawn for an 8-point dialog font; its pixel size
    // keeps the texts of this tab inside them.
    QFont font = TabSheet1->font();
    font.setPixelSize(11);
    TabSheet1->setFont(font);

    struct TPanelDesc {
        const char* panel;
        const char* image;
        const char* strip;
        const char* title;
        QPoint at;
        QFrame** panelRef;
        TImageWidget** imageRef;
        TImageWidget** stripRef;
        char ramp;
    };
    const TPanelDesc panels[4] = {
        {"PanelGistR",
         "ImageGistR",
         "ImageGRed",
         "Нормированная гистограмма канала Red",
         {15, 24},
         &PanelGistR,
         &ImageGistR,
         &ImageGRed,
         'R'},
        {"PanelGistG",
         "ImageGistG",
         "ImageGGreen",
         "Нормированная гистограмма канала Green",
         {281, 24},
         &PanelGistG,
         &ImageGistG,
         &ImageGGreen,
         'G'},
        {"PanelGistB",
         "ImageGistB",
         "ImageGBlue",
         "Нормированная гистограмма канала Blue",
         {547, 24},
         &PanelGistB,
         &ImageGistB,
         &ImageGBlue,
         'B'},
        {"PanelGistLight",
         "ImageGistLight",
         "ImageGLight",
         "Нормированная гистограмма канала Light",
         {15, 304},
         &PanelGistLight,
         &ImageGistLight,
         &ImageGLight,
         'L'},
    };
    for (int channel = 0; channel < 4; ++channel) {
        const TPanelDesc& d = panels[channel];
        // The title spans its panel only, so neighbouring titles never meet;
        // a font too wide for it elides the text and keeps it in the hint.
        const QString title = QString::fromUtf8(d.title);
        auto* caption = new QLabel(TabSheet1);
        caption->setGeometry(d.at.x(), d.at.y() - 18, kGistW + 2, 16);
        caption->setText(caption->fontMetrics().elidedText(title, Qt::ElideRight, caption->width()));
        if (caption->text() != title)
            caption->setToolTip(title);
        QFrame* panel = makePanel(d.panel, TabSheet1, QRect(d.at, QSize(kGistW + 2, kGistH + kStripH + 2)));
        auto* image = new TImageWidget(QSize(kGistW, kGistH), panel);
        image->setObjectName(QLatin1String(d.image));
        image->setFixedSize(kGistW, kGistH);
        image->move(1, 1);
        PaintImage(*image, clBtnFace);
        auto* strip = new TImageWidget(QSize(kGistW, kStripH), panel);
        strip->setObjectName(QLatin1String(d.strip));
        strip->setFixedSize(kGistW, kStripH);
        strip->move(1, 1 + kGistH);
        FillRampH(*strip, d.ramp);
        for (TImageWidget* w : {image, strip}) {
            w->setMouseTracking(true);
            w->OnMouseMove = [this, channel](Qt::MouseButton, TShiftState, int x, int) { levelReadOut(channel, x); };
        }
        *d.panelRef = panel;
        *d.imageRef = image;
        *d.stripRef = strip;
    }

    createStatisticsPanel();

    SpButGistSrc = makeButton("SpButGistSrc", QStringLiteral("Основое изображение"), QString(), TabSheet1,
                              QRect(298, 531, 180, 25));
    SpButGistTrg = makeButton("SpButGistTrg", QStringLiteral("Финишное изображение"), QString(), TabSheet1,
                              QRect(498, 534, 180, 25));
    imageButtons_ = new QButtonGroup(this);
    imageButtons_->addButton(SpButGistSrc);
    imageButtons_->addButton(SpButGistTrg);
    SpButGistSrc->setChecked(true);
    connect(SpButGistSrc, &QToolButton::clicked, this, &TFormGistogram::SpButGistSrcClick);
    connect(SpButGistTrg, &QToolButton::clicked, this, &TFormGistogram::SpButGistTrgClick);
}

void TFormGistogram::createStatisticsPanel()
{
    PanelMDS = makePanel("PanelMDS", TabSheet1, QRect(280, 304, 529, 217));
    PanelMDS->setAutoFillBackground(true);
    QWidget* p = PanelMDS;
    const QFontMetrics fm(p->font());
    constexpr int kGap = 4;
    constexpr int kMargin = 6;
    constexpr int kFieldH = 20;

    // Read-out widths for the longest texts they can show.
    const QString sep = QLocale().decimalPoint();
    const int countW = readOutWidth(fm, QStringLiteral("2147483647"));
    const int percentW = readOutWidth(fm, QStringLiteral("100") + sep + QStringLiteral("00000 %"));
    // The three statistics are never negative: 15 digits, the point and a
    // three-digit exponent, or the longest fixed form.
    const int statW = std::max(readOutWidth(fm, QStringLiteral("8") + sep + QStringLiteral("88888888888888E-308")),
                               readOutWidth(fm, QStringLiteral("0") + sep + QStringLiteral("0000888888888888888")));
    int channelW = 0;
    for (const char* name : kChannelNames)
        channelW = std::max(channelW, readOutWidth(fm, QString::fromUtf8(name)));

    // A label sized to its text at (x, y + 2) and its field after it, not
    // left of the field's design column.
    const auto row = [&](const QString& text, int x, int y, const char* name, int fieldX, int fieldW) {
        QLabel* label = makeLabel(text, p, x, y + 2);
        const int at = std::max(fieldX, label->geometry().right() + 1 + kGap);
        return std::pair{label, makeReadOut(name, QString(), p, QRect(at, y, fieldW, kFieldH))};
    };
    const auto right = [](const QWidget* w) { return w->geometry().right() + 1; };

    auto* title = new QLabel(
        QStringLiteral("Статические и вероятностные оценки по генеральной совокупности точек изображения"), p);
    title->setWordWrap(true);

    stTextNumAll = row(QStringLiteral("Общее число точек"), 8, 28, "stTextNumAll", 150, countW).second;
    makeLabel(QStringLiteral("Абсолютно черные точки"), p, 8, 54);
    StTextNumBlack = row(QStringLiteral("Число"), 8, 74, "StTextNumBlack", 52, countW).second;
    StTextNumBlackPr =
        row(QStringLiteral("Процент"), right(StTextNumBlack) + kGap, 74, "StTextNumBlackPr", 180, percentW).second;
    makeLabel(QStringLiteral("Абсолютно белые точки"), p, 8, 100);
    StTextNumWhite = row(QStringLiteral("Число"), 8, 120, "StTextNumWhite", 52, countW).second;
    StTextNumWhitePr =
        row(QStringLiteral("Процент"), right(StTextNumWhite) + kGap, 120, "StTextNumWhitePr", 180, percentW).second;
    stTextNameChannel = row(QStringLiteral("Выбранный канал"), 8, 148, "stTextNameChannel", 110, channelW).second;
    stTextLLmp = makeReadOut("stTextLLmp", QString(), p, QRect(8, 174, 16, 17));
    stTextLLmp->setAutoFillBackground(true);
    stTextLLevel = row(QStringLiteral("Уровень яркости"), 30, 174, "stTextLLevel", 140, 50).second;
    stTextNumSP = row(QStringLiteral("Число  точек"), 30, 194, "stTextNumSP", 140, countW).second;
    for (QLabel* l : {stTextNumAll, StTextNumBlack, StTextNumBlackPr, StTextNumWhite, StTextNumWhitePr})
        l->setText(QStringLiteral("0"));

    // The statistics column starts after the widest field on its left.
    int leftEdge = 0;
    for (const QWidget* w : {stTextNumAll, StTextNumBlackPr, StTextNumWhitePr, stTextNameChannel, stTextNumSP})
        leftEdge = std::max(leftEdge, right(w));
    const int statX = leftEdge + 8;

    struct TStatDesc {
        const char* name;
        const char* label;
        const char* hint;
        int y;
        QLabel** ref;
    };
    const TStatDesc stats[3] = {
        {"StTextMM", "Математ. ожидание", "Математическое ожидание", 30, &StTextMM},
        {"StTextMD", "Дисперсия", "Дисперсия генеральной совокупности", 60, &StTextMD},
        {"StTextMS", "Стандарт. отклонение", "Стандартное отклонение", 90, &StTextMS},
    };
    int labelsRight = 0;
    for (const TStatDesc& s : stats) {
        QLabel* label = makeLabel(QString::fromUtf8(s.label), p, statX, s.y + 2);
        label->setToolTip(QString::fromUtf8(s.hint));
        labelsRight = std::max(labelsRight, right(label));
    }
    const int valueX = labelsRight + kGap;
    for (std::size_t i = 0; i < 3; ++i) {
        const TStatDesc& s = stats[i];
        *s.ref = makeReadOut(s.name, QStringLiteral("0"), p, QRect(valueX, s.y, statW, kFieldH));
        (*s.ref)->setToolTip(QString::fromUtf8(s.hint));
    }
    SpButtCnR = makeButton("SpButtCnR", QStringLiteral("R"), QStringLiteral("По уровням яркости в канале RED"), p,
                           QRect(valueX, 124, 24, 24));
    SpButtCnG = makeButton("SpButtCnG", QStringLiteral("G"), QStringLiteral("По уровням яркости в канале GREEN"), p,
                           QRect(valueX + 25, 124, 24, 24));
    SpButtCnB = makeButton("SpButtCnB", QStringLiteral("B"), QStringLiteral("По уровням яркости в канале BLUE"), p,
                           QRect(valueX + 50, 124, 24, 24));
    SpButtCnL = makeButton("SpButtCnL", QStringLiteral("L"), QStringLiteral("По уровням яркости в канале LIGHT "), p,
                           QRect(valueX + 75, 124, 24, 24));

    // The panel widens only as far as its fields need; a title that has to
    // wrap pushes the rows down instead of running under them.
    const int panelW = std::max(PanelMDS->width(), valueX + statW + kMargin);
    title->setGeometry(4, 4, panelW - 8, title->heightForWidth(panelW - 8));
    const int shift = std::max(0, title->geometry().bottom() + 1 + kGap - 28);
    for (QWidget* w : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != title)
            w->move(w->x(), w->y() + shift);
    PanelMDS->resize(panelW, PanelMDS->height() + shift);

    channelButtons_ = new QButtonGroup(this);
    for (QToolButton* b : {SpButtCnR, SpButtCnG, SpButtCnB, SpButtCnL}) {
        channelButtons_->addButton(b);
        connect(b, &QToolButton::clicked, this, &TFormGistogram::SpButtCnMDSClick);
    }
    SpButtCnL->setChecked(true);
    paintLamp(panelColor());
}

void TFormGistogram::createFragmentTab()
{
    PanelAcImg = makePanel("PanelAcImg", TabSheet3, QRect(8, 8, 289, 169));
    ImgAcFrg = new TImageWidget(QSize(287, 167), PanelAcImg);
    ImgAcFrg->setObjectName(QStringLiteral("ImgAcFrg"));
    ImgAcFrg->setFixedSize(287, 167);
    ImgAcFrg->move(1, 1);
    Panel2 = makePanel("Panel2", TabSheet3, QRect(304, 8, 513, 169));
    PageControlAc = new QTabWidget(TabSheet3);
    PageControlAc->setObjectName(QStringLiteral("PageControlAc"));
    PageControlAc->setGeometry(5, 179, 398, 198);
    PanelSrcFun1 = makePanel("PanelSrcFun1", TabSheet3, QRect(408, 184, 409, 193));
    PanelAcFunc = makePanel("PanelAcFunc", TabSheet3, QRect(8, 384, 809, 185));
    crossHair_ = std::make_unique<TCrossHairSelector>(ImgAcFrg);
    createStatsControls();
}

TColor TFormGistogram::panelColor() const
{
    return ResolveColor(clBtnFace);
}

void TFormGistogram::paintLamp(TColor color)
{
    lampColor_ = color;
    QPalette pal = stTextLLmp->palette();
    pal.setColor(QPalette::Window, ToQColor(color));
    stTextLLmp->setPalette(pal);
}

void TFormGistogram::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormGistogram::FormShow()
{
    for (TImageWidget* image : {ImageGistR, ImageGistG, ImageGistB, ImageGistLight})
        PaintImage(*image, clBtnFace);
    if (GistogramMode == 1 || GistogramMode == 2) {
        SpButGistSrc->setChecked(true);
        refresh();
        PageControl1->setCurrentIndex(GistogramMode == 1 ? 0 : 2);
    } else {
        PageControl1->setCurrentIndex(0);
    }
    // The choice boxes start over; the size read-outs describe this fragment.
    CmbBoxAcCnvl->setCurrentIndex(0);
    CmbBoxFun3->setCurrentIndex(0);
    showFragmentSize();
}

void TFormGistogram::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TFormGistogram::FormClose()
{
    ResetAcState();
}

void TFormGistogram::SpButGistSrcClick()
{
    refresh();
}

void TFormGistogram::SpButGistTrgClick()
{
    refresh();
}

void TFormGistogram::refresh()
{
    TBusyCursor busy;
    repaint();
    stTextNameChannel->clear();
    stTextLLevel->clear();
    stTextNumSP->clear();
    paintLamp(panelColor());
    if (SpButGistSrc->isChecked()) {
        CurGistogram = &Gistogram;
        CalculateAllGistogram(&ws_.SrcArr, progress_.get(), &Gistogram);
        showRecord();
        setWindowTitle(QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        Gistogram.ImageTag = 'M';
    }
    if (SpButGistTrg->isChecked()) {
        CurGistogram = &Gistogram;
        CalculateAllGistogram(&ws_.TrgArr, progress_.get(), &Gistogram);
        showRecord();
        setWindowTitle(QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        Gistogram.ImageTag = 'F';
    }
    ShowFragmentStatistics();
}

void TFormGistogram::showRecord()
{
    TGistogramData& d = Gistogram;
    stTextNumAll->setText(QString::number(d.Count));
    if (d.Count > 0) {
        d.NumBlack = d.GistL[0];
        d.NumWhite = d.GistL[255];
        const auto percent = [&](std::int32_t n) {
            return FormatGraphLabel(QStringLiteral("%8.5f"), static_cast<long double>(n) * 100 / d.Count) +
                   QStringLiteral(" %");
        };
        StTextNumBlack->setText(QString::number(d.NumBlack));
        StTextNumWhite->setText(QString::number(d.NumWhite));
        StTextNumBlackPr->setText(percent(d.NumBlack));
        StTextNumWhitePr->setText(percent(d.NumWhite));
    } else {
        StTextNumBlack->setText(QStringLiteral("0"));
        StTextNumWhite->setText(QStringLiteral("0"));
        StTextNumBlackPr->setText(QStringLiteral("0 %"));
        StTextNumWhitePr->setText(QStringLiteral("0 %"));
    }
    drawGistogram(ImageGistR, d.NormR);
    drawGistogram(ImageGistG, d.NormG);
    drawGistogram(ImageGistB, d.NormB);
    drawGistogram(ImageGistLight, d.NormL);
    SpButtCnMDSClick();
}

// Each bar is a line from the bottom edge up by its height whose end point is
// left out, as the line primitive draws it.
void TFormGistogram::drawGistogram(TImageWidget* image, const TGistogram& heights)
{
    PaintImage(*image, clBtnFace);
    QImage& canvas = image->canvas();
    const int h = canvas.height();
    for (int i = 0; i < 256 && i < canvas.width(); ++i) {
        const int top = std::max(0, h - heights[std::size_t(i)] + 1);
        for (int y = top; y < h; ++y) {
            uchar* px = canvas.scanLine(y) + 3 * i;
            px[0] = px[1] = px[2] = 0;
        }
    }
    image->pictureChanged();
}

void TFormGistogram::SpButtCnMDSClick()
{
    long double mean = 0, variance = 0, deviation = 0;
    if (CurGistogram) {
        const TGistogramData& d = *CurGistogram;
        if (SpButtCnR->isChecked()) {
            mean = d.MeanR, variance = d.VarR, deviation = d.StdR;
        } else if (SpButtCnG->isChecked()) {
            mean = d.MeanG, variance = d.VarG, deviation = d.StdG;
        } else if (SpButtCnB->isChecked()) {
            mean = d.MeanB, variance = d.VarB, deviation = d.StdB;
        } else if (SpButtCnL->isChecked()) {
            mean = d.MeanL, variance = d.VarL, deviation = d.StdL;
        }
    }
    StTextMM->setText(FormatGeneral(mean));
    StTextMD->setText(FormatGeneral(variance));
    StTextMS->setText(FormatGeneral(deviation));
}

void TFormGistogram::levelReadOut(int channel, int x)
{
    if (x >= 0 && x <= 255 && CurGistogram) {
        const TGistogramData& d = *CurGistogram;
        const TGistogram* counts[4] = {&d.GistR, &d.GistG, &d.GistB, &d.GistL};
        const TColor colors[4] = {RGBToColor(x, 0, 0), RGBToColor(0, x, 0), RGBToColor(0, 0, x), RGBToColor(x, x, x)};
        paintLamp(colors[channel]);
        stTextLLevel->setText(QString::number(x));
        stTextNumSP->setText(QString::number((*counts[channel])[std::size_t(x)]));
    }
    stTextNameChannel->setText(QString::fromUtf8(kChannelNames[channel]));
}

}  // namespace ormica

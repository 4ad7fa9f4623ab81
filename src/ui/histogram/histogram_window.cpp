#include "histogram_window.h"

#include "app/main_data.h"
#include "engine/image_widget.h"
#include "engine/img_service.h"
#include "engine/progress_bar.h"
#include "histogram/cross_hair_selector.h"
#include "transfer/graph_label.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ormica {

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

QColor toQColor(TColor color)
{
    const TBGRTriple c = ColorToBGR(ResolveColor(color));
    return QColor(c.r, c.g, c.b);
}

QLabel* makeLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A sunken read-out.
QLabel* makeReadOut(const char* name, const QString& text, QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
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

// Every row is the same ramp in the channel's own components.
void fillRamp(TImageControl& strip, bool r, bool g, bool b)
{
    QImage picture(strip.width(), strip.height(), QImage::Format_BGR888);
    const long double factor = 256.0L / strip.width();
    for (int y = 0; y < picture.height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const auto v = static_cast<uchar>(static_cast<int>(factor * x));
            line[3 * x] = b ? v : 0;  // blue, green, red
            line[3 * x + 1] = g ? v : 0;
            line[3 * x + 2] = r ? v : 0;
        }
    }
    strip.setPicture(picture);
}

// The hourglass for the length of a computation.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

TFormGistogram::TFormGistogram(QWidget* parent) : QDialog(parent)
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
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(12);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);
    progress_ = std::make_unique<TProgressBarAdapter>(ProgressBar1);

    FormCreate();
}

TFormGistogram::~TFormGistogram()
{
    // The selector gives the fragment image its mouse handlers back first.
    crossHair_.reset();
}

void TFormGistogram::FormCreate()
{
    createHistogramTab();
    createFragmentTab();
}

void TFormGistogram::createHistogramTab()
{
    struct TPanelDesc {
        const char* panel;
        const char* image;
        const char* strip;
        const char* title;
        QPoint at;
        QFrame** panelRef;
        TImageWidget** imageRef;
        TImageWidget** stripRef;
        bool r, g, b;
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
         true,
         false,
         false},
        {"PanelGistG",
         "ImageGistG",
         "ImageGGreen",
         "Нормированная гистограмма канала Green",
         {281, 24},
         &PanelGistG,
         &ImageGistG,
         &ImageGGreen,
         false,
         true,
         false},
        {"PanelGistB",
         "ImageGistB",
         "ImageGBlue",
         "Нормированная гистограмма канала Blue",
         {547, 24},
         &PanelGistB,
         &ImageGistB,
         &ImageGBlue,
         false,
         false,
         true},
        {"PanelGistLight",
         "ImageGistLight",
         "ImageGLight",
         "Нормированная гистограмма канала Light",
         {15, 304},
         &PanelGistLight,
         &ImageGistLight,
         &ImageGLight,
         true,
         true,
         true},
    };
    for (int channel = 0; channel < 4; ++channel) {
        const TPanelDesc& d = panels[channel];
        makeLabel(QString::fromUtf8(d.title), TabSheet1, d.at.x() + 2, d.at.y() - 18);
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
        fillRamp(*strip, d.r, d.g, d.b);
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
    makeLabel(QStringLiteral("Статические и вероятностные оценки по генеральной совокупности точек изображения"), p, 8,
              4);

    makeLabel(QStringLiteral("Общее число точек"), p, 8, 30);
    stTextNumAll = makeReadOut("stTextNumAll", QStringLiteral("0"), p, QRect(150, 28, 100, 20));
    makeLabel(QStringLiteral("Абсолютно черные точки"), p, 8, 54);
    makeLabel(QStringLiteral("Число"), p, 8, 76);
    StTextNumBlack = makeReadOut("StTextNumBlack", QStringLiteral("0"), p, QRect(52, 74, 70, 20));
    makeLabel(QStringLiteral("Процент"), p, 128, 76);
    StTextNumBlackPr = makeReadOut("StTextNumBlackPr", QStringLiteral("0"), p, QRect(180, 74, 84, 20));
    makeLabel(QStringLiteral("Абсолютно белые точки"), p, 8, 100);
    makeLabel(QStringLiteral("Число"), p, 8, 122);
    StTextNumWhite = makeReadOut("StTextNumWhite", QStringLiteral("0"), p, QRect(52, 120, 70, 20));
    makeLabel(QStringLiteral("Процент"), p, 128, 122);
    StTextNumWhitePr = makeReadOut("StTextNumWhitePr", QStringLiteral("0"), p, QRect(180, 120, 84, 20));

    makeLabel(QStringLiteral("Выбранный канал"), p, 8, 150);
    stTextNameChannel = makeReadOut("stTextNameChannel", QString(), p, QRect(110, 148, 154, 20));
    stTextLLmp = makeReadOut("stTextLLmp", QString(), p, QRect(8, 174, 16, 17));
    stTextLLmp->setAutoFillBackground(true);
    makeLabel(QStringLiteral("Уровень яркости"), p, 30, 176);
    stTextLLevel = makeReadOut("stTextLLevel", QString(), p, QRect(140, 174, 50, 20));
    makeLabel(QStringLiteral("Число  точек"), p, 30, 196);
    stTextNumSP = makeReadOut("stTextNumSP", QString(), p, QRect(140, 194, 80, 20));

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
    for (const TStatDesc& s : stats) {
        QLabel* label = makeLabel(QString::fromUtf8(s.label), p, 290, s.y + 2);
        label->setToolTip(QString::fromUtf8(s.hint));
        *s.ref = makeReadOut(s.name, QStringLiteral("0"), p, QRect(420, s.y, 100, 20));
        (*s.ref)->setToolTip(QString::fromUtf8(s.hint));
    }
    SpButtCnR = makeButton("SpButtCnR", QStringLiteral("R"), QStringLiteral("По уровням яркости в канале RED"), p,
                           QRect(420, 124, 24, 24));
    SpButtCnG = makeButton("SpButtCnG", QStringLiteral("G"), QStringLiteral("По уровням яркости в канале GREEN"), p,
                           QRect(445, 124, 24, 24));
    SpButtCnB = makeButton("SpButtCnB", QStringLiteral("B"), QStringLiteral("По уровням яркости в канале BLUE"), p,
                           QRect(470, 124, 24, 24));
    SpButtCnL = makeButton("SpButtCnL", QStringLiteral("L"), QStringLiteral("По уровням яркости в канале LIGHT "), p,
                           QRect(495, 124, 24, 24));
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
}

TColor TFormGistogram::panelColor() const
{
    return ResolveColor(clBtnFace);
}

void TFormGistogram::paintLamp(TColor color)
{
    lampColor_ = color;
    QPalette pal = stTextLLmp->palette();
    pal.setColor(QPalette::Window, toQColor(color));
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
        CalculateAllGistogram(&MainData::SrcArr, progress_.get(), &Gistogram);
        showRecord();
        setWindowTitle(QStringLiteral("   Гистограммы : ОСНОВНОЕ изображение"));
        Gistogram.ImageTag = 'M';
    }
    if (SpButGistTrg->isChecked()) {
        CurGistogram = &Gistogram;
        CalculateAllGistogram(&MainData::TrgArr, progress_.get(), &Gistogram);
        showRecord();
        setWindowTitle(QStringLiteral("   Гистограммы : ФИНИШНОЕ изображение"));
        Gistogram.ImageTag = 'F';
    }
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
    static const char* const kNames[4] = {"Канал RED (Красный)", "Канал GREEN (Зеленый)", "Канал BLUE (Голубой)",
                                          "Канал LIGHT (Яркость)"};
    if (x >= 0 && x <= 255 && CurGistogram) {
        const TGistogramData& d = *CurGistogram;
        const TGistogram* counts[4] = {&d.GistR, &d.GistG, &d.GistB, &d.GistL};
        const TColor colors[4] = {RGBToColor(x, 0, 0), RGBToColor(0, x, 0), RGBToColor(0, 0, x), RGBToColor(x, x, x)};
        paintLamp(colors[channel]);
        stTextLLevel->setText(QString::number(x));
        stTextNumSP->setText(QString::number((*counts[channel])[std::size_t(x)]));
    }
    stTextNameChannel->setText(QString::fromUtf8(kNames[channel]));
}

}  // namespace ormica

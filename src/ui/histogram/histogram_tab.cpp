#include "ui/histogram/histogram_tab.h"

#include "core/engine/img_service.h"
#include "core/transfer/graph_label.h"
#include "ui/engine/busy_cursor.h"
#include "ui/engine/image_widget.h"
#include "ui/engine/plot_export.h"
#include "ui/histogram/histogram_window_parts.h"
#include "ui/workspace/workspace.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QToolButton>
#include <algorithm>

namespace ormica {

using namespace gistparts;

namespace {

constexpr int kGistW = 256;
// The tallest bar leaves a margin of 4 pixels at the top of its image.
constexpr int kGistH = kNormHeight + 4;
constexpr int kStripH = 10;

using D = TGistogramData;

// What the tab shows of one channel, and where the record keeps it.
struct TChannelDesc {
    const char* panel;
    const char* image;
    const char* strip;
    const char* button;
    int x, y;     // of the panel
    char letter;  // of its ramp and its button
    const char* title;
    const char* hint;     // of its button
    const char* caption;  // of the level read-out
    TGistogram D::*counts;
    TGistogram D::*heights;
    long double D::*mean, D::*variance, D::*deviation;
};

// The texts are translated where they are shown.
const TChannelDesc kChannels[4] = {
    {"PanelGistR", "ImageGistR", "ImageGRed", "SpButtCnR", 15, 24, 'R',
     QT_TRANSLATE_NOOP("HistogramChannels", "Нормированная гистограмма канала Red"),
     QT_TRANSLATE_NOOP("HistogramChannels", "По уровням яркости в канале RED"),
     QT_TRANSLATE_NOOP("HistogramChannels", "Канал RED (Красный)"), &D::GistR, &D::NormR, &D::MeanR, &D::VarR,
     &D::StdR},
    {"PanelGistG", "ImageGistG", "ImageGGreen", "SpButtCnG", 281, 24, 'G',
     QT_TRANSLATE_NOOP("HistogramChannels", "Нормированная гистограмма канала Green"),
     QT_TRANSLATE_NOOP("HistogramChannels", "По уровням яркости в канале GREEN"),
     QT_TRANSLATE_NOOP("HistogramChannels", "Канал GREEN (Зеленый)"), &D::GistG, &D::NormG, &D::MeanG, &D::VarG,
     &D::StdG},
    {"PanelGistB", "ImageGistB", "ImageGBlue", "SpButtCnB", 547, 24, 'B',
     QT_TRANSLATE_NOOP("HistogramChannels", "Нормированная гистограмма канала Blue"),
     QT_TRANSLATE_NOOP("HistogramChannels", "По уровням яркости в канале BLUE"),
     QT_TRANSLATE_NOOP("HistogramChannels", "Канал BLUE (Голубой)"), &D::GistB, &D::NormB, &D::MeanB, &D::VarB,
     &D::StdB},
    {"PanelGistLight", "ImageGistLight", "ImageGLight", "SpButtCnL", 15, 304, 'L',
     QT_TRANSLATE_NOOP("HistogramChannels", "Нормированная гистограмма канала Light"),
     QT_TRANSLATE_NOOP("HistogramChannels", "По уровням яркости в канале LIGHT "),
     QT_TRANSLATE_NOOP("HistogramChannels", "Канал LIGHT (Яркость)"), &D::GistL, &D::NormL, &D::MeanL, &D::VarL,
     &D::StdL},
};

// Level x of the channel as a colour: in its own component, in all three for Light.
TColor levelColor(char letter, int x)
{
    const auto in = [&](char c) { return letter == c || letter == 'L' ? x : 0; };
    return RGBToColor(in('R'), in('G'), in('B'));
}

}  // namespace

THistogramTab::THistogramTab(TWorkspace& workspace, TProgress& progress, QWidget* parent)
    : QWidget(parent), ws_(workspace), progress_(progress)
{
    setObjectName(QStringLiteral("TabSheet1"));
    useDesignFont(this);
    for (int channel = 0; channel < 4; ++channel)
        createChannelPanel(channel);
    createStatisticsPanel();
    createImageButtons();
}

void THistogramTab::createChannelPanel(int channel)
{
    const TChannelDesc& d = kChannels[channel];
    // The title spans its panel only, so neighbouring titles never meet;
    // a font too wide for it elides the text and keeps it in the hint.
    const QString title = QCoreApplication::translate("HistogramChannels", d.title);
    auto* caption = new QLabel(this);
    caption->setGeometry(d.x, d.y - 18, kGistW + 2, 16);
    caption->setText(caption->fontMetrics().elidedText(title, Qt::ElideRight, caption->width()));
    if (caption->text() != title)
        caption->setToolTip(title);
    QFrame* panel = makePanel(d.panel, this, QRect(d.x, d.y, kGistW + 2, kGistH + kStripH + 2));
    auto* image = new TImageWidget(QSize(kGistW, kGistH), panel);
    image->setObjectName(QLatin1String(d.image));
    image->setFixedSize(kGistW, kGistH);
    image->move(1, 1);
    PaintImage(*image, clBtnFace);
    auto* strip = new TImageWidget(QSize(kGistW, kStripH), panel);
    strip->setObjectName(QLatin1String(d.strip));
    strip->setFixedSize(kGistW, kStripH);
    strip->move(1, 1 + kGistH);
    FillRampH(*strip, d.letter);
    for (TImageWidget* w : {image, strip}) {
        w->setMouseTracking(true);
        w->OnMouseMove = [this, channel](Qt::MouseButton, TShiftState, int x, int) { levelReadOut(channel, x); };
    }
    channels_[std::size_t(channel)] = {panel, image, strip, nullptr};
}

void THistogramTab::createStatisticsPanel()
{
    PanelMDS = makePanel("PanelMDS", this, QRect(280, 304, 529, 217));
    PanelMDS->setAutoFillBackground(true);
    QWidget* p = PanelMDS;
    auto* title = new QLabel(tr("Статические и вероятностные оценки по генеральной совокупности точек изображения"), p);
    title->setWordWrap(true);
    createCountFields(p);

    // The statistics column starts after the widest field on its left.
    int leftEdge = 0;
    for (const QWidget* w : {stTextNumAll, StTextNumBlackPr, StTextNumWhitePr, stTextNameChannel, stTextNumSP})
        leftEdge = std::max(leftEdge, rightOf(w));
    constexpr int kMargin = 6;
    fitStatisticsPanel(title, createChannelStatistics(p, leftEdge + 8) + kMargin);
    paintLamp(ResolveColor(clBtnFace));
}

void THistogramTab::createCountFields(QWidget* p)
{
    // Read-out widths for the longest texts they can show.
    const QFontMetrics fm(p->font());
    const QString sep = QLocale().decimalPoint();
    const int countW = readOutWidth(fm, QStringLiteral("2147483647"));
    const int percentW = readOutWidth(fm, QStringLiteral("100") + sep + QStringLiteral("00000 %"));
    int channelW = 0;
    for (const TChannelDesc& d : kChannels)
        channelW = std::max(channelW, readOutWidth(fm, QCoreApplication::translate("HistogramChannels", d.caption)));

    stTextNumAll = labelledReadOut(tr("Общее число точек"), p, 8, 28, "stTextNumAll", 150, countW);
    makeLabel(tr("Абсолютно черные точки"), p, 8, 54);
    StTextNumBlack = labelledReadOut(tr("Число"), p, 8, 74, "StTextNumBlack", 52, countW);
    StTextNumBlackPr =
        labelledReadOut(tr("Процент"), p, rightOf(StTextNumBlack) + kGap, 74, "StTextNumBlackPr", 180, percentW);
    makeLabel(tr("Абсолютно белые точки"), p, 8, 100);
    StTextNumWhite = labelledReadOut(tr("Число"), p, 8, 120, "StTextNumWhite", 52, countW);
    StTextNumWhitePr =
        labelledReadOut(tr("Процент"), p, rightOf(StTextNumWhite) + kGap, 120, "StTextNumWhitePr", 180, percentW);
    stTextNameChannel = labelledReadOut(tr("Выбранный канал"), p, 8, 148, "stTextNameChannel", 110, channelW);
    stTextLLmp = makeReadOut("stTextLLmp", QString(), p, QRect(8, 174, 16, 17));
    stTextLLmp->setAutoFillBackground(true);
    stTextLLevel = labelledReadOut(tr("Уровень яркости"), p, 30, 174, "stTextLLevel", 140, 50);
    stTextNumSP = labelledReadOut(tr("Число  точек"), p, 30, 194, "stTextNumSP", 140, countW);
    for (QLabel* l : {stTextNumAll, StTextNumBlack, StTextNumBlackPr, StTextNumWhite, StTextNumWhitePr})
        l->setText(QStringLiteral("0"));
}

int THistogramTab::createChannelStatistics(QWidget* p, int x)
{
    // The three statistics are never negative: 15 digits, the point and a
    // three-digit exponent, or the longest fixed form.
    const QFontMetrics fm(p->font());
    const QString sep = QLocale().decimalPoint();
    const int statW = std::max(readOutWidth(fm, QStringLiteral("8") + sep + QStringLiteral("88888888888888E-308")),
                               readOutWidth(fm, QStringLiteral("0") + sep + QStringLiteral("0000888888888888888")));
    struct TStatDesc {
        const char* name;
        QString label;
        QString hint;
        int y;
        QLabel** ref;
    };
    const TStatDesc stats[3] = {
        {"StTextMM", tr("Математ. ожидание"), tr("Математическое ожидание"), 30, &StTextMM},
        {"StTextMD", tr("Дисперсия"), tr("Дисперсия генеральной совокупности"), 60, &StTextMD},
        {"StTextMS", tr("Стандарт. отклонение"), tr("Стандартное отклонение"), 90, &StTextMS},
    };
    int labelsRight = 0;
    for (const TStatDesc& s : stats) {
        QLabel* label = makeLabel(s.label, p, x, s.y + 2);
        label->setToolTip(s.hint);
        labelsRight = std::max(labelsRight, rightOf(label));
    }
    const int valueX = labelsRight + kGap;
    for (const TStatDesc& s : stats) {
        *s.ref = makeReadOut(s.name, QStringLiteral("0"), p, QRect(valueX, s.y, statW, kFieldH));
        (*s.ref)->setToolTip(s.hint);
    }
    channelButtons_ = new QButtonGroup(this);
    for (int channel = 0; channel < 4; ++channel) {
        const TChannelDesc& d = kChannels[channel];
        QToolButton* b = makeButton(d.button, QString(QLatin1Char(d.letter)),
                                    QCoreApplication::translate("HistogramChannels", d.hint), p,
                                    QRect(valueX + 25 * channel, 124, 24, 24));
        channels_[std::size_t(channel)].button = b;
        channelButtons_->addButton(b, channel);
        connect(b, &QToolButton::clicked, this, &THistogramTab::SpButtCnMDSClick);
    }
    channels_[3].button->setChecked(true);
    return valueX + statW;
}

// The panel widens only as far as its fields need; a title that has to
// wrap pushes the rows down instead of running under them.
void THistogramTab::fitStatisticsPanel(QLabel* title, int needW)
{
    const int panelW = std::max(PanelMDS->width(), needW);
    title->setGeometry(4, 4, panelW - 8, title->heightForWidth(panelW - 8));
    const int shift = std::max(0, title->geometry().bottom() + 1 + kGap - 28);
    for (QWidget* w : PanelMDS->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != title)
            w->move(w->x(), w->y() + shift);
    PanelMDS->resize(panelW, PanelMDS->height() + shift);
}

void THistogramTab::createImageButtons()
{
    SpButGistSrc = makeButton("SpButGistSrc", tr("Основое изображение"), QString(), this, QRect(298, 531, 180, 25));
    SpButGistTrg = makeButton("SpButGistTrg", tr("Финишное изображение"), QString(), this, QRect(498, 534, 180, 25));
    imageButtons_ = new QButtonGroup(this);
    imageButtons_->addButton(SpButGistSrc);
    imageButtons_->addButton(SpButGistTrg);
    SpButGistSrc->setChecked(true);
    connect(SpButGistSrc, &QToolButton::clicked, this, &THistogramTab::SpButGistSrcClick);
    connect(SpButGistTrg, &QToolButton::clicked, this, &THistogramTab::SpButGistTrgClick);
}

void THistogramTab::paintLamp(TColor color)
{
    lampColor_ = color;
    paintLabel(stTextLLmp, color);
}

void THistogramTab::setFileDialogs(TFileDialogs* dialogs)
{
    for (int channel = 0; channel < 4; ++channel) {
        QFrame* panel = channels_[std::size_t(channel)].panel;
        AttachPlotExport(
            panel, dialogs, [panel] { return panel->grab().toImage(); },
            [this, channel] {
                const TChannelDesc& c = kChannels[channel];
                TPlotTable table{
                    {QStringLiteral("Уровень"), QStringLiteral("Число точек"), QStringLiteral("Высота столбца")}, {}};
                if (!recordShown_)
                    return table;
                for (std::size_t level = 0; level < 256; ++level)
                    table.Rows.push_back(
                        {double(level), double((Gistogram.*c.counts)[level]), double((Gistogram.*c.heights)[level])});
                return table;
            });
    }
}

void THistogramTab::ClearHistograms()
{
    recordShown_ = false;
    for (const TChannelView& view : channels_)
        PaintImage(*view.image, clBtnFace);
}

void THistogramTab::ShowSourceHistograms()
{
    SpButGistSrc->setChecked(true);
    refresh();
}

void THistogramTab::ShowTargetHistograms()
{
    SpButGistTrg->setChecked(true);
    SpButGistTrgClick();
}

void THistogramTab::SpButGistSrcClick()
{
    refresh();
}

void THistogramTab::SpButGistTrgClick()
{
    refresh();
}

// One image button is always down: the record describes that image.
void THistogramTab::refresh()
{
    TBusyCursor busy;
    window()->repaint();
    stTextNameChannel->clear();
    stTextLLevel->clear();
    stTextNumSP->clear();
    paintLamp(ResolveColor(clBtnFace));
    const bool target = SpButGistTrg->isChecked();
    CurGistogram = &Gistogram;
    CalculateAllGistogram(target ? &ws_.TrgArr : &ws_.SrcArr, &progress_, &Gistogram);
    showRecord();
    emit captionChanged(target ? tr("   Гистограммы : ФИНИШНОЕ изображение")
                               : tr("   Гистограммы : ОСНОВНОЕ изображение"));
    Gistogram.ImageTag = target ? 'F' : 'M';
    emit refreshed(Gistogram);
}

void THistogramTab::showRecord()
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
    for (std::size_t c = 0; c < channels_.size(); ++c)
        drawGistogram(channels_[c].image, d.*kChannels[c].heights);
    recordShown_ = true;
    SpButtCnMDSClick();
}

// Each bar is a line from the bottom edge up by its height whose end point is
// left out, as the line primitive draws it.
void THistogramTab::drawGistogram(TImageWidget* image, const TGistogram& heights)
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

void THistogramTab::SpButtCnMDSClick()
{
    long double mean = 0, variance = 0, deviation = 0;
    const int channel = channelButtons_->checkedId();
    if (CurGistogram && channel >= 0) {
        const TChannelDesc& c = kChannels[channel];
        mean = CurGistogram->*c.mean;
        variance = CurGistogram->*c.variance;
        deviation = CurGistogram->*c.deviation;
    }
    StTextMM->setText(FormatGeneral(mean));
    StTextMD->setText(FormatGeneral(variance));
    StTextMS->setText(FormatGeneral(deviation));
}

void THistogramTab::levelReadOut(int channel, int x)
{
    const TChannelDesc& c = kChannels[channel];
    if (x >= 0 && x <= 255 && CurGistogram) {
        paintLamp(levelColor(c.letter, x));
        stTextLLevel->setText(QString::number(x));
        stTextNumSP->setText(QString::number((CurGistogram->*c.counts)[std::size_t(x)]));
    }
    stTextNameChannel->setText(QCoreApplication::translate("HistogramChannels", c.caption));
}

}  // namespace ormica

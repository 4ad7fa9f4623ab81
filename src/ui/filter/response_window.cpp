#include "ui/filter/response_window.h"

#include "ui/engine/plot_export.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>

namespace ormica {

namespace {

constexpr int kResponseSize = 64;

// A plot panel that paints itself with `draw`; saving its picture grabs it as shown.
class TPlotPanel : public QWidget {
public:
    TPlotPanel(const char* name, std::function<void(QPainter&, QSize)> draw, QWidget* parent)
        : QWidget(parent), draw_(std::move(draw))
    {
        setObjectName(QLatin1String(name));
        setMinimumSize(280, 260);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        draw_(p, size());
    }

private:
    std::function<void(QPainter&, QSize)> draw_;
};

// Dark for nothing, light for the largest magnitude: black, violet, red,
// orange, pale yellow, so that the order of the colours reads without the bar.
QColor magnitudeColor(double t)
{
    static constexpr std::array<std::array<double, 3>, 5> stops{
        {{0, 0, 4}, {87, 16, 110}, {188, 55, 84}, {249, 142, 9}, {252, 255, 164}}};
    t = std::clamp(t, 0.0, 1.0) * double(stops.size() - 1);
    const int k = std::min(int(t), int(stops.size()) - 2);
    const double f = t - k;
    const auto mix = [&](int c) { return int(std::lround(stops[k][c] + (stops[k + 1][c] - stops[k][c]) * f)); };
    return QColor(mix(0), mix(1), mix(2));
}

double largest(const TFrequencyResponse& f)
{
    return f.Magnitude.empty() ? 0.0 : *std::ranges::max_element(f.Magnitude);
}

QString number(double value)
{
    return QLocale().toString(value, 'g', 3);
}

// The magnitude scale both plots share: from 0 to the largest value (1 when
// all are 0), labelled at 0, its half and its top.
struct TMagnitudeScale {
    double top = 1.0;
    QString labels[3];
    int labelWidth = 0;
};

TMagnitudeScale magnitudeScale(const TFrequencyResponse& f, const QFontMetrics& fm)
{
    TMagnitudeScale s;
    if (largest(f) > 0)
        s.top = largest(f);
    s.labels[0] = number(0);
    s.labels[1] = number(s.top / 2);
    s.labels[2] = number(s.top);
    for (const QString& l : s.labels)
        s.labelWidth = std::max(s.labelWidth, fm.horizontalAdvance(l));
    return s;
}

// The tick marks of the frequency axes, in quarters of a cycle per pixel.
const std::array<std::pair<double, const char*>, 5> kFrequencyTicks{
    {{-0.5, "−½"}, {-0.25, "−¼"}, {0.0, "0"}, {0.25, "¼"}, {0.5, "½"}}};

// The magnitude over u (to the right) and v (upwards), each cell centred on
// its frequency, with the colour scale beside it.
void drawMap(QPainter& p, QSize size, const TFrequencyResponse& f)
{
    const int n = f.Size;
    if (n == 0)
        return;
    const QFontMetrics fm = p.fontMetrics();
    const TMagnitudeScale scale = magnitudeScale(f, fm);
    const double top = scale.top;
    const int labelW = scale.labelWidth;
    const int left = fm.horizontalAdvance(QStringLiteral("v −½")) + 12;
    const int right = 12 + 14 + 6 + labelW + 4;
    const int topMargin = fm.height() / 2 + 4;
    const int bottom = 2 * fm.height() + 8;
    const int side = std::min(size.width() - left - right, size.height() - topMargin - bottom);
    if (side < 16)
        return;
    const QRect map(left, topMargin, side, side);

    QImage cells(n, n, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            cells.setPixel(j, n - 1 - i, magnitudeColor(f.at(i, j) / top).rgb());
    p.drawImage(map, cells);
    p.setPen(Qt::black);
    p.drawRect(map.adjusted(0, 0, -1, -1));

    const auto at = [&](double frequency) {
        return std::clamp(int(std::lround((frequency + 0.5 + 0.5 / n) * side)), 0, side);
    };
    for (const auto& [frequency, text] : kFrequencyTicks) {
        const QString label = QString::fromUtf8(text);
        const int x = map.left() + at(frequency);
        p.drawLine(x, map.bottom() + 1, x, map.bottom() + 4);
        p.drawText(QRect(x - 20, map.bottom() + 4, 40, fm.height()), Qt::AlignHCenter | Qt::AlignTop, label);
        const int y = map.bottom() - at(frequency);
        p.drawLine(map.left() - 4, y, map.left() - 1, y);
        p.drawText(QRect(0, y - fm.height() / 2, map.left() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   label);
    }
    p.drawText(QRect(map.left(), map.bottom() + 4 + fm.height(), side, fm.height()), Qt::AlignHCenter,
               QStringLiteral("u"));
    p.drawText(QRect(2, map.top(), fm.horizontalAdvance(QStringLiteral("v")) + 2, side), Qt::AlignVCenter,
               QStringLiteral("v"));

    const QRect bar(map.right() + 12, map.top(), 14, side);
    for (int y = 0; y < side; ++y) {
        p.setPen(magnitudeColor(1.0 - (y + 0.5) / side));
        p.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    p.setPen(Qt::black);
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    for (int k = 0; k < 3; ++k) {
        const int y = bar.bottom() - int(std::lround(k * (side - 1) / 2.0));
        p.drawLine(bar.right() + 1, y, bar.right() + 4, y);
        p.drawText(QRect(bar.right() + 6, y - fm.height() / 2, labelW + 4, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, scale.labels[k]);
    }
}

const QColor kHorizontalCut(0, 90, 200);
const QColor kVerticalCut(210, 50, 30);

// The cuts through zero frequency along u (v = 0) and along v (u = 0), over
// a whole period from -1/2 to 1/2; the dashed line is the gain.
void drawCuts(QPainter& p, QSize size, const TFrequencyResponse& f)
{
    const int n = f.Size;
    if (n == 0)
        return;
    const QFontMetrics fm = p.fontMetrics();
    const TMagnitudeScale scale = magnitudeScale(f, fm);
    const double top = scale.top;
    const int labelW = scale.labelWidth;
    const int legendH = 2 * fm.height() + 8;
    const QRect plot(labelW + 10, legendH + fm.height() / 2, size.width() - labelW - 10 - 16,
                     size.height() - legendH - fm.height() / 2 - 2 * fm.height() - 8);
    if (plot.width() < 16 || plot.height() < 16)
        return;
    const double ceiling = top * 1.05;
    const auto x = [&](double frequency) { return plot.left() + (frequency + 0.5) * (plot.width() - 1); };
    const auto y = [&](double m) { return plot.bottom() - m / ceiling * (plot.height() - 1); };

    p.setPen(Qt::black);
    p.drawRect(plot.adjusted(0, 0, -1, -1));
    for (const auto& [frequency, text] : kFrequencyTicks) {
        const int xi = int(std::lround(x(frequency)));
        p.drawLine(xi, plot.bottom() + 1, xi, plot.bottom() + 4);
        p.drawText(QRect(xi - 20, plot.bottom() + 4, 40, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromUtf8(text));
    }
    for (int k = 0; k < 3; ++k) {
        const int yi = int(std::lround(y(k * top / 2)));
        p.drawLine(plot.left() - 4, yi, plot.left() - 1, yi);
        p.drawText(QRect(0, yi - fm.height() / 2, plot.left() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   scale.labels[k]);
    }
    p.drawText(QRect(plot.left(), plot.bottom() + 4 + fm.height(), plot.width(), fm.height()), Qt::AlignHCenter,
               QCoreApplication::translate("FrequencyResponse", "частота, периодов на пиксель"));

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y(f.Gain())), QPointF(plot.right(), y(f.Gain())));
    // The value at +1/2 is the one at -1/2: the response repeats with period 1.
    // The second cut is dashed, so that the first shows through where they agree.
    const struct {
        QPen pen;
        QString name;
        std::function<double(int)> value;
    } cuts[] = {
        {QPen(kHorizontalCut, 2), QCoreApplication::translate("FrequencyResponse", "по горизонтали (v = 0)"),
         [&](int k) { return f.at(n / 2, k % n); }},
        {QPen(kVerticalCut, 2, Qt::DashLine), QCoreApplication::translate("FrequencyResponse", "по вертикали (u = 0)"),
         [&](int k) { return f.at(k % n, n / 2); }},
    };
    for (const auto& cut : cuts) {
        QPainterPath path;
        for (int k = 0; k <= n; ++k) {
            const QPointF point(x(double(k - n / 2) / n), y(cut.value(k)));
            k == 0 ? path.moveTo(point) : path.lineTo(point);
        }
        p.setPen(cut.pen);
        p.drawPath(path);
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    for (int c = 0; c < 2; ++c) {
        const int ly = 4 + c * fm.height() + fm.height() / 2;
        p.setPen(cuts[c].pen);
        p.drawLine(plot.left(), ly, plot.left() + 24, ly);
        p.setPen(Qt::black);
        p.drawText(QPoint(plot.left() + 30, 4 + c * fm.height() + fm.ascent()), cuts[c].name);
    }
}

// Fine detail: periods of four pixels and shorter, |u| or |v| at least 1/4.
// Their mean magnitude against the gain says what the filter does to it.
QString detailText(const TFrequencyResponse& f)
{
    const int n = f.Size;
    double sum = 0;
    int count = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (4 * std::abs(i - n / 2) >= n || 4 * std::abs(j - n / 2) >= n) {
                sum += f.at(i, j);
                ++count;
            }
    const double fine = sum / count;
    if (fine > 1.05 * f.Gain())
        return QCoreApplication::translate("FrequencyResponse", "Фильтр пропускает мелкие детали (усиливает)");
    if (fine < 0.95 * f.Gain())
        return QCoreApplication::translate("FrequencyResponse", "Фильтр подавляет мелкие детали (сглаживает)");
    return QCoreApplication::translate("FrequencyResponse", "Фильтр пропускает мелкие детали без изменений");
}

}  // namespace

TFormResponse::TFormResponse(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WindowResponse"));
    setWindowTitle(tr("Частотная характеристика"));
    auto* layout = new QVBoxLayout(this);
    auto* plots = new QHBoxLayout;
    PlotResponseMap = new TPlotPanel(
        "PlotResponseMap", [this](QPainter& p, QSize size) { drawMap(p, size, response_); }, this);
    PlotResponseMap->setToolTip(tr("Модуль частотной характеристики на частотах u и v, "
                                   "периодов на пиксель"));
    PlotResponseCuts = new TPlotPanel(
        "PlotResponseCuts", [this](QPainter& p, QSize size) { drawCuts(p, size, response_); }, this);
    PlotResponseCuts->setToolTip(tr("Сечения частотной характеристики через нулевую частоту; "
                                    "штриховая линия - усиление яркости"));
    plots->addWidget(PlotResponseMap, 1);
    plots->addWidget(PlotResponseCuts, 1);
    layout->addLayout(plots, 1);
    StTxtGain = new QLabel(this);
    StTxtGain->setObjectName(QStringLiteral("StTxtGain"));
    StTxtDetail = new QLabel(this);
    StTxtDetail->setObjectName(QStringLiteral("StTxtDetail"));
    layout->addWidget(StTxtGain);
    layout->addWidget(StTxtDetail);
    resize(720, 400);
}

void TFormResponse::setFileDialogs(TFileDialogs* dialogs)
{
    AttachPlotExport(
        PlotResponseMap, dialogs, [this] { return PlotResponseMap->grab().toImage(); },
        [this] {
            TPlotTable table{{QStringLiteral("v"), QStringLiteral("u"), QStringLiteral("magnitude")}, {}};
            const int n = response_.Size;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    table.Rows.push_back({double(i - n / 2) / n, double(j - n / 2) / n, response_.at(i, j)});
            return table;
        });
    AttachPlotExport(
        PlotResponseCuts, dialogs, [this] { return PlotResponseCuts->grab().toImage(); },
        [this] {
            TPlotTable table{{QStringLiteral("frequency"), QStringLiteral("horizontal"), QStringLiteral("vertical")},
                             {}};
            const int n = response_.Size;
            for (int k = 0; k < n; ++k)
                table.Rows.push_back({double(k - n / 2) / n, response_.at(n / 2, k), response_.at(k, n / 2)});
            return table;
        });
}

void TFormResponse::showResponse(const TFilterKernel& kernel, std::int32_t scale)
{
    response_ = FrequencyResponse(kernel, scale, kResponseSize);
    if (response_.Size == 0) {
        StTxtGain->setText(tr("Усиление яркости: нет (масштаб меньше единицы)"));
        StTxtDetail->clear();
    } else {
        StTxtGain->setText(tr("Усиление яркости: %1").arg(QLocale().toString(response_.Gain(), 'g', 6)));
        StTxtDetail->setText(detailText(response_));
    }
    PlotResponseMap->update();
    PlotResponseCuts->update();
}

}  // namespace ormica

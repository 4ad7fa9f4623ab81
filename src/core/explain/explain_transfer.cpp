#include "core/explain/explanation.h"
#include "core/transfer/transfer_function.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace ormica::detail {

namespace {

QString numbers3(double b, double g, double r)
{
    return QStringLiteral("(%1, %2, %3)").arg(ExplainNumber(b), ExplainNumber(g), ExplainNumber(r));
}

struct Brightness {
    int s = 0;              // B² + G² + R²
    long double light = 0;  // √(s / 3), at most 255
    int level = 0;          // its whole part
};

Brightness brightnessOf(int b, int g, int r, TExplanation& out)
{
    Brightness v;
    out.Steps.push_back({QCoreApplication::translate("Explain", "Исходная точка"), QStringLiteral("(B, G, R)"),
                         QStringLiteral("(%1, %2, %3)").arg(b).arg(g).arg(r)});
    v.s = b * b + g * g + r * r;
    out.Steps.push_back(
        {QCoreApplication::translate("Explain", "Сумма квадратов"), QStringLiteral("s = B² + G² + R²"),
         QStringList{QString::number(b), QString::number(g), QString::number(r)}.join(QStringLiteral("² + ")) +
             QStringLiteral("² = ") + QString::number(v.s)});
    v.light = std::min(std::sqrt(static_cast<long double>(v.s) / 3), 255.0L);
    v.level = int(v.light);
    out.Steps.push_back({QCoreApplication::translate("Explain", "Яркость"), QStringLiteral("L = √(s / 3)"),
                         QStringLiteral("√(%1 / 3) = %2").arg(v.s).arg(ExplainNumber(v.light))});
    out.Steps.push_back({QCoreApplication::translate("Explain", "Уровень яркости"), QStringLiteral("l = ⌊L⌋"),
                         QString::number(v.level)});
    return v;
}

// The factor k = F / l the segment from `seg` to `end` gives the pixel's brightness.
double factorOf(const TConvSegment& seg, const TConvSegment& end, const Brightness& v, TExplanation& out)
{
    if (v.s == 0) {
        out.Steps.push_back({QCoreApplication::translate("Explain", "Множитель"), QStringLiteral("k = 0"),
                             QCoreApplication::translate("Explain", "чёрная точка")});
        return 0;
    }
    const int level = v.level;
    if (seg.Vertical)
        out.Steps.push_back({QCoreApplication::translate("Explain", "Отрезок вертикальный"), QStringLiteral("F = Y₂"),
                             QString::number(end.Y)});
    else
        out.Steps.push_back({QCoreApplication::translate("Explain", "Наклон отрезка"),
                             QStringLiteral("a = (Y₂ − Y₁) / (X₂ − X₁)"),
                             QStringLiteral("(%1 − %2) / (%3 − %4) = %5")
                                 .arg(QString::number(end.Y), QString::number(seg.Y), QString::number(end.X),
                                      QString::number(seg.X), ExplainNumber(seg.Slope))});
    if (level >= 1) {
        const double f = seg.Vertical ? std::trunc(seg.Slope) : std::trunc(seg.Slope * (level - seg.X) + seg.Y);
        if (!seg.Vertical)
            out.Steps.push_back({QCoreApplication::translate("Explain", "Значение функции"),
                                 QStringLiteral("F = ⌊a·(l − X₁) + Y₁⌋"),
                                 QStringLiteral("⌊%1·(%2 − %3) + %4⌋ = %5")
                                     .arg(ExplainNumber(seg.Slope), QString::number(level), QString::number(seg.X),
                                          QString::number(seg.Y), ExplainNumber(f))});
        const double k = f / level;
        out.Steps.push_back(
            {QCoreApplication::translate("Explain", "Множитель"), QStringLiteral("k = F / l"),
             QStringLiteral("%1 / %2 = %3").arg(ExplainNumber(f), QString::number(level), ExplainNumber(k))});
        return k;
    }
    // Below level 1 the real brightness is used, so dark pixels follow the function too.
    const double ld = double(v.light);
    const double f = seg.Vertical ? seg.Slope : seg.Slope * (ld - seg.X) + seg.Y;
    if (!seg.Vertical)
        out.Steps.push_back({QCoreApplication::translate("Explain", "Значение функции"),
                             QCoreApplication::translate("Explain", "l < 1, берётся сама яркость: F = a·(L − X₁) + Y₁"),
                             QStringLiteral("%1·(%2 − %3) + %4 = %5")
                                 .arg(ExplainNumber(seg.Slope), ExplainNumber(ld), QString::number(seg.X),
                                      QString::number(seg.Y), ExplainNumber(f))});
    const double k = f / ld;
    out.Steps.push_back({QCoreApplication::translate("Explain", "Множитель"), QStringLiteral("k = F / L"),
                         QStringLiteral("%1 / %2 = %3").arg(ExplainNumber(f), ExplainNumber(ld), ExplainNumber(k))});
    return k;
}

// The channels times k, scaled down together past 255, then truncated.
TBGRTriple scaledChannels(int b, int g, int r, double k, TExplanation& out)
{
    double c0 = b * k, c1 = g * k, c2 = r * k;
    const QString kText = ExplainNumber(k);
    out.Steps.push_back({QCoreApplication::translate("Explain", "Произведения"), QStringLiteral("B·k, G·k, R·k"),
                         QStringLiteral("%1·%2 = %3; %4·%2 = %5; %6·%2 = %7")
                             .arg(QString::number(b), kText, ExplainNumber(c0), QString::number(g), ExplainNumber(c1),
                                  QString::number(r), ExplainNumber(c2))});
    const double m = std::max(c0, std::max(c1, c2));
    if (m > 255) {
        const QString before = numbers3(c0, c1, c2);
        const double f = 255 / m;
        c0 *= f;
        c1 *= f;
        c2 *= f;
        out.Steps.push_back({QCoreApplication::translate("Explain", "Насыщение (оттенок сохраняется)"),
                             QStringLiteral("m = max(B·k, G·k, R·k) > 255, c' = c·(255 / m)"),
                             QStringLiteral("%1·(255 / %2) = %3").arg(before, ExplainNumber(m), numbers3(c0, c1, c2))});
    }
    const TBGRTriple result{std::uint8_t(c0), std::uint8_t(c1), std::uint8_t(c2)};
    out.Steps.push_back({QCoreApplication::translate("Explain", "Отбрасывание дробной части"),
                         QStringLiteral("⌊B⌋, ⌊G⌋, ⌊R⌋"),
                         QStringLiteral("(%1, %2, %3)").arg(result.b).arg(result.g).arg(result.r)});
    return result;
}

}  // namespace

// ConvertPixel's arithmetic, each stage a step.
void ExplainTransfer(const TOperationRecord& record, int x, int y, TExplanation& out)
{
    const TConvSegments segments = BuildConvSegments(record.Points);
    if (segments.size() < 2) {
        out.Unavailable = QCoreApplication::translate(
            "Explain", "Передаточная функция задана меньше чем двумя точками: изображение не менялось.");
        return;
    }
    if (x >= record.Source.width() || y >= record.Source.height()) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Точка (%1, %2) лежит вне исходного изображения.").arg(x).arg(y);
        return;
    }
    const std::uint8_t* p = record.Source.constScanLine(y) + 3 * x;
    const int b = p[0], g = p[1], r = p[2];
    const Brightness v = brightnessOf(b, g, r, out);
    const int level = v.level;

    std::size_t pos = 0;
    while (pos + 1 < segments.size() && !(segments[pos].X <= level && level <= segments[pos + 1].X))
        ++pos;
    if (pos + 1 >= segments.size()) {
        out.Steps.push_back(
            {QCoreApplication::translate("Explain", "Отрезок"), QStringLiteral("X₁ ≤ l ≤ X₂"),
             QCoreApplication::translate("Explain", "нет отрезка для l = %1: точка не меняется").arg(level)});
        out.Result = TBGRTriple{p[0], p[1], p[2]};
        return;
    }
    const TConvSegment& seg = segments[pos];
    const TConvSegment& end = segments[pos + 1];
    out.Steps.push_back(
        {QCoreApplication::translate("Explain", "Отрезок"), QStringLiteral("X₁ ≤ l ≤ X₂"),
         QStringLiteral("(%1, %2) – (%3, %4): %1 ≤ %5 ≤ %3").arg(seg.X).arg(seg.Y).arg(end.X).arg(end.Y).arg(level)});

    double k = factorOf(seg, end, v, out);
    // Points outside 0..255 can make the factor negative; bytes cannot follow.
    if (!(k > 0)) {
        if (k < 0)
            out.Steps.push_back({QCoreApplication::translate("Explain", "Отрицательный множитель"),
                                 QStringLiteral("k < 0 → 0"), ExplainNumber(k) + QStringLiteral(" → 0")});
        k = 0;
    }
    out.Result = scaledChannels(b, g, r, k, out);
}

}  // namespace ormica::detail

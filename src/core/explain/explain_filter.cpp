#include "core/explain/explanation.h"
#include "core/filter/filter_tab.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace ormica::detail {

namespace {

TBGRTriple sourcePixel(const QImage& picture, int x, int y)
{
    const std::uint8_t* p = picture.constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

QString numbers3(double b, double g, double r)
{
    return QStringLiteral("(%1, %2, %3)").arg(ExplainNumber(b), ExplainNumber(g), ExplainNumber(r));
}

QString weighted(std::int64_t weight, int value)
{
    return weight < 0 ? QStringLiteral("(−%1)·%2").arg(-weight).arg(value)
                      : QStringLiteral("%1·%2").arg(weight).arg(value);
}

// FitToBytes step by step: the same fitting routines, then the truncation
// toward zero the filter's bytes get.
void fitAndTruncate(double b, double g, double r, TExplanation& out)
{
    const QString before = numbers3(b, g, r);
    bool fitted = false;
    if (r < 0 || g < 0 || b < 0) {
        const double m = std::min({r, g, b});
        FitUnderflow(r, g, b);
        out.Steps.push_back({QCoreApplication::translate("Explain", "Подъём отрицательных (оттенок сохраняется)"),
                             QStringLiteral("m = min(B, G, R), c' = 255 − (255 − c)·(255 / (255 − m))"),
                             QStringLiteral("255 − (255 − %1)·(255 / (255 − (%2))) = %3")
                                 .arg(before, ExplainNumber(m), numbers3(b, g, r))});
        fitted = true;
    }
    if (r > 255 || g > 255 || b > 255) {
        const QString from = numbers3(b, g, r);
        const double m = std::max({r, g, b});
        FitOverflow(r, g, b);
        out.Steps.push_back({QCoreApplication::translate("Explain", "Сжатие до 255 (оттенок сохраняется)"),
                             QStringLiteral("m = max(B, G, R), c' = c·(255 / m)"),
                             QStringLiteral("%1·(255 / %2) = %3").arg(from, ExplainNumber(m), numbers3(b, g, r))});
        fitted = true;
    }
    if (!fitted)
        out.Steps.push_back({QCoreApplication::translate("Explain", "Диапазон"), QStringLiteral("0 ≤ B, G, R ≤ 255"),
                             QCoreApplication::translate("Explain", "%1 в пределах, без изменений").arg(before)});
    const TBGRTriple result{std::uint8_t(int(b)), std::uint8_t(int(g)), std::uint8_t(int(r))};
    out.Steps.push_back({QCoreApplication::translate("Explain", "Отбрасывание дробной части"),
                         QStringLiteral("⌊B⌋, ⌊G⌋, ⌊R⌋"),
                         QStringLiteral("(%1, %2, %3)").arg(result.b).arg(result.g).arg(result.r)});
    out.Result = result;
}

// The border rule (FilterBorder): the source times the gain, or black when
// the weights sum to 0 or less, as a fresh target is.
void explainBorder(const TOperationRecord& record, std::int32_t sum, int x, int y, TExplanation& out)
{
    const int w = record.Source.width();
    const int h = record.Source.height();
    QString where;
    if (w < 7 || h < 7)
        where =
            QCoreApplication::translate("Explain", "W = %1, H = %2: окна 7 × 7 нет, вся картинка — край").arg(w).arg(h);
    else if (x < 3)
        where = QStringLiteral("x = %1 < 3").arg(x);
    else if (y < 3)
        where = QStringLiteral("y = %1 < 3").arg(y);
    else if (x > w - 4)
        where = QStringLiteral("x = %1 > W − 4 = %2").arg(x).arg(w - 4);
    else
        where = QStringLiteral("y = %1 > H − 4 = %2").arg(y).arg(h - 4);
    out.Steps.push_back({QCoreApplication::translate("Explain", "Краевая точка"), where, QString()});
    if (sum <= 0) {
        out.Steps.push_back({QCoreApplication::translate("Explain", "Сумма весов"), QStringLiteral("ΣW"),
                             QCoreApplication::translate("Explain", "%1 ≤ 0: край остаётся чёрным").arg(sum)});
        out.Result = TBGRTriple{};
        return;
    }
    const double gain = double(sum) / record.Scale;
    out.Steps.push_back({QCoreApplication::translate("Explain", "Усиление"), QStringLiteral("g = ΣW / M"),
                         QStringLiteral("%1 / %2 = %3").arg(sum).arg(record.Scale).arg(ExplainNumber(gain))});
    const TBGRTriple p = sourcePixel(record.Source, x, y);
    const double b = p.b * gain, g = p.g * gain, r = p.r * gain;
    const QString k = ExplainNumber(gain);
    out.Steps.push_back({QCoreApplication::translate("Explain", "Произведения"), QStringLiteral("B·g, G·g, R·g"),
                         QStringLiteral("%1·%2 = %3; %4·%2 = %5; %6·%2 = %7")
                             .arg(QString::number(p.b), k, ExplainNumber(b), QString::number(p.g), ExplainNumber(g),
                                  QString::number(p.r), ExplainNumber(r))});
    fitAndTruncate(b, g, r, out);
}

void explainInterior(const TOperationRecord& record, int x, int y, TExplanation& out)
{
    TNeighbourhood n;
    for (int i = 0; i < TFilterKernel::kSide; ++i) {
        n.Rows[std::size_t(i)] = y + i - TFilterKernel::kReach;
        n.Cols[std::size_t(i)] = x + i - TFilterKernel::kReach;
    }
    // The sums are integers well inside 32 bits (KernelFits), so the double
    // sums of the definition hold them exactly.
    std::int64_t sb = 0, sg = 0, sr = 0;
    QStringList tb, tg, tr;
    for (std::size_t i = 0; i < 7; ++i)
        for (std::size_t j = 0; j < 7; ++j) {
            const TBGRTriple p = sourcePixel(record.Source, n.Cols[j], n.Rows[i]);
            const std::int32_t weight = record.Kernel.at(int(i), int(j));
            n.Values[i][j] = p;
            n.Weights[i][j] = weight;
            if (weight == 0)
                continue;
            sb += std::int64_t(weight) * p.b;
            sg += std::int64_t(weight) * p.g;
            sr += std::int64_t(weight) * p.r;
            tb << weighted(weight, p.b);
            tg << weighted(weight, p.g);
            tr << weighted(weight, p.r);
        }
    out.Neighbourhood = n;
    out.Steps.push_back({QCoreApplication::translate("Explain", "Внутренняя точка"),
                         QCoreApplication::translate("Explain", "строки y − 3 … y + 3, столбцы x − 3 … x + 3"),
                         QCoreApplication::translate("Explain", "строки %1 … %2, столбцы %3 … %4")
                             .arg(n.Rows.front())
                             .arg(n.Rows.back())
                             .arg(n.Cols.front())
                             .arg(n.Cols.back())});
    // A short kernel is shown term by term; a wide one only by its sum.
    const bool terms = tb.size() <= 9;
    const auto sumStep = [&](const char* channel, const QStringList& products, std::int64_t sum) {
        const QString name = QString::fromLatin1(channel);
        out.Steps.push_back({QCoreApplication::translate("Explain", "Сумма произведений %1").arg(name),
                             QStringLiteral("S_%1 = Σ w·%1").arg(name),
                             terms && !products.isEmpty()
                                 ? products.join(QStringLiteral(" + ")) + QStringLiteral(" = ") + QString::number(sum)
                                 : QString::number(sum)});
    };
    sumStep("B", tb, sb);
    sumStep("G", tg, sg);
    sumStep("R", tr, sr);
    const double s = record.Scale;
    const double b = double(sb) / s, g = double(sg) / s, r = double(sr) / s;
    out.Steps.push_back(
        {QCoreApplication::translate("Explain", "Деление на масштаб"), QStringLiteral("S_B / M, S_G / M, S_R / M"),
         QStringLiteral("%1 / %4 = %5; %2 / %4 = %6; %3 / %4 = %7")
             .arg(QString::number(sb), QString::number(sg), QString::number(sr), QString::number(record.Scale),
                  ExplainNumber(b), ExplainNumber(g), ExplainNumber(r))});
    fitAndTruncate(b, g, r, out);
}

}  // namespace

void ExplainFilter(const TOperationRecord& record, int x, int y, TExplanation& out)
{
    const int w = record.Source.width();
    const int h = record.Source.height();
    // FilterTabColor's refusals write nothing: there is no arithmetic to show.
    if (w < 4 || h < 4) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Изображение меньше 4 x 4 пикселей: фильтр не применялся.");
        return;
    }
    if (record.Scale < 1) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Масштаб цифрового фильтра меньше единицы: фильтр не применялся.");
        return;
    }
    if (!KernelFits(record.Kernel)) {
        out.Unavailable = QCoreApplication::translate("Explain", "Веса фильтра слишком велики: фильтр не применялся.");
        return;
    }
    if (x >= w || y >= h) {
        out.Unavailable =
            QCoreApplication::translate("Explain", "Точка (%1, %2) лежит вне исходного изображения.").arg(x).arg(y);
        return;
    }
    // The interior convolution overwrites the fourth row and column of the
    // border, so the border that stays is three pixels wide.
    const bool interior = w >= 7 && h >= 7 && x >= 3 && y >= 3 && x <= w - 4 && y <= h - 4;
    if (interior)
        explainInterior(record, x, y, out);
    else
        explainBorder(record, *KernelSum(record.Kernel), x, y, out);
}

}  // namespace ormica::detail

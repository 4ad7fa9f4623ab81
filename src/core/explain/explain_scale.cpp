// Area-average scaling worked out for one pixel: the source area it covers,
// the weights of its rows and columns, the weighted sums and their rounding,
// in whichever of the resampler's regimes these sizes take.
#include "core/explain/explanation.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <vector>

namespace ormica::detail {

namespace {

constexpr std::int64_t kOne = 4096;  // the rounded weights of one pixel sum to this
// More taps than this beyond the first on both axes together, and rounded
// weights could move the mean by half a level: the exact weights take over.
constexpr int kMostExtraTaps = int(kOne / 255);

enum class Regime { Copy, Halve, Rounded, Exact };

// The source pixels along one axis that target index j covers, with their weights.
struct Axis {
    int first = 0;
    std::vector<std::int64_t> weights;
    std::int64_t whole = 0;  // what the weights sum to
};

// Destination j spans [j·srcLen, (j + 1)·srcLen) and source i spans
// [i·dstLen, (i + 1)·dstLen), in units of 1 / (srcLen·dstLen) of the axis.
Axis axisTaps(int srcLen, int dstLen, int j, bool exact)
{
    const std::int64_t unit = exact ? std::gcd(srcLen, dstLen) : 1;
    const std::int64_t lo = std::int64_t(j) * srcLen, hi = lo + srcLen;
    Axis a;
    a.first = int(lo / dstLen);
    const int last = std::min(srcLen - 1, int((hi - 1) / dstLen));
    a.whole = exact ? srcLen / unit : kOne;
    std::int64_t covered = 0, rounded = 0;
    for (int i = a.first; i <= last; ++i) {
        const std::int64_t overlap =
            std::min(hi, std::int64_t(i + 1) * dstLen) - std::max(lo, std::int64_t(i) * dstLen);
        if (exact) {
            a.weights.push_back(overlap / unit);
            continue;
        }
        // Steps of rounded running totals, so the weights sum to kOne exactly.
        covered += overlap;
        const std::int64_t total = (covered * kOne * 2 + srcLen) / (2 * std::int64_t(srcLen));
        a.weights.push_back(total - rounded);
        rounded = total;
    }
    return a;
}

// The most source pixels any target index covers along the axis.
int widest(int srcLen, int dstLen)
{
    int most = 0;
    for (int j = 0; j < dstLen; ++j) {
        const std::int64_t lo = std::int64_t(j) * srcLen;
        const int first = int(lo / dstLen);
        const int last = std::min(srcLen - 1, int((lo + srcLen - 1) / dstLen));
        most = std::max(most, last - first + 1);
    }
    return most;
}

QString triple(TBGRTriple t)
{
    return QStringLiteral("(%1, %2, %3)").arg(t.b).arg(t.g).arg(t.r);
}

// Long lists shown by their ends: the student sees the pattern, the sum covers all.
QString listed(const std::vector<std::int64_t>& values)
{
    constexpr std::size_t kEnds = 3;
    QStringList parts;
    if (values.size() <= 2 * kEnds + 1) {
        for (std::int64_t v : values)
            parts << QString::number(v);
        return parts.join(QStringLiteral(", "));
    }
    for (std::size_t k = 0; k < kEnds; ++k)
        parts << QString::number(values[k]);
    parts << QStringLiteral("…");
    for (std::size_t k = values.size() - kEnds; k < values.size(); ++k)
        parts << QString::number(values[k]);
    return QCoreApplication::translate("Explain", "%1 (всего %2)")
        .arg(parts.join(QStringLiteral(", ")), QString::number(values.size()));
}

// `pattern` names the axis around its range (%1), weights (%2) and their sum (%3).
QString weightsText(const QString& pattern, const Axis& a)
{
    const int last = a.first + int(a.weights.size()) - 1;
    const QString range = a.first == last ? QString::number(a.first) : QStringLiteral("%1…%2").arg(a.first).arg(last);
    return pattern.arg(range, listed(a.weights)).arg(a.whole);
}

// The mean sum / whole rounded to nearest, halves to even, in whole numbers.
std::uint8_t roundedMean(std::int64_t sum, std::int64_t whole)
{
    const std::int64_t q = sum / whole, twice = 2 * (sum % whole);
    return std::uint8_t(q + (twice > whole || (twice == whole && (q & 1)) ? 1 : 0));
}

QString channelName(int c)
{
    return QString(QLatin1Char("BGR"[c]));
}

// Copying for equal sizes, halving for exactly half of both, otherwise the
// rounded weights while the taps are few enough, the exact ones beyond.
Regime chooseRegime(int sw, int sh, int dw, int dh, TExplanation& out)
{
    if (sw == dw && sh == dh)
        return Regime::Copy;
    if (sw == 2 * dw && sh == 2 * dh)
        return Regime::Halve;
    const int nx = widest(sw, dw), ny = widest(sh, dh);
    const Regime regime = nx + ny - 2 > kMostExtraTaps ? Regime::Exact : Regime::Rounded;
    out.Steps.push_back(
        {QCoreApplication::translate("Explain", "Способ (nx, ny — наибольшее число столбцов и строк на точку)"),
         QStringLiteral("nx + ny − 2"),
         QStringLiteral("%1 + %2 − 2 = %3 %4 %5 → %6")
             .arg(nx)
             .arg(ny)
             .arg(nx + ny - 2)
             .arg(regime == Regime::Exact ? QStringLiteral(">") : QStringLiteral("≤"))
             .arg(kMostExtraTaps)
             .arg(regime == Regime::Exact ? QCoreApplication::translate("Explain", "точные веса в целых числах")
                                          : QCoreApplication::translate("Explain", "веса в долях 1/%1").arg(kOne))});
    return regime;
}

void copyPixel(const QImage& src, int x, int y, TExplanation& out)
{
    out.Steps.push_back({QCoreApplication::translate("Explain", "Способ"),
                         QCoreApplication::translate("Explain", "размеры равны: точка копируется"), QString()});
    const std::uint8_t* p = src.constScanLine(y) + 3 * x;
    out.Result = TBGRTriple{p[0], p[1], p[2]};
    out.Steps.push_back({QCoreApplication::translate("Explain", "Значение исходной точки"),
                         QCoreApplication::translate("Explain", "(B, G, R) в точке (x, y)"),
                         QStringLiteral("(%1, %2) → %3").arg(x).arg(y).arg(triple(*out.Result))});
}

// The source area the target pixel covers, as fractions of source pixels.
void areaSteps(int sw, int sh, int dw, int dh, int x, int y, TExplanation& out)
{
    const QString span = QStringLiteral("%1·%2/%3 … %4·%2/%3 = %5 … %6");
    out.Steps.push_back({QCoreApplication::translate("Explain", "Область по столбцам"),
                         QStringLiteral("x·W/w … (x + 1)·W/w"),
                         span.arg(x)
                             .arg(sw)
                             .arg(dw)
                             .arg(x + 1)
                             .arg(ExplainNumber(static_cast<long double>(x) * sw / dw, 6))
                             .arg(ExplainNumber(static_cast<long double>(x + 1) * sw / dw, 6))});
    out.Steps.push_back({QCoreApplication::translate("Explain", "Область по строкам"),
                         QStringLiteral("y·H/h … (y + 1)·H/h"),
                         span.arg(y)
                             .arg(sh)
                             .arg(dh)
                             .arg(y + 1)
                             .arg(ExplainNumber(static_cast<long double>(y) * sh / dh, 6))
                             .arg(ExplainNumber(static_cast<long double>(y + 1) * sh / dh, 6))});
}

void weightSteps(const Axis& ax, const Axis& ay, bool exact, TExplanation& out)
{
    auto weightRule = [&](const QString& name, const QString& target, const QString& source) {
        return exact
                   ? QCoreApplication::translate("Explain", "%1(i) = доля пикселя i в области · %2 / НОД(%3, %2)")
                         .arg(name, target, source)
                   : QCoreApplication::translate("Explain",
                                                 "%1(i) = T(i) − T(i − 1), T(i) = round(%2 · доля области до пикселя i "
                                                 "включительно)")
                         .arg(name)
                         .arg(kOne);
    };
    out.Steps.push_back({QCoreApplication::translate("Explain", "Веса столбцов"),
                         weightRule(QStringLiteral("wx"), QStringLiteral("w"), QStringLiteral("W")),
                         weightsText(QCoreApplication::translate("Explain", "столбцы %1: %2; Σ = %3"), ax)});
    out.Steps.push_back({QCoreApplication::translate("Explain", "Веса строк"),
                         weightRule(QStringLiteral("wy"), QStringLiteral("h"), QStringLiteral("H")),
                         weightsText(QCoreApplication::translate("Explain", "строки %1: %2; Σ = %3"), ay)});
}

// The weighted sums of the three channels over the area, each a step.
std::array<std::int64_t, 3> weightedSums(const QImage& src, const Axis& ax, const Axis& ay, TExplanation& out)
{
    // Integer sums: exact in either regime (at most 255·2^32 with exact weights).
    std::array<std::int64_t, 3> sums = {0, 0, 0};
    for (std::size_t j = 0; j < ay.weights.size(); ++j) {
        const std::uint8_t* p = src.constScanLine(ay.first + int(j)) + 3 * std::size_t(ax.first);
        // A row's sums along it first: the whole picture into one pixel
        // weighs millions of source pixels.
        std::int64_t b = 0, g = 0, r = 0;
        for (std::size_t i = 0; i < ax.weights.size(); ++i, p += 3) {
            b += ax.weights[i] * p[0];
            g += ax.weights[i] * p[1];
            r += ax.weights[i] * p[2];
        }
        sums[0] += ay.weights[j] * b;
        sums[1] += ay.weights[j] * g;
        sums[2] += ay.weights[j] * r;
    }
    // The terms themselves only while a student can still read them.
    const std::size_t terms = ax.weights.size() * ay.weights.size();
    constexpr std::size_t kShownTerms = 9;
    QStringList shown[3];
    if (terms <= kShownTerms)
        for (std::size_t j = 0; j < ay.weights.size(); ++j)
            for (std::size_t i = 0; i < ax.weights.size(); ++i) {
                const std::uint8_t* p = src.constScanLine(ay.first + int(j)) + 3 * (std::size_t(ax.first) + i);
                for (int c = 0; c < 3; ++c)
                    shown[c] << QStringLiteral("%1·%2·%3").arg(ay.weights[j]).arg(ax.weights[i]).arg(p[c]);
            }
    for (int c = 0; c < 3; ++c) {
        const QString expansion = terms <= kShownTerms
                                      ? shown[c].join(QStringLiteral(" + "))
                                      : QCoreApplication::translate("Explain", "%1 слагаемых").arg(terms);
        out.Steps.push_back({QCoreApplication::translate("Explain", "Сумма %1").arg(channelName(c)),
                             QStringLiteral("S%1 = Σ wy · wx · %1").arg(channelName(c)),
                             QStringLiteral("%1 = %2").arg(expansion).arg(sums[c])});
    }
    return sums;
}

TBGRTriple dividedSums(const std::array<std::int64_t, 3>& sums, std::int64_t whole, TExplanation& out)
{
    std::uint8_t level[3];
    QStringList divisions;
    for (int c = 0; c < 3; ++c) {
        level[c] = roundedMean(sums[c], whole);
        const bool half = 2 * (sums[c] % whole) == whole;
        divisions << (half ? QCoreApplication::translate("Explain", "%1: %2 / %3 = %4 → %5 (половина — к чётному)")
                           : QStringLiteral("%1: %2 / %3 = %4 → %5"))
                         .arg(channelName(c))
                         .arg(sums[c])
                         .arg(whole)
                         .arg(ExplainNumber(static_cast<long double>(sums[c]) / whole))
                         .arg(level[c]);
    }
    out.Steps.push_back({QCoreApplication::translate("Explain", "Деление и округление (половины к чётному)"),
                         QStringLiteral("round(S / (Σwy · Σwx))"), divisions.join(QStringLiteral("; "))});
    return TBGRTriple{level[0], level[1], level[2]};
}

}  // namespace

void ExplainScale(const TOperationRecord& record, const QImage& written, int x, int y, TExplanation& out)
{
    const QImage& src = record.Source;
    const int sw = src.width(), sh = src.height(), dw = written.width(), dh = written.height();
    out.Steps.push_back({QCoreApplication::translate("Explain", "Размеры"), QStringLiteral("W × H → w × h"),
                         QStringLiteral("%1 × %2 → %3 × %4").arg(sw).arg(sh).arg(dw).arg(dh)});

    const Regime regime = chooseRegime(sw, sh, dw, dh, out);
    if (regime == Regime::Copy) {
        copyPixel(src, x, y, out);
        return;
    }
    if (regime == Regime::Halve)
        out.Steps.push_back({QCoreApplication::translate("Explain", "Способ"),
                             QCoreApplication::translate("Explain", "уменьшение вдвое: среднее блока 2 × 2"),
                             QString()});
    areaSteps(sw, sh, dw, dh, x, y, out);

    // Halving weighs every pixel of the block alike: the exact weights, 1 each.
    const bool exact = regime != Regime::Rounded;
    const Axis ax = axisTaps(sw, dw, x, exact), ay = axisTaps(sh, dh, y, exact);
    weightSteps(ax, ay, exact, out);
    const std::array<std::int64_t, 3> sums = weightedSums(src, ax, ay, out);
    out.Result = dividedSums(sums, ax.whole * ay.whole, out);
}

}  // namespace ormica::detail

#include "core/histogram/fragment_stats.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <cmath>
#include <new>

namespace ormica {

long double ChannelValue(const TBGRTriple& pixel, char channel)
{
    switch (channel) {
    case 'R':
        return pixel.r;
    case 'G':
        return pixel.g;
    case 'B':
        return pixel.b;
    default: {
        const long double r = pixel.r, g = pixel.g, b = pixel.b;
        return std::sqrt(r * r + g * g + b * b) / std::sqrt(3.0L);
    }
    }
}

QString NoPointChosenMessage()
{
    return QCoreApplication::translate("FragmentStats", "Вначале выберите координаты\r\n(кликните в поле изображения)");
}
QString TooSmallFragmentMessage()
{
    return QCoreApplication::translate("FragmentStats", "Габариты изображения\r\nменьше двух точек");
}
QString RowOutsideMessage()
{
    return QCoreApplication::translate("FragmentStats", "Координаты СТРОКИ ВНЕ\r\nразмеров изображения");
}
QString ColumnOutsideMessage()
{
    return QCoreApplication::translate("FragmentStats", "Координаты СТОЛБЦА ВНЕ\r\nразмеров изображения");
}
QString NoWorkMemoryMessage()
{
    return QCoreApplication::translate("FragmentStats", "Недостаточно памяти под рабочие массивы");
}
QString StatisticsNeededMessage()
{
    return QCoreApplication::translate("FragmentStats", "Необходим расчет мат. ожидания и дисперсии");
}
QString TooFewFunctionPointsMessage()
{
    return QCoreApplication::translate("FragmentStats", "Функции должны содержать не менее двух точек");
}
QString UnequalFunctionsMessage()
{
    return QCoreApplication::translate("FragmentStats", "Число точек в функциях должно быть одинаковым");
}

bool ExtractSample(const TImgTabColor& fragment, bool pointFrozen, char mode, TAcExtract& ac)
{
    if (!pointFrozen) {
        messages().warning(NoPointChosenMessage());
        return false;
    }
    ac.StatReady = false;
    if (fragment.rowCount() < 2 || fragment.rowLength(0) < 2) {
        messages().warning(TooSmallFragmentMessage());
        return false;
    }
    if (mode == 'R') {
        if (ac.SelRow < 0 || ac.SelRow >= fragment.rowCount()) {
            ac.SelRow = -1;
            messages().warning(RowOutsideMessage());
            return false;
        }
        const auto row = fragment[ac.SelRow];
        if (!AllocAcArrays(ac, std::int32_t(row.size())))
            return false;
        for (std::size_t j = 0; j < row.size(); ++j)
            ac.Extract[j] = row[j];
        return true;
    }
    if (ac.SelCol < 0 || ac.SelCol >= fragment.rowLength(0)) {
        ac.SelCol = -1;
        messages().warning(ColumnOutsideMessage());
        return false;
    }
    if (!AllocAcArrays(ac, fragment.rowCount()))
        return false;
    for (int i = 0; i < fragment.rowCount(); ++i) {
        // The program's fragments are rectangles; a shorter row would give black.
        const auto row = fragment[i];
        ac.Extract[std::size_t(i)] = std::size_t(ac.SelCol) < row.size() ? row[std::size_t(ac.SelCol)] : TBGRTriple{};
    }
    return true;
}

void FreeAcArrays(TAcExtract& ac)
{
    ac.Extract = {};
    ac.Centred = {};
    ac.ConvFunc = {};
    ac.AcResult = {};
    ac.GraphCentred = {};
    ac.GraphAc = {};
    ac.GraphFunc = {};
}

bool AllocAcArrays(TAcExtract& ac, std::int32_t n)
{
    ac.NumPnt = n;
    const std::size_t size = n > 0 ? std::size_t(n) : 0;
    try {
        ac.Extract.assign(size, TBGRTriple{});
        ac.Centred.assign(size, 0);
        ac.ConvFunc.assign(size, 0);
        ac.GraphCentred.assign(size, TGraphPoint{});
        ac.GraphAc.assign(size, TGraphPoint{});
        ac.GraphFunc.assign(size, TGraphPoint{});
    } catch (const std::bad_alloc&) {
        FreeAcArrays(ac);
        messages().warning(NoWorkMemoryMessage());
        return false;
    }
    return true;
}

void SampleMean(TAcExtract& ac, char channel)
{
    ac.Mean = 0;
    const std::size_t n = ac.Extract.size();
    if (n < 2)
        return;
    long double sum = 0;
    for (const TBGRTriple& p : ac.Extract)
        sum += ChannelValue(p, channel);
    ac.Mean = sum / static_cast<long double>(n);
}

void SampleVariance(TAcExtract& ac, char channel)
{
    ac.Variance = 0;
    const std::size_t n = ac.Extract.size();
    if (n < 2)
        return;
    long double sum = 0;
    for (const TBGRTriple& p : ac.Extract) {
        const long double d = ChannelValue(p, channel) - ac.Mean;
        sum += d * d;
    }
    ac.Variance = sum / static_cast<long double>(n);
    ac.StatReady = true;
}

void CentreSample(TAcExtract& ac, char channel)
{
    const std::size_t n = ac.Extract.size();
    ac.Centred.resize(n);
    ac.GraphCentred.resize(n);
    for (std::size_t j = 0; j < n; ++j) {
        ac.Centred[j] = ChannelValue(ac.Extract[j], channel) - ac.Mean;
        ac.GraphCentred[j] = {static_cast<long double>(j), ac.Centred[j]};
    }
}

void SampleStatistics(TAcExtract& ac, char channel)
{
    SampleMean(ac, channel);
    SampleVariance(ac, channel);
    CentreSample(ac, channel);
}

bool BuildConvFunc(TAcExtract& ac, int funcIndex)
{
    const std::size_t n = ac.ConvFunc.size();
    if (n < 2 || n != ac.Centred.size())
        return false;
    const std::size_t h = n - 1;
    const std::size_t c = h / 5;
    ac.GraphFunc.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const long double x = static_cast<long double>(i) / static_cast<long double>(h);
        long double v = 1;
        switch (funcIndex) {
        case kFuncX:
            v = x;
            break;
        case kFuncOneMinusX:
            v = 1 - x;
            break;
        case kFuncRect:
            v = (2 * c <= i && i <= 3 * c) ? 1 : 0;
            break;
        default:
            break;
        }
        ac.ConvFunc[i] = v;
        ac.GraphFunc[i] = {static_cast<long double>(i), v};
    }
    return true;
}

long double LaggedProductSum(char mode, const TArrExtnd& f, const TArrExtnd& g, std::int32_t lag, long double divisor)
{
    const TArrExtnd& s = mode == 'A' ? f : g;
    const std::size_t n = f.size();
    const std::size_t k = lag < 0 ? std::size_t(-std::int64_t(lag)) : std::size_t(lag);
    if (k >= n || s.size() < n)
        return 0;
    // Each product is extended; the sum is kept as a double, as it always was.
    double sum = 0;
    for (std::size_t i = 0; i + k < n; ++i) {
        const long double product = lag >= 0 ? f[i + k] * s[i] : f[i] * s[i + k];
        sum = static_cast<double>(static_cast<long double>(sum) + product);
    }
    long double result = sum;
    if (mode == 'A' && divisor > 0)
        result /= divisor;
    return result;
}

void Correlate(char mode, const TArrExtnd& f, const TArrExtnd& g, TArrExtnd& result, long double divisor)
{
    if (f.size() < 2 || g.size() < 2) {
        messages().information(TooFewFunctionPointsMessage());
        return;
    }
    if (f.size() != g.size()) {
        messages().information(UnequalFunctionsMessage());
        return;
    }
    const auto n = std::int32_t(f.size());
    result.assign(2 * std::size_t(n) + 3, 0);
    if (mode != 'A' && mode != 'C')
        return;
    for (std::int32_t k = -(n - 1); k <= n - 1; ++k)
        result[std::size_t(k + n + 1)] = LaggedProductSum(mode, f, g, k, divisor);
}

bool CorrelateSample(TAcExtract& ac, char mode)
{
    if (!ac.StatReady || ac.Centred.size() < 3) {
        messages().warning(StatisticsNeededMessage());
        return false;
    }
    Correlate(mode, ac.Centred, ac.ConvFunc, ac.AcResult, ac.Variance);
    const std::size_t len = ac.AcResult.size();
    ac.GraphAc.resize(len);
    const auto half = static_cast<long double>(len / 2);
    for (std::size_t i = 0; i < len; ++i)
        ac.GraphAc[i] = {static_cast<long double>(i) - half, ac.AcResult[i]};
    return true;
}

namespace {

qsizetype pixelCount(const TImgTabColor& fragment)
{
    qsizetype count = 0;
    for (int r = 0; r < fragment.rowCount(); ++r)
        count += fragment.rowLength(r);
    return count;
}

}  // namespace

long double FragmentMean(const TImgTabColor& fragment, char channel)
{
    const qsizetype count = pixelCount(fragment);
    if (count == 0)
        return 0;
    long double sum = 0;
    for (int r = 0; r < fragment.rowCount(); ++r)
        for (const TBGRTriple& p : fragment[r])
            sum += ChannelValue(p, channel);
    return sum / static_cast<long double>(count);
}

long double FragmentVariance(const TImgTabColor& fragment, char channel, long double mean)
{
    const qsizetype count = pixelCount(fragment);
    if (count == 0)
        return 0;
    long double sum = 0;
    for (int r = 0; r < fragment.rowCount(); ++r)
        for (const TBGRTriple& p : fragment[r]) {
            const long double d = ChannelValue(p, channel) - mean;
            sum += d * d;
        }
    return sum / static_cast<long double>(count);
}

}  // namespace ormica

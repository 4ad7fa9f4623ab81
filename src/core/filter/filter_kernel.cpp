#include "core/filter/filter_kernel.h"

#include "core/engine/message_sink.h"

#include <QCoreApplication>
#include <cstdlib>
#include <limits>

namespace ormica {

namespace {

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMinInt32 = std::numeric_limits<std::int32_t>::min();

}  // namespace

QStringList FilterTypeNames()
{
    static constexpr const char* names[] = {
        QT_TRANSLATE_NOOP("FilterKernel", "Неопределенный"),
        QT_TRANSLATE_NOOP("FilterKernel", "Сглаживающий"),
        QT_TRANSLATE_NOOP("FilterKernel", "Обостряющий"),
        QT_TRANSLATE_NOOP("FilterKernel", "Специальный"),
    };
    QStringList list;
    for (const char* name : names)
        list << QCoreApplication::translate("FilterKernel", name);
    return list;
}

std::optional<std::int32_t> KernelSum(const TFilterKernel& kernel)
{
    // 49 weights of 32 bits cannot overflow 64 bits.
    std::int64_t sum = 0;
    for (std::int32_t w : kernel.Weights)
        sum += w;
    if (sum > kMaxInt32 || sum < kMinInt32)
        return std::nullopt;
    return std::int32_t(sum);
}

void ClearKernel(TFilterKernel& kernel)
{
    kernel.Weights.fill(0);
}

std::int32_t MakeUnitKernel(TFilterKernel& kernel, std::int32_t value)
{
    ClearKernel(kernel);
    if (value <= 0)
        value = 1;
    kernel.centre() = value;
    return value;
}

bool KernelFits(const TFilterKernel& kernel)
{
    if (!KernelSum(kernel))
        return false;
    std::int64_t absolute = 0;
    for (std::int32_t w : kernel.Weights)
        absolute += std::llabs(w);
    return absolute * 255 <= kMaxInt32;
}

QString KernelTooLargeText()
{
    return QCoreApplication::translate(
        "FilterKernel", "Веса фильтра слишком велики: сумма весов или сумма их модулей, умноженная на 255, "
                        "выходит за пределы 32-битного целого.\r\nОперация отменена.");
}

bool CheckKernel(const TFilterKernel& kernel, const QString& routine)
{
    if (KernelFits(kernel))
        return true;
    messages().error(routine + QStringLiteral(" : ") + KernelTooLargeText());
    return false;
}

QString ScaleBelowOneRunText()
{
    return QCoreApplication::translate(
        "FilterKernel", "Масштаб цифрового фильтра меньше единицы.\r\nПерезагрузите или отредактируйте фильтр.");
}

}  // namespace ormica

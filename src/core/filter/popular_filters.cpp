#include "core/filter/popular_filters.h"

#include <QCoreApplication>

namespace ormica {

std::span<const TReadyFilter> ReadyFilters()
{
    static constexpr TReadyFilter table[] = {
        {"H1", 2, QT_TRANSLATE_NOOP("ReadyFilters", "Широкий"), "wide", &PopFilterH1},
        {"H2", 2, QT_TRANSLATE_NOOP("ReadyFilters", "Нормальный"), "normal", &PopFilterH2},
        {"H3", 2, QT_TRANSLATE_NOOP("ReadyFilters", "Узкий"), "narrow", &PopFilterH3},
        {"L1", 1, QT_TRANSLATE_NOOP("ReadyFilters", "Широкий"), "wide", &PopFilterL1},
        {"L2", 1, QT_TRANSLATE_NOOP("ReadyFilters", "Нормальный"), "normal", &PopFilterL2},
        {"L3", 1, QT_TRANSLATE_NOOP("ReadyFilters", "Узкий"), "narrow", &PopFilterL3},
    };
    return table;
}

QString ReadyFilterMenuText(const TReadyFilter& filter)
{
    return QCoreApplication::translate("ReadyFilters", filter.width);
}

std::optional<TFilterKernel> PopularFilter(const QString& name)
{
    for (const TReadyFilter& f : ReadyFilters())
        if (name == QLatin1String(f.name))
            return *f.kernel;
    return std::nullopt;
}

}  // namespace ormica

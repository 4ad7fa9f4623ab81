#include "core/filter/popular_filters.h"

namespace ormica {

std::span<const TReadyFilter> ReadyFilters()
{
    static constexpr TReadyFilter table[] = {
        {"H1", 2, "Широкий", "wide", &PopFilterH1},      {"H2", 2, "Нормальный", "normal", &PopFilterH2},
        {"H3", 2, "Узкий", "narrow", &PopFilterH3},      {"L1", 1, "Широкий", "wide", &PopFilterL1},
        {"L2", 1, "Нормальный", "normal", &PopFilterL2}, {"L3", 1, "Узкий", "narrow", &PopFilterL3},
    };
    return table;
}

std::optional<TFilterKernel> PopularFilter(const QString& name)
{
    for (const TReadyFilter& f : ReadyFilters())
        if (name == QLatin1String(f.name))
            return *f.kernel;
    return std::nullopt;
}

}  // namespace ormica

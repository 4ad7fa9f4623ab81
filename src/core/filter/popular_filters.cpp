#include "core/filter/popular_filters.h"

namespace ormica {

std::optional<TFilterKernel> PopularFilter(const QString& name)
{
    struct Entry {
        const char* name;
        const TFilterKernel* kernel;
    };
    static constexpr Entry table[] = {{"H1", &PopFilterH1}, {"H2", &PopFilterH2}, {"H3", &PopFilterH3},
                                      {"L1", &PopFilterL1}, {"L2", &PopFilterL2}, {"L3", &PopFilterL3}};
    for (const Entry& e : table)
        if (name == QLatin1String(e.name))
            return *e.kernel;
    return std::nullopt;
}

}  // namespace ormica

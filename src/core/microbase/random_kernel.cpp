#include "core/microbase/random_kernel.h"

#include <chrono>
#include <cstdlib>
#include <random>

namespace ormica {

void RandomKernel(int t, TFilterKernel& kernel, const std::function<int(int)>& random)
{
    kernel.centre() = 6 + random(6);
    for (int i = 0; i < TFilterKernel::kSide; ++i)
        for (int j = 0; j < TFilterKernel::kSide; ++j) {
            if (i == TFilterKernel::kReach || j == TFilterKernel::kReach)
                continue;
            const int d = std::abs(i - 3) + std::abs(j - 3);
            const int f = std::abs(6 - d);
            const int g = random(f + 1);
            int w = 0;
            switch (t) {
            case 0:
                w = g;
                break;
            case 1:
                w = -g;
                break;
            case 2:
                w = random(2) == 1 ? g : -g;
                break;
            default:
                w = 0;
                break;
            }
            kernel.at(i, j) = w;
        }
}

void RandomKernel(int t, TFilterKernel& kernel)
{
    std::mt19937 engine(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^
        std::chrono::system_clock::now().time_since_epoch().count()));
    RandomKernel(t, kernel, [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); });
}

std::int32_t ScaleOfKernel(const TFilterKernel& kernel)
{
    const std::optional<std::int32_t> sum = KernelSum(kernel);
    return sum && *sum > 0 ? *sum : 1;
}

}  // namespace ormica

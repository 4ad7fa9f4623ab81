#include "core/filter/frequency_response.h"

#include <cmath>
#include <numbers>

namespace ormica {

TFrequencyResponse FrequencyResponse(const TFilterKernel& kernel, std::int32_t scale, int n)
{
    TFrequencyResponse response;
    if (n < 2 || n > 1024 || scale < 1)
        return response;
    constexpr int side = TFilterKernel::kSide;
    constexpr int reach = TFilterKernel::kReach;

    // e^(-2 pi i f m / n) for every frequency index f - n/2 and offset m. The
    // phase f m is reduced modulo n before the angle is formed, so that large
    // grids lose no precision to big arguments of cos and sin.
    std::vector<double> cosine(std::size_t(n) * side), sine(std::size_t(n) * side);
    for (int k = 0; k < n; ++k)
        for (int m = -reach; m <= reach; ++m) {
            const int phase = (((k - n / 2) * m) % n + n) % n;
            const long double angle = -2 * std::numbers::pi_v<long double> * phase / n;
            cosine[std::size_t(k) * side + std::size_t(m + reach)] = double(std::cos(angle));
            sine[std::size_t(k) * side + std::size_t(m + reach)] = double(std::sin(angle));
        }

    response.Size = n;
    response.Magnitude.resize(std::size_t(n) * std::size_t(n));
    for (int i = 0; i < n; ++i) {
        // The sum over the rows first: it depends on v alone.
        const double* rowCos = &cosine[std::size_t(i) * side];
        const double* rowSin = &sine[std::size_t(i) * side];
        double re[side], im[side];
        for (int c = 0; c < side; ++c) {
            re[c] = im[c] = 0;
            for (int r = 0; r < side; ++r) {
                re[c] += kernel.at(r, c) * rowCos[r];
                im[c] += kernel.at(r, c) * rowSin[r];
            }
        }
        for (int j = 0; j < n; ++j) {
            const double* colCos = &cosine[std::size_t(j) * side];
            const double* colSin = &sine[std::size_t(j) * side];
            double sumRe = 0, sumIm = 0;
            for (int c = 0; c < side; ++c) {
                sumRe += re[c] * colCos[c] - im[c] * colSin[c];
                sumIm += re[c] * colSin[c] + im[c] * colCos[c];
            }
            response.Magnitude[std::size_t(i) * std::size_t(n) + std::size_t(j)] = std::hypot(sumRe, sumIm) / scale;
        }
    }
    return response;
}

}  // namespace ormica

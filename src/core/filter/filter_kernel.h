#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace ormica {

// 7 x 7 signed weights, row 0 first, each row column 0 first. The weight at
// (r, c) multiplies the source pixel r - 3 rows and c - 3 columns away from the
// output pixel; the kernel is not mirrored.
struct TFilterKernel {
    static constexpr int kSide = 7;
    static constexpr int kReach = 3;
    static constexpr int kCount = kSide * kSide;

    std::array<std::int32_t, kCount> Weights{};

    constexpr std::int32_t& at(int row, int column) { return Weights[std::size_t(row * kSide + column)]; }
    constexpr std::int32_t at(int row, int column) const { return Weights[std::size_t(row * kSide + column)]; }
    constexpr std::int32_t& centre() { return at(kReach, kReach); }
    constexpr std::int32_t centre() const { return at(kReach, kReach); }
    friend bool operator==(const TFilterKernel&, const TFilterKernel&) = default;
};

// The names of the filter types 0 .. 3: "Неопределенный", "Сглаживающий",
// "Обостряющий", "Специальный". The type is carried with a filter and stored
// with it; the arithmetic never looks at it.
QStringList FilterTypeNames();

// The sum of the 49 weights; nullopt when it leaves the signed 32-bit range
// (the sum never wraps).
std::optional<std::int32_t> KernelSum(const TFilterKernel& kernel);

void ClearKernel(TFilterKernel& kernel);

// Clears the kernel and puts `value` in the centre (1 when value <= 0);
// returns that value as the scale.
std::int32_t MakeUnitKernel(TFilterKernel& kernel, std::int32_t value);

// True when the convolution's integer arithmetic cannot overflow: the weight
// sum and 255 times the sum of absolute weights both fit a signed 32-bit
// integer.
bool KernelFits(const TFilterKernel& kernel);

// KernelFits, and when it fails the error "<routine> : <KernelTooLargeText()>".
// Whoever refuses a kernel this way keeps the previous one.
bool CheckKernel(const TFilterKernel& kernel, const QString& routine);
QString KernelTooLargeText();

// A filter as the windows work with it: kernel, scale, type. Starts as the
// unit kernel of 100 with scale 100 and type 0.
struct TFilterData {
    TFilterKernel Kernel = unitKernel();
    std::int32_t Scale = 100;
    std::int32_t Type = 0;  // undefined
    friend bool operator==(const TFilterData&, const TFilterData&) = default;

private:
    static constexpr TFilterKernel unitKernel()
    {
        TFilterKernel k;
        k.centre() = 100;
        return k;
    }
};

// The reference of the focus regulator: the centre weight and the weight sum
// when a filter was last loaded or edited by hand.
struct TRegulatorOrigin {
    std::int32_t BaseCentre = 0;
    std::int32_t BaseSum = 0;
    friend bool operator==(const TRegulatorOrigin&, const TRegulatorOrigin&) = default;
};

// The run refusal of a filter whose scale is below 1.
QString ScaleBelowOneRunText();

}  // namespace ormica

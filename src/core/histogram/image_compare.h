#pragma once

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace ormica {

// The channels two pictures are compared in. Light is the level the
// histograms count (GrayLevel of the pixel).
enum class TCompareChannel { B, G, R, Light, All };

constexpr int kCompareChannels = 4;  // B, G, R, Light: the rows of the numbers
constexpr int kMinDifferenceGain = 1;
constexpr int kMaxDifferenceGain = 64;

// The differences of one channel over all pixels.
struct TChannelDifference {
    int Max = 0;      // largest absolute difference
    double Mae = 0;   // mean absolute difference
    double Mse = 0;   // mean squared difference
    double Psnr = 0;  // 10 log10(255² / Mse) dB, +infinity when Mse is 0
};

struct TImageComparison {
    std::uint64_t Pixels = 0;
    std::uint64_t Differing = 0;                                // pixels that differ in any of B, G, R
    std::array<TChannelDifference, kCompareChannels> Channels;  // B, G, R, Light
};

// Why the two pictures cannot be compared, as the user reads it; empty when
// they can (both non-empty and of one size).
QString CompareRefusal(const QImage& a, const QImage& b);

// The numbers of two pictures of one size; none when CompareRefusal refuses.
// Pictures of another format are read as 24-bit ones.
std::optional<TImageComparison> CompareImages(const QImage& a, const QImage& b);

// |a - b| times `gain` (held to kMinDifferenceGain..kMaxDifferenceGain),
// stopping at 255, as a 24-bit picture: the colour difference for All, grey
// of the one channel's difference otherwise. `a` is passed by value so that
// a caller done with it may move it in and have it overwritten in place.
// A null picture when CompareRefusal refuses.
QImage DifferenceImage(QImage a, const QImage& b, TCompareChannel channel, int gain);

}  // namespace ormica

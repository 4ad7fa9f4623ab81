#pragma once

#include <cstdint>

namespace ormica {

// A colour as the program stores it: $00BBGGRR for RGB values; values above
// $00FFFFFF name system colours resolved from the running palette.
using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
// System colours: the high byte marks them, the low byte is the system index.
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clBtnFace = 0xFF00000F;

struct TBGRTriple {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    friend bool operator==(const TBGRTriple&, const TBGRTriple&) = default;
};

// Splits an RGB colour into bytes; system colours are not resolved.
TBGRTriple ColorToBGR(TColor color);

// As ColorToBGR, with system colours resolved to the palette's RGB values
// (grey 127 when that cannot be done).
TBGRTriple ColorToBGRTriple(TColor color);

// RGB value of any colour, system colours resolved.
TColor ResolveColor(TColor color);

inline constexpr TColor RGBToColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

}  // namespace ormica

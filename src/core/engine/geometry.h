#pragma once

#include "core/engine/color.h"
#include "core/engine/img_tab.h"
#include "core/engine/progress.h"

namespace ormica {

// Array-to-array geometry. Each reads the source and writes a separate target
// (the same array may be passed as both). Modes are single characters; any
// other character does nothing. Failures (memory, rows of unequal length)
// empty the target and show the routine's warning.

// Mode 'H' mirrors left to right, 'V' top to bottom.
void MirrorToTrgArr(const TImgTabBGR& source, char mode, TImgTabBGR& target, TProgress* progress);

// Gives the target the turned shape: W rows of 3·H bytes.
bool Prepare90TrgArr(const TImgTabBGR& source, TImgTabBGR& target);

// Mode '+' turns counter-clockwise, '-' clockwise; the target is H wide, W high.
void Rotate90PlusMinus(const TImgTabBGR& source, char mode, TImgTabBGR& target, TProgress* progress);

// Turns the picture by `degrees` about (centreRow, centreCol), counter-clockwise
// on the screen for a positive angle. Every target pixel takes the source pixel
// the inverse mapping gives, rounded to the nearest (halves to even); pixels
// mapped from outside keep the fill colour. The target has the source's shape.
// A source of fewer than 3 rows is left alone.
//
// The mapping, in extended precision, with columns mirrored (X = W - x):
//   dY = y - Rc, dX = (W - x) - (W - Cc), r = sqrt(dX² + dY²), phi = angle of
//   (dX, dY) from arcsin(|dY| / r) and the quadrant, psi = phi - a;
//   row = round(Rc + r sin psi), column = W - round((W - Cc) + r cos psi).
// It is evaluated as the equivalent affine map; where a coordinate comes within
// a small distance of a rounding boundary, the formula itself decides.
void RotateForTabBGR(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
                     TColor fill, long double degrees);

// The angle rotations accept: -89.9 .. 89.9 degrees, both included. Outside
// it a warning is shown and 0 comes back (nothing is rotated).
long double CheckRotationAngle(long double degrees);

namespace detail {
// The mapping above for one target pixel, exactly as written; false for
// coordinates outside the source. For tests and the rare boundary pixel.
struct TSourcePixel {
    long long row;
    long long col;
};
TSourcePixel RotationSource(long long y, long long x, long long width, long long centreRow, long long centreCol,
                            long double radians);
// The whole rotation by the formula, pixel by pixel, for comparison.
void RotateByFormula(const TImgTabBGR& source, int centreRow, int centreCol, TImgTabBGR& target, TColor fill,
                     long double degrees);
// Lets tests hold the vector paths (mirror, angle rotation) to the plain ones.
void allowGeometrySimd(bool allowed);
// RotateForTabBGR over `threads` row bands (1: the caller's thread alone);
// the routine itself takes two on large pictures.
void RotateWithThreads(const TImgTabBGR& source, int centreRow, int centreCol, TProgress* progress, TImgTabBGR& target,
                       TColor fill, long double degrees, int threads);
}  // namespace detail

}  // namespace ormica

#include "framework/window/dialog_units.h"

namespace {

// a * b / c rounded to the nearest integer, halves away from zero.
int RoundedMulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

PixelRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return PixelRect{RoundedMulDiv(x, units.cx, 4), RoundedMulDiv(y, units.cy, 8),
                     RoundedMulDiv(cx, units.cx, 4), RoundedMulDiv(cy, units.cy, 8)};
}

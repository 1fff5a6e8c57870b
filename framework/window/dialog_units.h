// Dialog units: the base units of a dialog's font and the conversion of a
// template's rectangles to pixels.
//
// A horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height (the base units); each value is
// converted on its own and rounded to the nearest pixel, so a layout matches
// the template's coordinates on every screen and font size.
#pragma once

// The base units of a dialog's font, in pixels.
struct DialogBaseUnits {
    int cx;  // average character width
    int cy;  // character height
};

// A rectangle in pixels.
struct PixelRect {
    int x, y, cx, cy;
};

// The rectangle x, y, cx, cy in dialog units of `units`, in pixels.
PixelRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy);

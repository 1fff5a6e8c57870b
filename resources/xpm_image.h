// An XPM image read into pixels. The program's icon is kept as XPM text
// (app_icon_32.xpm, app_icon_16.xpm); the Windows icon file is made from the
// pixels read here.
//
// Reads the subset our images use: a header "width height colours
// chars-per-pixel" (anything after it, such as a hotspot, is ignored), one
// colour line per colour, "<key> c #RRGGBB" or "<key> c None" (transparent),
// then one line of text per pixel row, top down.
#pragma once

#include <cstdint>
#include <vector>

// One pixel as 0xAARRGGBB. A transparent pixel is 0; every other pixel is
// opaque (alpha 0xFF): XPM has no partial transparency.
using Argb = std::uint32_t;

inline constexpr Argb kTransparent = 0;

struct XpmImage {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;  // row by row, top down; width * height

    Argb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Reads `xpm`, the array of lines an .xpm file declares. Throws
// std::invalid_argument naming the line and what is wrong with it.
XpmImage ParseXpm(const char* const* xpm);

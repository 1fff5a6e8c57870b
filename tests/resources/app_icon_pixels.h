// Pixels of the program's icon IDI_APP, read off its XPM images by eye, so
// that the .ico file and the Windows resource are checked against the picture
// itself: distinct colours in the four corners of the tiles tell the colours,
// top from bottom and left from right apart.
#pragma once

#include <cstdint>

struct AppIconPixel {
    int size;  // 32 or 16: which of the two images
    int x;
    int y;
    std::uint32_t argb;  // 0 is transparent
};

inline constexpr AppIconPixel kAppIconPixels[] = {
    {32, 0, 0, 0x00000000},  {32, 3, 1, 0xFF000000},   {32, 5, 4, 0xFFFF0000},
    {32, 20, 4, 0xFFFFFF00}, {32, 5, 26, 0xFF000080},  {32, 20, 26, 0xFF800080},
    {16, 15, 8, 0x00000000}, {16, 2, 1, 0xFFFF0000},   {16, 9, 1, 0xFFFFFF00},
    {16, 2, 13, 0xFF000080}, {16, 10, 13, 0xFF800080},
};

// Pixels of the program's icon IDI_APP, read off its XPM images by eye and
// written out here, so that each way of storing the icon (parsed XPM, .ico
// file, Windows resource) is checked against the picture itself. Chosen to
// tell the colours, the top from the bottom and the left from the right apart.
#pragma once

#include <cstdint>

struct AppIconPixel {
    int size;  // 32 or 16: which of the two images
    int x;
    int y;
    std::uint32_t argb;  // 0 is transparent
};

inline constexpr AppIconPixel kAppIconPixels[] = {
    {32, 0, 0, 0x00000000},    // the clear corner
    {32, 31, 31, 0x00000000},  // and the other one
    {32, 3, 1, 0xFF000000},    // the black frame
    {32, 4, 2, 0xFFC0C0C0},    // grey between the tiles
    {32, 5, 4, 0xFFFF0000},    // red, top left
    {32, 20, 4, 0xFFFFFF00},   // yellow, top right
    {32, 20, 9, 0xFF00FFFF},   // cyan
    {32, 5, 14, 0xFF0000FF},   // blue
    {32, 5, 26, 0xFF000080},   // navy, bottom left
    {32, 20, 26, 0xFF800080},  // purple, bottom right
    {16, 0, 0, 0x00000000},    // the clear left column
    {16, 15, 8, 0x00000000},   // the clear right column
    {16, 1, 0, 0xFF000000},    // the black frame
    {16, 2, 1, 0xFFFF0000},    // red, top left
    {16, 9, 1, 0xFFFFFF00},    // yellow, top right
    {16, 2, 4, 0xFF00FF00},    // green
    {16, 2, 13, 0xFF000080},   // navy, bottom left
    {16, 10, 13, 0xFF800080},  // purple, bottom right
};

// The bytes of a Windows icon file (.ico) holding the given images, for the
// Windows program's icon resource.
//
// Each image is stored as a classic 16-colour DIB, 4 bits per pixel, which
// every Windows version and Wine read and every display shows as drawn: a
// BITMAPINFOHEADER whose height is doubled (colour bitmap and mask together),
// the 16 colours of the system's standard palette (StandardPalette), the
// colour pixels as palette indexes, two to a byte, the left one in the high
// half, rows bottom up, then the 1-bit AND mask rows bottom up; every row is
// padded to 32 bits. A mask bit of 1 is a transparent pixel, whose colour
// index is 0. All numbers are little-endian. The images follow the directory
// in the order given.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "resources/xpm_image.h"

// The palette of every image, as 0xAARRGGBB with alpha 0xFF: the 16 colours
// of the system's standard palette, black first and white last.
const std::array<Argb, 16>& StandardPalette();

// Throws std::invalid_argument when there is no image, an image is not 1 to
// 256 pixels wide and high, or an opaque pixel has a colour outside the
// palette (naming the image, the pixel and its colour).
std::vector<std::uint8_t> IcoFile(const std::vector<XpmImage>& images);

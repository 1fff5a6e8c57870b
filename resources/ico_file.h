// The bytes of a Windows icon file (.ico) holding the given images, for the
// Windows program's icon resource.
//
// Each image is stored as a classic 32-bit DIB, which every Windows version
// and Wine read: a BITMAPINFOHEADER whose height is doubled (colour bitmap
// and mask together), the colour pixels as BGRA rows bottom up, then the
// 1-bit AND mask rows bottom up, each padded to 32 bits; a mask bit of 1 is a
// transparent pixel. All numbers are little-endian. The images follow the
// directory in the order given.
#pragma once

#include <cstdint>
#include <vector>

#include "resources/xpm_image.h"

// Throws std::invalid_argument when there is no image or an image is not
// 1 to 256 pixels wide and high.
std::vector<std::uint8_t> IcoFile(const std::vector<XpmImage>& images);

// The icon file's bytes: a tiny image byte for byte, then the program's icon
// read back through its directory, colour rows and mask.
#include "resources/ico_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resources/resources.h"
#include "tests/resources/app_icon_pixels.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 | bytes.at(at + 3) << 24;
}

TEST(IcoFile, WritesATinyImageByteForByte) {
    // 2 x 2: red and clear on top, green and blue below.
    const XpmImage image{2, 2, {0xFFFF0000, 0x00000000, 0xFF00FF00, 0xFF0000FF}};
    const Bytes expected = {
        0,    0,   1,   0,   1,   0,  // an icon, one image
        2,    2,   0,   0,   1,   0, 32, 0,   64, 0, 0, 0,
        22,   0,   0,   0,                                  // 2 x 2, 32 bpp, 64 bytes at 22
        40,   0,   0,   0,   2,   0, 0,  0,   4,  0, 0, 0,  // header size, width, twice the height
        1,    0,   32,  0,   0,   0, 0,  0,   24, 0, 0, 0,  // planes, bpp, BI_RGB, data size
        0,    0,   0,   0,   0,   0, 0,  0,   0,  0, 0, 0,
        0,    0,   0,   0,                     // resolution, palette: none
        0,    255, 0,   255, 255, 0, 0,  255,  // bottom row first, BGRA: green, blue
        0,    0,   255, 255, 0,   0, 0,  0,    // then red and clear
        0,    0,   0,   0,                     // mask, bottom row: both opaque
        0x40, 0,   0,   0,                     // top row: the second pixel is clear
    };
    EXPECT_EQ(IcoFile({image}), expected);
}

TEST(IcoFile, HoldsTheProgramIconAtBothSizes) {
    const Bytes ico = IcoFile({ParseXpm(kAppIcon.image32), ParseXpm(kAppIcon.image16)});
    ASSERT_EQ(ico.size(), 6u + 2 * 16 + (40 + 32 * 32 * 4 + 32 * 4) + (40 + 16 * 16 * 4 + 16 * 4));
    EXPECT_EQ(Read32(ico, 0), 0x00010000u);  // reserved, an icon
    EXPECT_EQ(ico[4], 2);
    for (const AppIconPixel& pixel : kAppIconPixels) {
        const std::size_t entry = 6 + (pixel.size == 32 ? 0 : 16);
        ASSERT_EQ(ico[entry], pixel.size);
        ASSERT_EQ(Read32(ico, entry + 4), 0x00200001u);  // one plane, 32 bits
        const std::size_t colours = Read32(ico, entry + 12) + 40;
        const std::size_t mask = colours + pixel.size * pixel.size * 4;
        const int row = pixel.size - 1 - pixel.y;  // rows are stored bottom up
        // BGRA bytes read little-endian are ARGB.
        EXPECT_EQ(Read32(ico, colours + (row * pixel.size + pixel.x) * 4), pixel.argb)
            << pixel.size << ": " << pixel.x << ", " << pixel.y;
        const bool clear = (ico.at(mask + row * 4 + pixel.x / 8) >> (7 - pixel.x % 8)) & 1;
        EXPECT_EQ(clear, pixel.argb == 0) << pixel.size << ": " << pixel.x << ", " << pixel.y;
    }
}

}  // namespace

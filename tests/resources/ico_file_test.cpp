// The icon file's bytes: a tiny image byte for byte, a colour no 16-colour
// icon has, then the program's icon read back through its directory, palette,
// colour rows and mask.
#include "resources/ico_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "resources/resources.h"
#include "tests/resources/app_icon_pixels.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 | bytes.at(at + 3) << 24;
}

TEST(IcoFile, WritesATinyImageByteForByte) {
    // 2 x 2: red and clear on top, lime and blue below.
    const XpmImage image{2, 2, {0xFFFF0000, 0x00000000, 0xFF00FF00, 0xFF0000FF}};
    const Bytes expected = {
        0, 0, 1, 0, 1, 0,                                    // an icon, one image
        2, 2, 16, 0, 1, 0, 4, 0, 120, 0, 0, 0, 22, 0, 0, 0,  // 16 colours, 4 bpp, at 22
        40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0,                 // header size, width, twice the height
        1, 0, 4, 0, 0, 0, 0, 0, 16, 0, 0, 0,                 // planes, bpp, BI_RGB, data size
        0, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0,                 // resolution, 16 colours used
        0, 0, 0, 0,                                          // all important
        // The standard palette, BGR and a zero: black, maroon, green, olive,
        0, 0, 0, 0, 0, 0, 128, 0, 0, 128, 0, 0, 0, 128, 128, 0,
        // navy, purple, teal, silver,
        128, 0, 0, 0, 128, 0, 128, 0, 128, 128, 0, 0, 192, 192, 192, 0,
        // grey, red, lime, yellow,
        128, 128, 128, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 0,
        // blue, fuchsia, aqua, white
        255, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0,  //
        0xAC, 0, 0, 0,  // bottom row first: lime (10), blue (12)
        0x90, 0, 0, 0,  // then red (9) and clear (0)
        0, 0, 0, 0,     // mask, bottom row: both opaque
        0x40, 0, 0, 0,  // top row: the second pixel is clear
    };
    EXPECT_EQ(IcoFile({image}), expected);
}

TEST(IcoFile, RefusesAColourOutsideThePalette) {
    const XpmImage image{2, 1, {0xFF000000, 0xFF123456}};
    try {
        IcoFile({image, image});
        FAIL() << "no error";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(),
                     "writing an icon file: image 1, pixel 1, 0 has the colour #123456, which is "
                     "none of the 16 colours of the standard palette");
    }
}

TEST(IcoFile, HoldsTheProgramIconAtBothSizesIn16Colours) {
    const Bytes ico = IcoFile({ParseXpm(kAppIcon.image32), ParseXpm(kAppIcon.image16)});
    ASSERT_EQ(ico.size(), 6u + 2 * 16 + (40 + 64 + 32 * 16 + 32 * 4) + (40 + 64 + 16 * 8 + 16 * 4));
    EXPECT_EQ(Read32(ico, 0), 0x00010000u);  // reserved, an icon
    EXPECT_EQ(ico[4], 2);
    for (const AppIconPixel& pixel : kAppIconPixels) {
        const std::size_t entry = 6 + (pixel.size == 32 ? 0 : 16);
        ASSERT_EQ(ico[entry], pixel.size);
        ASSERT_EQ(ico[entry + 2], 16);                   // colours
        ASSERT_EQ(Read32(ico, entry + 4), 0x00040001u);  // one plane, 4 bits
        const std::size_t palette = Read32(ico, entry + 12) + 40;
        const std::size_t colours = palette + 64;
        const std::size_t rowSize = pixel.size / 2;
        const std::size_t mask = colours + pixel.size * rowSize;
        const int row = pixel.size - 1 - pixel.y;  // rows are stored bottom up
        const int index =
            (ico.at(colours + row * rowSize + pixel.x / 2) >> (pixel.x % 2 == 0 ? 4 : 0)) & 0xF;
        // BGR0 bytes read little-endian are 00RRGGBB.
        const std::uint32_t colour = Read32(ico, palette + index * 4);
        EXPECT_EQ(pixel.argb == 0 ? index : colour | 0xFF000000, pixel.argb)
            << pixel.size << ": " << pixel.x << ", " << pixel.y;
        const bool clear = (ico.at(mask + row * 4 + pixel.x / 8) >> (7 - pixel.x % 8)) & 1;
        EXPECT_EQ(clear, pixel.argb == 0) << pixel.size << ": " << pixel.x << ", " << pixel.y;
    }
}

}  // namespace

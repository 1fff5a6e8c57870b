// The icon file's bytes: a tiny image byte for byte, then the program's icon
// read back through its directory, headers, colour rows and mask.
#include "resources/ico_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "tests/resources/app_icon_pixels.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Read16(const Bytes& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8;
}

std::uint32_t Read32(const Bytes& bytes, std::size_t at) {
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

TEST(IcoFile, WritesATinyImageByteForByte) {
    // 2 x 2: red and clear on top, green and blue below.
    const XpmImage image{2, 2, {0xFFFF0000, 0x00000000, 0xFF00FF00, 0xFF0000FF}};
    const Bytes expected = {
        0,    0,   1,   0,   1,   0,  // icon, one image
        2,    2,   0,   0,   1,   0, 32, 0,   64, 0, 0, 0,
        22,   0,   0,   0,                                  // 2 x 2, 32 bpp, 64 bytes at 22
        40,   0,   0,   0,   2,   0, 0,  0,   4,  0, 0, 0,  // header size, width, twice the height
        1,    0,   32,  0,   0,   0, 0,  0,   24, 0, 0, 0,  // planes, bpp, BI_RGB, data size
        0,    0,   0,   0,   0,   0, 0,  0,   0,  0, 0, 0,
        0,    0,   0,   0,                     // resolution, palette: none
        0,    255, 0,   255, 255, 0, 0,  255,  // bottom row first: green, blue (BGRA)
        0,    0,   255, 255, 0,   0, 0,  0,    // then red and clear
        0,    0,   0,   0,                     // mask, bottom row: both opaque
        0x40, 0,   0,   0,                     // top row: the second pixel is clear
    };
    EXPECT_EQ(IcoFile({image}), expected);
}

TEST(IcoFile, DirectoryOfTheProgramIcon) {
    const Bytes ico = IcoFile({ParseXpm(kAppIcon.image32), ParseXpm(kAppIcon.image16)});
    EXPECT_EQ(Read16(ico, 0), 0u);
    EXPECT_EQ(Read16(ico, 2), 1u);  // an icon
    ASSERT_EQ(Read16(ico, 4), 2u);

    // Each entry: its size, no palette, one plane, 32 bits, and its data
    // right after the one before, up to the end of the file.
    std::uint32_t expectedOffset = 6 + 2 * 16;
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const std::size_t entry = 6 + 16 * i;
        const int size = sizes[i];
        SCOPED_TRACE(size);
        EXPECT_EQ(ico.at(entry), size);
        EXPECT_EQ(ico.at(entry + 1), size);
        EXPECT_EQ(ico.at(entry + 2), 0);
        EXPECT_EQ(ico.at(entry + 3), 0);
        EXPECT_EQ(Read16(ico, entry + 4), 1u);
        EXPECT_EQ(Read16(ico, entry + 6), 32u);
        const std::uint32_t maskRow = 4;  // 32 or 16 bits, padded to 32
        const std::uint32_t bytes = 40 + size * size * 4 + maskRow * size;
        EXPECT_EQ(Read32(ico, entry + 8), bytes);
        EXPECT_EQ(Read32(ico, entry + 12), expectedOffset);

        const std::size_t header = expectedOffset;
        EXPECT_EQ(Read32(ico, header), 40u);
        EXPECT_EQ(Read32(ico, header + 4), static_cast<std::uint32_t>(size));
        EXPECT_EQ(Read32(ico, header + 8), static_cast<std::uint32_t>(2 * size));
        EXPECT_EQ(Read16(ico, header + 12), 1u);
        EXPECT_EQ(Read16(ico, header + 14), 32u);
        EXPECT_EQ(Read32(ico, header + 16), 0u);
        EXPECT_EQ(Read32(ico, header + 20), bytes - 40);
        expectedOffset += bytes;
    }
    EXPECT_EQ(ico.size(), expectedOffset);
    EXPECT_EQ(ico.size(), 5430u);
}

TEST(IcoFile, PixelsAndMaskOfTheProgramIcon) {
    const Bytes ico = IcoFile({ParseXpm(kAppIcon.image32), ParseXpm(kAppIcon.image16)});
    for (const AppIconPixel& pixel : kAppIconPixels) {
        const std::size_t entry = 6 + (pixel.size == 32 ? 0 : 16);
        const std::size_t colours = Read32(ico, entry + 12) + 40;
        const std::size_t mask = colours + pixel.size * pixel.size * 4;
        const int row = pixel.size - 1 - pixel.y;  // rows are stored bottom up
        SCOPED_TRACE(std::to_string(pixel.size) + " x " + std::to_string(pixel.size) + " at " +
                     std::to_string(pixel.x) + ", " + std::to_string(pixel.y));

        const std::size_t at = colours + (row * pixel.size + pixel.x) * 4;
        EXPECT_EQ(Read32(ico, at), pixel.argb);  // BGRA bytes read little-endian are ARGB

        const bool clear = (ico.at(mask + row * 4 + pixel.x / 8) >> (7 - pixel.x % 8)) & 1;
        EXPECT_EQ(clear, pixel.argb == 0);
    }
}

TEST(IcoFile, RefusesImagesNoIconCanHold) {
    const XpmImage tooWide{257, 1, std::vector<Argb>(257, 0xFF000000)};
    const XpmImage fine{1, 1, {0xFF000000}};
    struct Case {
        std::vector<XpmImage> images;
        const char* message;
    };
    const Case cases[] = {
        {{}, "writing an icon file: no image to write"},
        {{fine, tooWide},
         "writing an icon file: image 2 is 257 x 1 pixels; an icon image is 1 to 256 each way"},
    };
    for (const Case& c : cases) {
        try {
            IcoFile(c.images);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

}  // namespace

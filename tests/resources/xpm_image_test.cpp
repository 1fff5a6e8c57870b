// Reading XPM text into pixels: a small image exactly, the program's icon at
// chosen pixels, and each malformed line with its message.
#include "resources/xpm_image.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resources.h"
#include "tests/resources/app_icon_pixels.h"

namespace {

TEST(XpmImage, ReadsEveryPixelOfASmallImage) {
    // Two characters per pixel, upper- and lower-case hex digits, a hotspot
    // after the header.
    const char* const xpm[] = {
        "3 2 3 2 1 1", ".. c None", "r. c #FF0000", "gb c #00ff7f", "r...gb", "gbgbr.",
    };
    const XpmImage image = ParseXpm(xpm);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, (std::vector<Argb>{0xFFFF0000, 0x00000000, 0xFF00FF7F,  //
                                               0xFF00FF7F, 0xFF00FF7F, 0xFFFF0000}));
}

TEST(XpmImage, ReadsTheProgramIcon) {
    const XpmImage image32 = ParseXpm(kAppIcon.image32);
    const XpmImage image16 = ParseXpm(kAppIcon.image16);
    ASSERT_EQ(image32.width, 32);
    ASSERT_EQ(image32.height, 32);
    ASSERT_EQ(image16.width, 16);
    ASSERT_EQ(image16.height, 16);
    for (const AppIconPixel& pixel : kAppIconPixels) {
        const XpmImage& image = pixel.size == 32 ? image32 : image16;
        EXPECT_EQ(image.At(pixel.x, pixel.y), pixel.argb)
            << pixel.size << " x " << pixel.size << " at " << pixel.x << ", " << pixel.y;
    }
}

struct MalformedCase {
    const char* name;
    std::vector<const char*> lines;
    const char* message;
};

const MalformedCase kMalformed[] = {
    {"header missing a number",
     {"2 1 1", "a c #000000", "aa"},
     "reading XPM: line 1 \"2 1 1\": expected \"width height colours chars-per-pixel\", all "
     "above 0"},
    {"zero width",
     {"0 1 1 1", "a c #000000", ""},
     "reading XPM: line 1 \"0 1 1 1\": expected \"width height colours chars-per-pixel\", all "
     "above 0"},
    {"colour by name",
     {"1 1 1 1", "a c red", "a"},
     "reading XPM: line 2 \"a c red\": a colour is #RRGGBB or None"},
    {"short hex colour",
     {"1 1 1 1", "a c #FFF", "a"},
     "reading XPM: line 2 \"a c #FFF\": a colour is #RRGGBB or None"},
    {"not a hex digit",
     {"1 1 1 1", "a c #00GG00", "a"},
     "reading XPM: line 2 \"a c #00GG00\": a colour is #RRGGBB or None"},
    {"other visual only",
     {"1 1 1 1", "a m #000000", "a"},
     "reading XPM: line 2 \"a m #000000\": expected \"<key> c <colour>\""},
    {"key given twice",
     {"1 1 2 1", "a c #000000", "a c None", "a"},
     "reading XPM: line 3 \"a c None\": the key \"a\" is given twice"},
    {"short row",
     {"3 1 1 1", "a c #000000", "aa"},
     "reading XPM: line 3 \"aa\": 2 characters, expected 3"},
    {"unknown key",
     {"2 1 1 1", "a c #000000", "ab"},
     "reading XPM: line 3 \"ab\": no colour has the key \"b\""},
};

TEST(XpmImage, NamesTheMalformedLine) {
    for (const MalformedCase& c : kMalformed) {
        try {
            ParseXpm(c.lines.data());
            ADD_FAILURE() << c.name << ": no error";
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), c.message) << c.name;
        }
    }
}

}  // namespace

// Reading XPM text: a small image pixel by pixel, and malformed lines named.
#include "resources/xpm_image.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(XpmImage, ReadsEveryPixel) {
    // Two characters per pixel, both cases of hex digits, a hotspot after the header.
    const char* const xpm[] = {"3 2 3 2 1 1",  ".. c None", "r. c #FF0000",
                               "gb c #00ff7f", "r...gb",    "gbgbr."};
    const XpmImage image = ParseXpm(xpm);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels,
              (std::vector<Argb>{0xFFFF0000, 0, 0xFF00FF7F, 0xFF00FF7F, 0xFF00FF7F, 0xFFFF0000}));
}

TEST(XpmImage, NamesTheMalformedLine) {
    const std::vector<std::vector<const char*>> xpms = {{"1 1 1 1", "a c red", "a"},
                                                        {"3 1 1 1", "a c #000000", "aa"},
                                                        {"2 1 1 1", "a c None", "ab"}};
    const char* const messages[] = {"reading XPM: line 2 \"a c red\": a colour is #RRGGBB or None",
                                    "reading XPM: line 3 \"aa\": 2 characters, expected 3",
                                    "reading XPM: line 3 \"ab\": no colour has the key \"b\""};
    for (std::size_t i = 0; i < xpms.size(); ++i) {
        try {
            ParseXpm(xpms[i].data());
            ADD_FAILURE() << "no error for " << messages[i];
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()), messages[i]);
        }
    }
}

}  // namespace

// Reading the XPM subset of our icon images into pixels.
#include "resources/xpm_image.h"

#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

// `index` is the line's index in the array; the message counts from 1.
[[noreturn]] void Malformed(int index, const std::string& text, const std::string& cause) {
    throw std::invalid_argument("reading XPM: line " + std::to_string(index + 1) + " \"" + text +
                                "\": " + cause);
}

struct Header {
    int width = 0;
    int height = 0;
    int colours = 0;
    int charsPerPixel = 0;
};

Header ReadHeader(const std::string& text) {
    Header header;
    std::istringstream in(text);
    if (!(in >> header.width >> header.height >> header.colours >> header.charsPerPixel) ||
        header.width <= 0 || header.height <= 0 || header.colours <= 0 ||
        header.charsPerPixel <= 0) {
        Malformed(0, text, "expected \"width height colours chars-per-pixel\", all above 0");
    }
    return header;
}

// "#RRGGBB" as an opaque pixel; false when `value` is no such text.
bool ReadHexColour(const std::string& value, Argb& pixel) {
    if (value.size() != 7 || value[0] != '#') {
        return false;
    }
    unsigned rgb = 0;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        rgb = rgb * 16 + digit;
    }
    pixel = 0xFF000000u | rgb;
    return true;
}

// The pixel of a colour line's visual "c" entry.
Argb ReadColour(int line, const std::string& text, int charsPerPixel) {
    std::istringstream in(text.substr(charsPerPixel));
    std::string visual;
    std::string value;
    if (!(in >> visual >> value) || visual != "c") {
        Malformed(line, text, "expected \"<key> c <colour>\"");
    }
    if (value == "None" || value == "none") {
        return kTransparent;
    }
    Argb pixel = 0;
    if (!ReadHexColour(value, pixel)) {
        Malformed(line, text, "a colour is #RRGGBB or None");
    }
    return pixel;
}

}  // namespace

XpmImage ParseXpm(const char* const* xpm) {
    const Header header = ReadHeader(xpm[0]);
    const auto cpp = static_cast<std::size_t>(header.charsPerPixel);

    std::map<std::string, Argb> colours;
    int line = 1;
    for (; line <= header.colours; ++line) {
        const std::string text = xpm[line];
        if (text.size() < cpp) {
            Malformed(line, text, "shorter than a colour key");
        }
        const std::string key = text.substr(0, cpp);
        if (!colours.emplace(key, ReadColour(line, text, header.charsPerPixel)).second) {
            Malformed(line, text, "the key \"" + key + "\" is given twice");
        }
    }

    XpmImage image;
    image.width = header.width;
    image.height = header.height;
    image.pixels.reserve(static_cast<std::size_t>(header.width) * header.height);
    for (int row = 0; row < header.height; ++row, ++line) {
        const std::string text = xpm[line];
        if (text.size() != cpp * header.width) {
            Malformed(line, text,
                      std::to_string(text.size()) + " characters, expected " +
                          std::to_string(cpp * header.width));
        }
        for (std::size_t at = 0; at < text.size(); at += cpp) {
            const auto colour = colours.find(text.substr(at, cpp));
            if (colour == colours.end()) {
                Malformed(line, text, "no colour has the key \"" + text.substr(at, cpp) + "\"");
            }
            image.pixels.push_back(colour->second);
        }
    }
    return image;
}

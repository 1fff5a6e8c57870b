// Writing a Windows icon file byte by byte, so the layout does not depend on
// the host's struct packing or byte order.
#include "resources/ico_file.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace {

constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconDirEntrySize = 16;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteSize = 16 * 4;
constexpr std::uint16_t kBitsPerPixel = 4;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// Bytes of one row of `bitsPerPixel` bits a pixel, padded to 32 bits.
std::uint32_t RowSize(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::uint32_t ImageSize(const XpmImage& image) {
    const auto height = static_cast<std::uint32_t>(image.height);
    return kBitmapInfoHeaderSize + kPaletteSize +
           (RowSize(image.width, kBitsPerPixel) + RowSize(image.width, 1)) * height;
}

std::string Hex6(Argb colour) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4) {
        text += digits[(colour >> shift) & 0xF];
    }
    return text;
}

// The palette index of each pixel, row by row, top down; a transparent pixel
// takes index 0.
std::vector<std::uint8_t> PaletteIndexes(const XpmImage& image, std::size_t imageIndex) {
    const std::array<Argb, 16>& palette = StandardPalette();
    std::vector<std::uint8_t> indexes;
    indexes.reserve(image.pixels.size());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Argb pixel = image.At(x, y);
            if (pixel == kTransparent) {
                indexes.push_back(0);
                continue;
            }
            const auto found = std::find(palette.begin(), palette.end(), pixel);
            if (found == palette.end()) {
                throw std::invalid_argument(
                    "writing an icon file: image " + std::to_string(imageIndex + 1) + ", pixel " +
                    std::to_string(x) + ", " + std::to_string(y) + " has the colour " +
                    Hex6(pixel) + ", which is none of the 16 colours of the standard palette");
            }
            indexes.push_back(static_cast<std::uint8_t>(found - palette.begin()));
        }
    }
    return indexes;
}

void PutBitmapInfoHeader(std::vector<std::uint8_t>& out, const XpmImage& image) {
    Put32(out, kBitmapInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height * 2));  // colour bitmap and mask
    Put16(out, 1);                                             // planes
    Put16(out, kBitsPerPixel);
    Put32(out, 0);  // BI_RGB
    Put32(out, ImageSize(image) - kBitmapInfoHeaderSize - kPaletteSize);
    Put32(out, 0);  // pixels per metre, x and y
    Put32(out, 0);
    Put32(out, 16);  // colours used and important: the whole palette
    Put32(out, 0);
}

void PutPalette(std::vector<std::uint8_t>& out) {
    for (const Argb colour : StandardPalette()) {
        out.push_back(static_cast<std::uint8_t>(colour));        // blue
        out.push_back(static_cast<std::uint8_t>(colour >> 8));   // green
        out.push_back(static_cast<std::uint8_t>(colour >> 16));  // red
        out.push_back(0);                                        // reserved
    }
}

void PutColourRows(std::vector<std::uint8_t>& out, const XpmImage& image,
                   const std::vector<std::uint8_t>& indexes) {
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(RowSize(image.width, kBitsPerPixel), 0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t index = indexes[static_cast<std::size_t>(y) * image.width + x];
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void PutMaskRows(std::vector<std::uint8_t>& out, const XpmImage& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(RowSize(image.width, 1), 0);
        for (int x = 0; x < image.width; ++x) {
            if (image.At(x, y) == kTransparent) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void CheckSize(const XpmImage& image, std::size_t index) {
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256) {
        throw std::invalid_argument("writing an icon file: image " + std::to_string(index + 1) +
                                    " is " + std::to_string(image.width) + " x " +
                                    std::to_string(image.height) +
                                    " pixels; an icon image is 1 to 256 each way");
    }
}

}  // namespace

const std::array<Argb, 16>& StandardPalette() {
    static const std::array<Argb, 16> palette = {
        0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
        0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
        0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
    };
    return palette;
}

std::vector<std::uint8_t> IcoFile(const std::vector<XpmImage>& images) {
    if (images.empty()) {
        throw std::invalid_argument("writing an icon file: no image to write");
    }
    std::vector<std::vector<std::uint8_t>> indexes;
    for (std::size_t i = 0; i < images.size(); ++i) {
        CheckSize(images[i], i);
        indexes.push_back(PaletteIndexes(images[i], i));
    }

    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<std::uint16_t>(images.size()));

    std::uint32_t offset =
        kIconDirSize + kIconDirEntrySize * static_cast<std::uint32_t>(images.size());
    for (const XpmImage& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.width));  // 256 is written as 0
        out.push_back(static_cast<std::uint8_t>(image.height));
        out.push_back(16);  // colours in the palette
        out.push_back(0);   // reserved
        Put16(out, 1);      // planes
        Put16(out, kBitsPerPixel);
        Put32(out, ImageSize(image));
        Put32(out, offset);
        offset += ImageSize(image);
    }

    for (std::size_t i = 0; i < images.size(); ++i) {
        PutBitmapInfoHeader(out, images[i]);
        PutPalette(out);
        PutColourRows(out, images[i], indexes[i]);
        PutMaskRows(out, images[i]);
    }
    return out;
}

// Writing a Windows icon file byte by byte, so the layout does not depend on
// the host's struct packing or byte order.
#include "resources/ico_file.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace {

constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconDirEntrySize = 16;
constexpr std::uint32_t kBitmapInfoHeaderSize = 40;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, static_cast<std::uint16_t>(value));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

// Bytes of one AND mask row: one bit per pixel, rows padded to 32 bits.
std::uint32_t MaskRowSize(int width) {
    return static_cast<std::uint32_t>((width + 31) / 32 * 4);
}

std::uint32_t ImageSize(const XpmImage& image) {
    const auto height = static_cast<std::uint32_t>(image.height);
    return kBitmapInfoHeaderSize + static_cast<std::uint32_t>(image.width) * height * 4 +
           MaskRowSize(image.width) * height;
}

void PutBitmapInfoHeader(std::vector<std::uint8_t>& out, const XpmImage& image) {
    Put32(out, kBitmapInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height * 2));  // colour bitmap and mask
    Put16(out, 1);                                             // planes
    Put16(out, 32);                                            // bits per pixel
    Put32(out, 0);                                             // BI_RGB
    Put32(out, ImageSize(image) - kBitmapInfoHeaderSize);
    Put32(out, 0);  // pixels per metre, x and y
    Put32(out, 0);
    Put32(out, 0);  // colours used and important: none, no palette
    Put32(out, 0);
}

void PutColourRows(std::vector<std::uint8_t>& out, const XpmImage& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Argb pixel = image.At(x, y);
            out.push_back(static_cast<std::uint8_t>(pixel));        // blue
            out.push_back(static_cast<std::uint8_t>(pixel >> 8));   // green
            out.push_back(static_cast<std::uint8_t>(pixel >> 16));  // red
            out.push_back(static_cast<std::uint8_t>(pixel >> 24));  // alpha
        }
    }
}

void PutMaskRows(std::vector<std::uint8_t>& out, const XpmImage& image) {
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(MaskRowSize(image.width), 0);
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

std::vector<std::uint8_t> IcoFile(const std::vector<XpmImage>& images) {
    if (images.empty()) {
        throw std::invalid_argument("writing an icon file: no image to write");
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        CheckSize(images[i], i);
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
        out.push_back(0);  // colours in the palette: none
        out.push_back(0);  // reserved
        Put16(out, 1);     // planes
        Put16(out, 32);    // bits per pixel
        Put32(out, ImageSize(image));
        Put32(out, offset);
        offset += ImageSize(image);
    }

    for (const XpmImage& image : images) {
        PutBitmapInfoHeader(out, image);
        PutColourRows(out, image);
        PutMaskRows(out, image);
    }
    return out;
}

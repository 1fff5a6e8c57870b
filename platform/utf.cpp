#include "platform/utf.h"

namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(char32_t c, std::u16string& out) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(kHighSurrogateFirst + (c >> 10));
        out += static_cast<char16_t>(kLowSurrogateFirst + (c & 0x3FF));
    }
}

}  // namespace

bool Utf16ToUtf8(std::u16string_view in, std::string& out) {
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char16_t unit = in[i];
        if (IsHighSurrogate(unit)) {
            if (i + 1 >= in.size() || !IsLowSurrogate(in[i + 1])) {
                return false;
            }
            AppendUtf8(0x10000 + ((static_cast<char32_t>(unit) - kHighSurrogateFirst) << 10) +
                           (static_cast<char32_t>(in[i + 1]) - kLowSurrogateFirst),
                       out);
            ++i;
        } else if (IsLowSurrogate(unit)) {
            return false;
        } else {
            AppendUtf8(unit, out);
        }
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view in) {
    std::u16string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i < in.size()) {
        const auto lead = static_cast<unsigned char>(in[i]);
        int extra;
        char32_t c;
        if (lead < 0x80) {
            extra = 0;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= in.size()) {  // truncated sequence
            out += u'\uFFFD';
            break;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(in[i + k]);
            if ((next & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (!ok || c > 0x10FFFF || IsSurrogate(c)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        AppendUtf16(c, out);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

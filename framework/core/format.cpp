#include "framework/core/format.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace {

// One conversion of a template as written between its '%' and its letter.
struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plus = false;
    bool space = false;
    int width = 0;
    int precision = -1;       // -1: none written
    bool wide64 = false;      // I64 or ll: all 64 bits of the argument
    char16_t conversion = 0;  // 0: the template ended inside the conversion
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The decimal number at `p` (0 when there are no digits); `p` moves past it.
int ParseNumber(const char16_t*& p) {
    int value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + (*p++ - u'0');
    }
    return value;
}

// The flags at `p`, in any order and number; `p` moves past them.
void ParseFlags(const char16_t*& p, Conversion& conversion) {
    for (;; ++p) {
        if (*p == u'-') {
            conversion.leftAlign = true;
        } else if (*p == u'0') {
            conversion.zeroPad = true;
        } else if (*p == u'+') {
            conversion.plus = true;
        } else if (*p == u' ') {
            conversion.space = true;
        } else {
            return;
        }
    }
}

// The size prefix at `p`: I64 and ll widen to 64 bits; l and h are read and
// change nothing.
void ParseSizePrefix(const char16_t*& p, Conversion& conversion) {
    if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
        conversion.wide64 = true;
        p += 3;
    } else if (p[0] == u'l' && p[1] == u'l') {
        conversion.wide64 = true;
        p += 2;
    } else if (p[0] == u'l' || p[0] == u'h') {
        ++p;
    }
}

// The conversion that starts at `p`, just after its '%'; `p` moves past its
// letter (or to the terminator when the template ends inside it).
Conversion ParseConversion(const char16_t*& p) {
    Conversion conversion;
    ParseFlags(p, conversion);
    conversion.width = ParseNumber(p);
    if (*p == u'.') {
        ++p;
        conversion.precision = ParseNumber(p);
    }
    ParseSizePrefix(p, conversion);
    conversion.conversion = *p;
    if (*p != 0) {
        ++p;
    }
    return conversion;
}

// Appends `body` filled out to the conversion's width.
void Pad(std::u16string& out, const std::u16string& body, const Conversion& conversion,
         bool numeric) {
    const int fill = conversion.width - static_cast<int>(body.size());
    if (fill <= 0) {
        out += body;
    } else if (conversion.leftAlign) {
        out += body;
        out.append(static_cast<std::size_t>(fill), u' ');
    } else if (conversion.zeroPad && numeric) {
        // Zeros go after the sign.
        std::size_t signLength =
            (!body.empty() && (body[0] == u'-' || body[0] == u'+' || body[0] == u' ')) ? 1 : 0;
        out.append(body, 0, signLength);
        out.append(static_cast<std::size_t>(fill), u'0');
        out.append(body, signLength, std::u16string::npos);
    } else {
        out.append(static_cast<std::size_t>(fill), u' ');
        out += body;
    }
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper) {
    const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string text;
    do {
        text += digits[value % base];
        value /= base;
    } while (value != 0);
    std::reverse(text.begin(), text.end());
    return text;
}

// The digits of an integer conversion: at least `precision` of them, none
// for a zero with precision 0.
std::u16string IntegerDigits(std::uint64_t magnitude, const Conversion& conversion) {
    const unsigned base =
        (conversion.conversion == u'x' || conversion.conversion == u'X') ? 16 : 10;
    std::u16string digits = Digits(magnitude, base, conversion.conversion == u'X');
    if (conversion.precision >= 0 && static_cast<int>(digits.size()) < conversion.precision) {
        digits.insert(0, static_cast<std::size_t>(conversion.precision) - digits.size(), u'0');
    }
    if (conversion.precision == 0 && magnitude == 0) {
        digits.clear();
    }
    return digits;
}

// The sign of a signed conversion: '-', or what the + and space flags ask for.
std::u16string Sign(bool negative, const Conversion& conversion) {
    if (negative) {
        return u"-";
    }
    if (conversion.plus) {
        return u"+";
    }
    if (conversion.space) {
        return u" ";
    }
    return std::u16string();
}

// %d %i %u %x %X; false when the argument is not an integer.
bool ConvertInteger(std::u16string& out, const Conversion& conversion, const FormatArg& arg) {
    if (arg.kind() == FormatArg::Kind::text) {
        return false;
    }
    std::u16string body;
    std::uint64_t magnitude;
    if (conversion.conversion == u'd' || conversion.conversion == u'i') {
        const std::int64_t value =
            conversion.wide64 ? arg.asInt() : static_cast<std::int32_t>(arg.asInt());
        const bool negative = value < 0;
        magnitude =
            negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        body = Sign(negative, conversion);
    } else {
        magnitude = conversion.wide64 ? static_cast<std::uint64_t>(arg.asInt())
                                      : static_cast<std::uint32_t>(arg.asInt());
    }
    body += IntegerDigits(magnitude, conversion);
    // A precision takes the place of zero padding.
    Conversion padded = conversion;
    padded.zeroPad = conversion.zeroPad && conversion.precision < 0;
    Pad(out, body, padded, true);
    return true;
}

// %c; false when the argument is text.
bool ConvertCharacter(std::u16string& out, const Conversion& conversion, const FormatArg& arg) {
    if (arg.kind() == FormatArg::Kind::text) {
        return false;
    }
    Pad(out, std::u16string(1, static_cast<char16_t>(arg.asInt())), conversion, false);
    return true;
}

// %s, cut to the precision; false when the argument is not text.
bool ConvertText(std::u16string& out, const Conversion& conversion, const FormatArg& arg) {
    if (arg.kind() != FormatArg::Kind::text) {
        return false;
    }
    std::u16string_view text(arg.asText() == nullptr ? u"(null)" : arg.asText());
    if (conversion.precision >= 0) {
        text = text.substr(0, static_cast<std::size_t>(conversion.precision));
    }
    Pad(out, std::u16string(text), conversion, false);
    return true;
}

// Appends one argument as the conversion asks; false (and nothing appended) when
// the conversion is unknown or does not fit the argument's kind.
bool ConvertArgument(std::u16string& out, const Conversion& conversion, const FormatArg& arg) {
    switch (conversion.conversion) {
        case u'd':
        case u'i':
        case u'u':
        case u'x':
        case u'X':
            return ConvertInteger(out, conversion, arg);
        case u'c':
            return ConvertCharacter(out, conversion, arg);
        case u's':
            return ConvertText(out, conversion, arg);
        default:
            return false;
    }
}

}  // namespace

std::u16string FormatString(const char16_t* format, std::initializer_list<FormatArg> args) {
    if (format == nullptr) {
        return std::u16string();
    }
    std::u16string out;
    const FormatArg* next = args.begin();
    const char16_t* p = format;
    while (*p != 0) {
        if (*p != u'%') {
            out += *p++;
            continue;
        }
        const char16_t* written = p++;
        const Conversion conversion = ParseConversion(p);
        if (conversion.conversion == u'%') {
            out += u'%';
        } else if (next != args.end() && ConvertArgument(out, conversion, *next)) {
            ++next;
        } else {
            // Shown as written, so a faulty template is visible instead of
            // reading stray memory.
            out.append(written, p);
        }
    }
    return out;
}

#include "framework/core/string.h"

#include <algorithm>

#include "platform/utf.h"

FormatArg::FormatArg(const CString& text) : m_kind(Kind::text), m_text(text.GetString()) {}

CString::CString(const char16_t* text) {
    if (text != nullptr) {
        m_text = text;
    }
}

CString::CString(const char16_t* text, int length) {
    if (text != nullptr && length > 0) {
        m_text.assign(text, static_cast<std::size_t>(length));
    }
}

CString CString::Left(int count) const {
    if (count <= 0) {
        return CString();
    }
    return CString(m_text.substr(0, static_cast<std::size_t>(count)));
}

int CString::Find(const char16_t* sub, int start) const {
    if (sub == nullptr || start < 0) {
        return -1;
    }
    const std::size_t at = m_text.find(sub, static_cast<std::size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CString::Replace(const char16_t* oldText, const char16_t* newText) {
    const std::u16string_view from(oldText == nullptr ? u"" : oldText);
    const std::u16string_view to(newText == nullptr ? u"" : newText);
    if (from.empty()) {
        return 0;
    }
    int count = 0;
    std::u16string result;
    std::size_t pos = 0;
    for (std::size_t at; (at = m_text.find(from, pos)) != std::u16string::npos;
         pos = at + from.size()) {
        result.append(m_text, pos, at - pos);
        result.append(to);
        ++count;
    }
    result.append(m_text, pos, std::u16string::npos);
    m_text = std::move(result);
    return count;
}

CString& CString::operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(char16_t unit) {
    m_text += unit;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

std::string CString::ToUtf8() const {
    std::string out;
    if (Utf16ToUtf8(m_text, out)) {
        return out;
    }
    std::u16string repaired = m_text;
    for (std::size_t i = 0; i < repaired.size(); ++i) {
        const char16_t c = repaired[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < repaired.size() && repaired[i + 1] >= 0xDC00 &&
            repaired[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            repaired[i] = u'\uFFFD';
        }
    }
    Utf16ToUtf8(repaired, out);
    return out;
}

CString CString::FromUtf8(std::string_view utf8) {
    return CString(Utf8ToUtf16(utf8));
}

namespace {

struct Directive {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plus = false;
    bool space = false;
    int width = 0;
    int precision = -1;
    bool wide64 = false;
    char16_t conversion = 0;
};

void Pad(std::u16string& out, const std::u16string& body, const Directive& fmt, bool numeric) {
    const int fill = fmt.width - static_cast<int>(body.size());
    if (fill <= 0) {
        out += body;
    } else if (fmt.leftAlign) {
        out += body;
        out.append(static_cast<std::size_t>(fill), u' ');
    } else if (fmt.zeroPad && numeric) {
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

// Formats one integer conversion; false when the argument is not an integer.
bool FormatInteger(std::u16string& out, const Directive& fmt, const FormatArg& arg) {
    if (arg.kind() == FormatArg::Kind::text) {
        return false;
    }
    const bool isSigned = fmt.conversion == u'd' || fmt.conversion == u'i';
    std::u16string body;
    std::uint64_t magnitude;
    bool negative = false;
    if (isSigned) {
        const std::int64_t value =
            fmt.wide64 ? arg.asInt() : static_cast<std::int32_t>(arg.asInt());
        negative = value < 0;
        magnitude =
            negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    } else {
        magnitude = fmt.wide64 ? static_cast<std::uint64_t>(arg.asInt())
                               : static_cast<std::uint32_t>(arg.asInt());
    }
    const unsigned base = (fmt.conversion == u'x' || fmt.conversion == u'X') ? 16 : 10;
    std::u16string digits = Digits(magnitude, base, fmt.conversion == u'X');
    if (fmt.precision >= 0 && static_cast<int>(digits.size()) < fmt.precision) {
        digits.insert(0, static_cast<std::size_t>(fmt.precision) - digits.size(), u'0');
    }
    if (fmt.precision == 0 && magnitude == 0) {
        digits.clear();
    }
    if (negative) {
        body += u'-';
    } else if (isSigned && fmt.plus) {
        body += u'+';
    } else if (isSigned && fmt.space) {
        body += u' ';
    }
    body += digits;
    Directive padFmt = fmt;
    padFmt.zeroPad = fmt.zeroPad && fmt.precision < 0;
    Pad(out, body, padFmt, true);
    return true;
}

}  // namespace

CString FormatString(const char16_t* format, std::initializer_list<FormatArg> args) {
    std::u16string out;
    if (format == nullptr) {
        return CString();
    }
    const FormatArg* next = args.begin();
    const char16_t* p = format;
    while (*p != 0) {
        if (*p != u'%') {
            out += *p++;
            continue;
        }
        const char16_t* directive = p++;
        Directive fmt;
        for (;; ++p) {
            if (*p == u'-') {
                fmt.leftAlign = true;
            } else if (*p == u'0') {
                fmt.zeroPad = true;
            } else if (*p == u'+') {
                fmt.plus = true;
            } else if (*p == u' ') {
                fmt.space = true;
            } else {
                break;
            }
        }
        while (*p >= u'0' && *p <= u'9') {
            fmt.width = fmt.width * 10 + (*p++ - u'0');
        }
        if (*p == u'.') {
            ++p;
            fmt.precision = 0;
            while (*p >= u'0' && *p <= u'9') {
                fmt.precision = fmt.precision * 10 + (*p++ - u'0');
            }
        }
        if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
            fmt.wide64 = true;
            p += 3;
        } else if (p[0] == u'l' && p[1] == u'l') {
            fmt.wide64 = true;
            p += 2;
        } else if (p[0] == u'l' || p[0] == u'h') {
            ++p;
        }
        fmt.conversion = *p;
        if (*p != 0) {
            ++p;
        }

        bool done = false;
        if (fmt.conversion == u'%') {
            out += u'%';
            done = true;
        } else if (next != args.end()) {
            const FormatArg& arg = *next;
            switch (fmt.conversion) {
                case u'd':
                case u'i':
                case u'u':
                case u'x':
                case u'X':
                    done = FormatInteger(out, fmt, arg);
                    break;
                case u'c':
                    if (arg.kind() != FormatArg::Kind::text) {
                        Pad(out, std::u16string(1, static_cast<char16_t>(arg.asInt())), fmt, false);
                        done = true;
                    }
                    break;
                case u's':
                    if (arg.kind() == FormatArg::Kind::text) {
                        std::u16string_view text(arg.asText() == nullptr ? u"(null)"
                                                                         : arg.asText());
                        if (fmt.precision >= 0) {
                            text = text.substr(0, static_cast<std::size_t>(fmt.precision));
                        }
                        Pad(out, std::u16string(text), fmt, false);
                        done = true;
                    }
                    break;
                default:
                    break;
            }
            if (done) {
                ++next;
            }
        }
        if (!done) {
            // A directive without a fitting argument is shown as written, so a
            // faulty template is visible instead of reading stray memory.
            out.append(directive, p);
        }
    }
    return CString(std::move(out));
}

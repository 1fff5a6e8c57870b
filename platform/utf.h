// Conversions between the program's UTF-16 text and UTF-8, for the edges where
// text leaves the program (file names on Linux, tests, diagnostics).
#pragma once

#include <string>
#include <string_view>

// The UTF-16 surrogate ranges: a high unit followed by a low unit stands for
// one code point above U+FFFF; either one alone stands for nothing.
inline constexpr char16_t kHighSurrogateFirst = 0xD800;
inline constexpr char16_t kHighSurrogateLast = 0xDBFF;
inline constexpr char16_t kLowSurrogateFirst = 0xDC00;
inline constexpr char16_t kLowSurrogateLast = 0xDFFF;

constexpr bool IsHighSurrogate(char32_t c) {
    return c >= kHighSurrogateFirst && c <= kHighSurrogateLast;
}
constexpr bool IsLowSurrogate(char32_t c) {
    return c >= kLowSurrogateFirst && c <= kLowSurrogateLast;
}
// Either kind: a value no code point may take.
constexpr bool IsSurrogate(char32_t c) {
    return IsHighSurrogate(c) || IsLowSurrogate(c);
}

// UTF-16 to UTF-8. False (and `out` unspecified) when `in` holds a lone
// surrogate, which no UTF-8 text can stand for.
bool Utf16ToUtf8(std::u16string_view in, std::string& out);

// UTF-8 to UTF-16; a malformed byte sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view in);

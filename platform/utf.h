// Conversions between the program's UTF-16 text and UTF-8, for the edges where
// text leaves the program (file names on Linux, tests, diagnostics).
#pragma once

#include <string>
#include <string_view>

// UTF-16 to UTF-8. False (and `out` unspecified) when `in` holds a lone
// surrogate, which no UTF-8 text can stand for.
bool Utf16ToUtf8(std::u16string_view in, std::string& out);

// UTF-8 to UTF-16; a malformed byte sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view in);

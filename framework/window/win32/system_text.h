// Text at the edge between the program (CString, UTF-16 in char16_t) and the
// Windows API (UTF-16 in wchar_t, which is 16 bits there): the units are
// passed unchanged.
#pragma once

#include <string>

#include "framework/core/string.h"
#include "platform/win_types.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's text is UTF-16");

inline const wchar_t* WideText(const CString& text) {
    return reinterpret_cast<const wchar_t*>(text.GetString());
}

inline const wchar_t* WideText(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

// `length` units from `text` (no terminator needed).
inline CString FromWide(const wchar_t* text, int length) {
    return CString(std::u16string(reinterpret_cast<const char16_t*>(text),
                                  static_cast<std::size_t>(length > 0 ? length : 0)));
}

// A window's whole text, exactly as the window holds it.
CString WindowTextOf(HWND window);

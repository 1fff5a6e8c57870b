// CString: the program's text type, UTF-16 as paths and limits are counted in
// UTF-16 units. Format fills it from a template with the program's one
// printf-style formatter (framework/core/format.h).
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "framework/core/format.h"

class CString {
public:
    CString() = default;
    CString(const char16_t* text);  // NOLINT(google-explicit-constructor): literals pass as text
    CString(const char16_t* text, int length);
    explicit CString(std::u16string text) : m_text(std::move(text)) {}

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char16_t* GetString() const { return m_text.c_str(); }
    operator const char16_t*() const { return m_text.c_str(); }  // NOLINT
    char16_t GetAt(int index) const { return m_text.at(static_cast<std::size_t>(index)); }
    const std::u16string& str() const { return m_text; }

    // The first `count` units (all of them when there are fewer).
    CString Left(int count) const;
    // Index of the first `sub` at or after `start`, or -1.
    int Find(const char16_t* sub, int start = 0) const;
    // Replaces every `oldText` with `newText`; returns how many were replaced.
    int Replace(const char16_t* oldText, const char16_t* newText);

    CString& operator+=(const CString& other);
    CString& operator+=(char16_t unit);
    friend CString operator+(const CString& a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }

    // Replaces the content with the formatted text (see FormatString).
    template <typename... Args>
    void Format(const char16_t* format, const Args&... args) {
        m_text = FormatString(format, {FormatArg(args)...});
    }

    // Text for the world outside: Qt, tests, diagnostics. A lone surrogate
    // becomes U+FFFD in ToUtf8.
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view utf8);

private:
    std::u16string m_text;
};

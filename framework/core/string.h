// CString: the program's text type, UTF-16 as paths and limits are counted in
// UTF-16 units, and the one printf-style formatter behind every message.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

class CString;

// One argument of the formatter. Holds integers as 64 bits and text as a
// pointer that must outlive the call; a conversion that does not fit the
// argument's kind is copied to the output unchanged instead of being guessed.
class FormatArg {
public:
    enum class Kind { signedInt, unsignedInt, text };

    template <typename T>
    requires std::is_integral_v<T> FormatArg(
        T value)  // NOLINT(google-explicit-constructor): used in argument lists
        : m_kind(std::is_signed_v<T> ? Kind::signedInt : Kind::unsignedInt),
          m_int(static_cast<std::int64_t>(value)) {}
    FormatArg(const char16_t* text) : m_kind(Kind::text), m_text(text) {}  // NOLINT
    FormatArg(const CString& text);                                        // NOLINT

    Kind kind() const { return m_kind; }
    std::int64_t asInt() const { return m_int; }
    const char16_t* asText() const { return m_text; }

private:
    Kind m_kind;
    std::int64_t m_int = 0;
    const char16_t* m_text = nullptr;
};

// Formats like printf over UTF-16: %d %i %u %x %X %c %s %%, flags - 0 + space,
// width, precision, and the 64-bit size prefixes I64 and ll. %d and %u take
// the low 32 bits of their argument, %I64d all 64.
CString FormatString(const char16_t* format, std::initializer_list<FormatArg> args);

class CString {
public:
    CString() = default;
    CString(const char16_t* text);  // NOLINT(google-explicit-constructor): as the framework's
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
        *this = FormatString(format, {FormatArg(args)...});
    }

    // Text for the world outside: Qt, tests, diagnostics. A lone surrogate
    // becomes U+FFFD in ToUtf8.
    std::string ToUtf8() const;
    static CString FromUtf8(std::string_view utf8);

private:
    std::u16string m_text;
};

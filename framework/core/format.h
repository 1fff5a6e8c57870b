// The one printf-style formatter behind every message of the program, over
// UTF-16. CString::Format (framework/core/string.h) is its usual entry.
//
// Conversions: %d %i %u %x %X %c %s %%; flags - 0 + and space; width;
// precision; the 64-bit size prefixes I64 and ll (l and h are read and change
// nothing). %d and %u take the low 32 bits of their argument, %I64d all 64.
// A conversion whose argument is missing or of the wrong kind is copied to the
// output as written, so a faulty template shows instead of reading stray data.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>

// One argument of the formatter. Holds integers as 64 bits and text as a
// pointer that must outlive the call (a CString passes as its text); a
// conversion that does not fit the argument's kind is copied to the output
// unchanged instead of being guessed.
class FormatArg {
public:
    enum class Kind { signedInt, unsignedInt, text };

    template <typename T>
    requires std::is_integral_v<T> FormatArg(
        T value)  // NOLINT(google-explicit-constructor): used in argument lists
        : m_kind(std::is_signed_v<T> ? Kind::signedInt : Kind::unsignedInt),
          m_int(static_cast<std::int64_t>(value)) {}
    FormatArg(const char16_t* text) : m_kind(Kind::text), m_text(text) {}  // NOLINT

    Kind kind() const { return m_kind; }
    std::int64_t asInt() const { return m_int; }
    const char16_t* asText() const { return m_text; }

private:
    Kind m_kind;
    std::int64_t m_int = 0;
    const char16_t* m_text = nullptr;
};

// `format` with each conversion replaced by the next argument; an empty text
// for a null `format`.
std::u16string FormatString(const char16_t* format, std::initializer_list<FormatArg> args);

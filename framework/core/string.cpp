#include "framework/core/string.h"

#include "platform/utf.h"

namespace {

// `text` with every surrogate that is not part of a pair replaced by U+FFFD.
std::u16string WithoutLoneSurrogates(std::u16string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        } else if (IsSurrogate(text[i])) {
            text[i] = u'\uFFFD';
        }
    }
    return text;
}

}  // namespace

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
    Utf16ToUtf8(WithoutLoneSurrogates(m_text), out);
    return out;
}

CString CString::FromUtf8(std::string_view utf8) {
    return CString(Utf8ToUtf16(utf8));
}

// Text at the edge between the program (CString, UTF-16) and Qt (QString,
// also UTF-16): the units are copied unchanged.
#pragma once

#include <QString>

#include "framework/core/string.h"

inline QString ToQt(const CString& text) {
    return QString::fromUtf16(text.GetString(), text.GetLength());
}

inline CString FromQt(const QString& text) {
    return CString(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size())));
}

// What a label, a caption or a box shows for a text: CR LF (and a lone CR)
// become Qt's line end; the stored text keeps them.
inline QString ToDisplayText(const CString& text) {
    QString shown = ToQt(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

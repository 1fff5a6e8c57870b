// Lets GoogleTest print the program's text in failure messages. Qt-free, so
// the engine's tests and the window's tests share the one printer.
#pragma once

#include <ostream>

#include "framework/core/string.h"

inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << text.ToUtf8() << '"';
}

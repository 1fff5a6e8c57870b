// Lets GoogleTest print the program's text in failure messages.
#pragma once

#include <ostream>

#include "framework/core/string.h"

inline void PrintTo(const CString& text, std::ostream* os) {
    *os << '"' << text.ToUtf8() << '"';
}

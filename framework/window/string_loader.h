// Loads a text of the program's string table by id, like the platform's
// LoadString: an id the table does not hold gives an empty text, which
// callers take as "no such string".
#pragma once

#include "framework/core/string.h"
#include "framework/core/string_table.h"

CString LoadStringResource(const StringTable& table, unsigned id);

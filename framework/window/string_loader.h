// Loads a text of the program's string table by id, like the platform's
// LoadString: the system's own copy first (the Windows program's string table
// resource is made from the same table), else the table's; an id neither
// holds gives an empty text, which callers take as "no such string".
#pragma once

#include "framework/core/string.h"
#include "framework/core/string_table.h"

CString LoadStringResource(const StringTable& table, unsigned id);

// Each port's (its string_loader.cpp):

// The program's string resource `id` as the system holds it; empty when the
// system holds none (LoadStringResource then answers from the table).
CString LoadSystemString(unsigned id);

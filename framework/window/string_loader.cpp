#include "framework/window/string_loader.h"

#include "framework/window/window_system.h"

CString LoadStringResource(const StringTable& table, unsigned id) {
    // The system's own copy first (the Windows program's string table
    // resource is made from the same table); a program without it answers
    // from the table.
    if (CString text = LoadSystemString(id); !text.IsEmpty()) {
        return text;
    }
    for (int i = 0; i < table.count; ++i) {
        if (table.entries[i].id == id) {
            return CString(table.entries[i].text);
        }
    }
    return CString();
}

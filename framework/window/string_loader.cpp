#include "framework/window/string_loader.h"

CString LoadStringResource(const StringTable& table, unsigned id) {
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

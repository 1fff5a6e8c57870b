// On Linux the program carries its texts only as the table itself.
#include "framework/window/string_loader.h"

CString LoadStringResource(const StringTable& table, unsigned id) {
    for (int i = 0; i < table.count; ++i) {
        if (table.entries[i].id == id) {
            return CString(table.entries[i].text);
        }
    }
    return CString();
}

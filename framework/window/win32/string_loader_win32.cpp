// On Windows the program's texts are its string table resource. The resource
// script is made from the same table the program carries as data, so a
// program built without the script (the framework's test programs) answers
// from the table.
#include "framework/window/string_loader.h"
#include "framework/window/win32/win_text.h"

CString LoadStringResource(const StringTable& table, unsigned id) {
    // A zero buffer size returns the resource's own text (not terminated)
    // and its length, so a text of any length comes back whole.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text != nullptr) {
        return FromWide(text, length);
    }
    for (int i = 0; i < table.count; ++i) {
        if (table.entries[i].id == id) {
            return CString(table.entries[i].text);
        }
    }
    return CString();
}

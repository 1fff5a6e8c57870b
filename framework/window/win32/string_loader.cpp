// On Windows the program's texts are its string table resource.
#include "framework/window/string_loader.h"
#include "framework/window/win32/system_text.h"

CString LoadSystemString(unsigned id) {
    // A zero buffer size returns the resource's own text (not terminated)
    // and its length, so a text of any length comes back whole.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? FromWide(text, length) : CString();
}

// The application's start, end and message loop over the Windows API.
// The system's headers first: the common controls' header needs them.
#include "platform/win_types.h"

#include <commctrl.h>
#include <objbase.h>

#include <vector>

#include "framework/window/win32/system_text.h"
#include "framework/window/win_app.h"

void RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

CString ProgramFileTitle() {
    // The path may be longer than MAX_PATH; the buffer grows until it fits.
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return CString();
        }
        if (length < path.size()) {
            break;
        }
        path.resize(path.size() * 2);
    }
    DWORD start = length;
    while (start > 0 && path[start - 1] != L'\\' && path[start - 1] != L'/') {
        --start;
    }
    DWORD end = length;
    for (DWORD i = length; i > start; --i) {
        if (path[i - 1] == L'.') {
            end = i - 1;
            break;
        }
    }
    return FromWide(path.data() + start, static_cast<int>(end - start));
}

namespace {

// Whether the window system was started, and whether COM was (AfxWinTerm
// ends it).
bool g_started = false;
bool g_comStarted = false;

}  // namespace

bool WindowSystemStarted() {
    return g_started;
}

void StartWindowSystem(int&, char**) {
    // No boxes of the system's own for a drive without its medium or a file
    // not found: the program reports each failure itself.
    SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    // The accessibility runtime's services (the controls' names) are COM's.
    if (!g_comStarted) {
        g_comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    g_started = true;
}

void NameApplication(const CString&) {
    // The system keeps no application name: the framework's boxes take it
    // from AfxGetAppName.
}

void EndWindowSystem() {
    // The system's windows and classes go with the process; COM is ended.
    if (g_comStarted) {
        CoUninitialize();
        g_comStarted = false;
    }
    g_started = false;
}

// CDialog's own part over Qt: its window is a DialogWindow (dialog_window.h),
// whose widgets the control factory makes from the template; the port keeps
// them by id.
#pragma once

#include <map>

#include "framework/window/dialog.h"

struct CDialog::Port {
    // Makes `dialog`'s window, owned by `owner`, and its controls, then runs
    // the end of its creation (RunInitDialog).
    static void MakeWindow(CDialog& dialog, HWND owner);
    // Sends the destruction event, then deletes the window.
    static void DestroyWindow(CDialog& dialog);
    // Deletes the window, if any, without telling the message map.
    static void DeleteWindow(CDialog& dialog);

    // The controls by id; the first of an id that several share.
    std::map<int, QWidget*> controls;

private:
    static void BuildControls(CDialog& dialog, Port& port);
};

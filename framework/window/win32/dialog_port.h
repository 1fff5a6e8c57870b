// The Windows part of a CDialog: the dialog procedure of every CDialog's
// window. The system keeps the window and its controls, so the port keeps
// nothing of its own (a CDialog's DialogPort stays null). The system's dialog
// manager calls the procedure for each message; it finds the CDialog (kept in
// the window's DWLP_USER from WM_INITDIALOG on) and routes the message through
// the dialog's message map, every handler inside AfxCallGuarded, so no
// exception crosses the system's frames. It reaches the dialog through its
// public members and CDialog::PortAccess only:
// - WM_INITDIALOG: sets the dialog's window, base units and window menu,
//   makes edit fields take dropped files (file_drop.h) and group boxes
//   show their captions on one line (control_text.h), runs the end of the
//   creation (OnInitDialog, the first focus) and centres the window (unless
//   the template has DS_CENTER); the system places no focus of its own;
// - WM_COMMAND with BN_CLICKED (a click, or IDOK and IDCANCEL from Enter and
//   Escape): the command of that id; WM_HELP (F1): the command ID_HELP;
// - WM_CLOSE: the close event; WM_DESTROY: the destruction event, after which
//   the dialog has no window;
// - WM_SYSCOMMAND: the system command through the map (CDialog's default is
//   the system's own handling); WM_CONTEXTMENU: the window menu;
// - WM_PAINT while minimised and WM_QUERYDRAGICON, where the style has a
//   minimise box: the dialog's icon.
// Everything else goes to the dialog manager's own handling.
#pragma once

#include "framework/window/dialog.h"
#include "platform/win_types.h"

class DialogPort {
public:
    // For DialogBoxIndirectParamW; the creation parameter is the CDialog.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static INT_PTR InitDialog(CDialog& dialog, HWND window);
    static INT_PTR Destroy(CDialog& dialog, HWND window);
    // FALSE when the menu is not the dialog's to show (on the caption the
    // system shows its own).
    static INT_PTR ContextMenu(CDialog& dialog, LPARAM lParam);
    static INT_PTR PaintMinimised(CDialog& dialog, HWND window);
    static bool CanMinimise(const CDialog& dialog);
};

// What each window system's port (qt/, win32/) gives the shared part of the
// framework. The shared files hold every rule both systems follow (a box's
// owner, the window menu's items, the first focus, the application's start
// and end, the string table's fallback); a port holds what its system does
// differently: these calls, CDialog's members that work on its window and
// controls (its dialog.cpp) and CDialog::Port, the port's own part of a dialog
// (its dialog_port.h).
#pragma once

#include <vector>

#include "framework/core/string.h"
#include "framework/window/window_handle.h"
#include "framework/window/window_menu.h"

// The application's start and end (win_app.cpp).

// Whether the window system has been started for the process (by
// StartWindowSystem or, with Qt, by a test's own application object).
bool WindowSystemStarted();
// Starts it: with Qt the one QApplication from argc and argv, which must
// outlive it; on Windows the error mode (no system boxes for failed media),
// the common controls and COM. A second call starts nothing again.
void StartWindowSystem(int& argc, char** argv);
// Tells the window system the application's name.
void NameApplication(const CString& name);
// The application's message loop, until the program ends it.
void RunMessageLoop();
// Ends what StartWindowSystem started.
void EndWindowSystem();

// The modal window the user works in now: the one whose modal loop is the
// innermost running (a dialog, or a box the system shows); null when none is
// open or the program's windows are not the active ones (owner_window.cpp).
HWND ActiveModalWindow();

// The system's own message box, behind ShowMessageBox (message_box.h), which
// hands every box to the test hook instead when one is installed: modal,
// owned by `owner`; returns the answer (IDOK, IDCANCEL, IDYES or IDNO).
// Texts are shown exactly; CR LF ends a line.
int ShowSystemMessageBox(HWND owner, const CString& text, const CString& title, unsigned style);

// The system's own showing of a window menu, behind TrackWindowMenu
// (window_menu.h): `menu` at the screen position x, y over `owner`, until a
// choice. Returns the chosen command id, 0 when the menu was dismissed.
unsigned TrackSystemWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY);
// The items of a system menu a CMenu is bound to (m_hMenu), and appending one;
// a port whose dialogs keep window menus of their own binds none, and never
// gets these calls.
std::vector<CMenu::Item> SystemMenuItems(HMENU menu);
void AppendSystemMenuItem(HMENU menu, const CMenu::Item& item);

// The program's string resource `id` as the system holds it; empty when the
// system holds none (string_loader.h falls back to the program's table).
CString LoadSystemString(unsigned id);

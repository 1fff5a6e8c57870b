// The platform's own showing of a window menu, behind TrackWindowMenu
// (window_menu.h), which hands every menu to the test hook instead when one
// is installed.
#pragma once

#include "framework/window/window_handle.h"
#include "framework/window/window_menu.h"

// Shows `menu` at the screen position x, y over `owner` and waits for a
// choice. Returns the chosen command id, 0 when the menu was dismissed.
unsigned TrackSystemWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY);

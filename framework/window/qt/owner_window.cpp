// The active modal window as Qt keeps it: the top of its stack of modal windows.
#include <QApplication>

#include "framework/window/owner_window.h"

HWND ActiveModalWindow() {
    return QApplication::activeModalWidget();
}

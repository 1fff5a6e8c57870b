// The Qt part of a CDialog while its window exists: the window, a
// DialogWindow (dialog_window.h) in the template's font and size, and its
// controls, which the control factory makes from the template and which the
// port keeps by id. It reaches the dialog through its public members only.
#pragma once

#include <map>
#include <memory>

#include "framework/window/dialog.h"
#include "framework/window/qt/dialog_window.h"

class DialogPort {
public:
    // Makes the window of `dialog`'s template, owned by `owner`, with its
    // controls, hidden until the modal run shows it. The clicks and keys it
    // takes go to `dialog`, which must outlive it.
    DialogPort(CDialog& dialog, HWND owner);
    // Deletes the window; nothing it sees while it goes reaches the dialog.
    ~DialogPort();
    DialogPort(const DialogPort&) = delete;
    DialogPort& operator=(const DialogPort&) = delete;

    DialogWindow* Window() const { return m_window.get(); }
    // The base units of the window's font.
    DialogBaseUnits BaseUnits() const { return m_baseUnits; }
    // The control `id`, the first of an id that several share; null for
    // none and for IDC_STATIC.
    QWidget* Control(int id) const;

private:
    void BuildControls(CDialog& dialog);
    PixelRect ToPixels(int x, int y, int cx, int cy) const;

    std::unique_ptr<DialogWindow> m_window;
    DialogBaseUnits m_baseUnits{0, 0};
    std::map<int, QWidget*> m_controls;
};

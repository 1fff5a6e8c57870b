// CDialog: a dialog built from a dialog template held as data, its controls
// addressed by id, a message map per dialog class, the modal run and the end
// of the dialog.
//
// The window and its controls are the window system's: Qt's widgets built by
// the control factory (qt/control_factory.h), or on Windows the system's
// dialog made from the same template in memory. This header is the same for
// both; the members marked as each port's are defined by the port's
// dialog.cpp, and the port's own part of a dialog (DialogPort, its
// dialog_port.h) reaches the dialog through its public members and
// CDialog::PortAccess only. Positions and sizes of the template are dialog
// units of the template's font (dialog_units.h).
//
// Keys: Enter on a focused push button presses it; Enter anywhere else issues
// IDOK; Escape issues IDCANCEL. Tab follows the template order over visible,
// enabled tab stops. Radio buttons (BS_AUTORADIOBUTTON) are not tab stops
// unless the template says so, are not exclusive by themselves, and a click
// always selects.
//
// Every handler runs through one dispatch (framework/window/dispatch.h).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/dialog_template.h"
#include "framework/core/string.h"
#include "framework/window/dialog_units.h"
#include "framework/window/message_map.h"
#include "framework/window/window_handle.h"
#include "framework/window/window_menu.h"
#include "framework/window/wnd.h"

class CDialog;
// The port's own part of a dialog while its window exists (each port's
// dialog_port.h).
class DialogPort;

// Data exchange between controls and members; no dialog of this program uses
// it, so it only carries the direction.
class CDataExchange {
public:
    CDataExchange(CDialog* dlg, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
};

#ifndef _WIN32
// Check states of buttons (the system's own names on Windows).
inline constexpr unsigned BST_UNCHECKED = 0;
inline constexpr unsigned BST_CHECKED = 1;
#endif

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    // `dialogTemplate` must outlive the dialog. `parent` owns the window (it
    // is disabled while a modal run of this one lasts); null makes the
    // application's main window the owner when there is one. Either way, a
    // dialog opened while another modal window is active belongs to that
    // one (owner_window.h).
    explicit CDialog(const DialogTemplate& dialogTemplate, CDialog* parent = nullptr);
    ~CDialog() override;  // each port's
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window, runs OnInitDialog, shows the window centred and runs
    // its modal loop. Returns the result given to EndDialog once control is
    // back in this loop, after the window has been destroyed; -1 when the
    // window could not be created.
    virtual std::intptr_t DoModal();
    // Ends the dialog with `result`: the window hides at once; DoModal
    // returns when control is back in the dialog's own loop.
    void EndDialog(int result);

    // WM_INITDIALOG. True: the framework puts the focus on the first visible,
    // enabled tab stop in template order.
    virtual BOOL OnInitDialog();
    // IDOK: UpdateData, then EndDialog(IDOK).
    virtual void OnOK();
    // IDCANCEL: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // The icon given to SetIcon, big (32 x 32) or small (16 x 16).
    HICON GetIcon(BOOL bBigIcon) const;
    // The template and its font's base units (valid once the window exists).
    const DialogTemplate& GetTemplate() const { return m_template; }
    DialogBaseUnits GetBaseUnits() const { return m_baseUnits; }

    // Routes one event through the message map, inside the one dispatch.
    // False when an exception left the handler (it has been reported). A
    // command that the dialog's map does not take goes to the application.
    bool SendEvent(MessageEvent event, int id = 0);
    // Routes a window-menu command (WM_SYSCOMMAND) the same way.
    bool SendSysCommand(unsigned id, std::intptr_t lParam = 0);
    // Opens the window menu (GetSystemMenu) at the screen position x, y; a
    // chosen item is sent as a system command.
    void ShowWindowMenu(int screenX, int screenY);

    // Each port's (its dialog.cpp): the window and its controls.

    CString GetWindowText() const;
    void SetWindowText(const CString& text);
    // Sets the big (32 x 32) or the small (16 x 16) window icon; the icon
    // must stay loaded while the dialog shows it.
    void SetIcon(HICON icon, BOOL bBigIcon);
    // Dialog units to pixels with this dialog's base units.
    PixelRect MapDialogRect(int x, int y, int cx, int cy) const;

    // Controls by id; null (or empty, or no effect) when there is no such
    // control or no window.
    HWND GetDlgItem(int id) const;
    // The id of a control of this dialog; 0 for anything else.
    int GetDlgCtrlID(HWND control) const;
    CString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const CString& text);
    void CheckDlgButton(int id, unsigned check);
    unsigned IsDlgButtonChecked(int id) const;
    void EnableDlgItem(int id, BOOL enable);
    BOOL IsDlgItemEnabled(int id) const;
    BOOL IsDlgItemVisible(int id) const;
    // Widens the control to the width its text takes in its font, when the
    // text would not fit; its position and height stay.
    void FitDlgItemToText(int id);
    // Moves the keyboard focus to the control.
    void GotoDlgCtrl(int id);
    // The id of the control that has the keyboard focus, 0 when none has.
    int GetFocusedDlgItem() const;
    // The name assistive technologies read for a control.
    void SetDlgItemAccessibleName(int id, const CString& name);
    // The description they read after its name and role: what tells apart
    // controls of the same name.
    void SetDlgItemAccessibleDescription(int id, const CString& description);

    // The dialog's window menu (see window_menu.h): null when the template
    // has no system menu or the window does not exist. `bRevert` puts the
    // platform's items back and returns null, as the platform's call does.
    CMenu* GetSystemMenu(BOOL bRevert);

    // What the port's own part of a dialog (DialogPort) may do to the dialog
    // beyond its public members; nothing else of the dialog is the port's.
    class PortAccess {
        friend class DialogPort;
        // The window the port has made, with its controls and the base units
        // of its font; the dialog's window menu starts empty.
        static void AttachWindow(CDialog& dialog, HWND window, DialogBaseUnits units) {
            dialog.AttachWindow(window, units);
        }
        // The end of the window's creation (WM_INITDIALOG): OnInitDialog, then
        // the first focus. False when the dialog was ended in it.
        static bool RunInitDialog(CDialog& dialog) { return dialog.RunInitDialog(); }
        // The window is going: from now on the dialog has none.
        static void DetachWindow(CDialog& dialog) { dialog.DetachWindow(); }
    };

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // WM_CLOSE default course: issues IDCANCEL.
    void OnClose();
    // WM_DESTROY default handling (nothing to do).
    void OnDestroy();
    // Each port's. WM_SYSCOMMAND default handling: close sends the close
    // request, move starts a window-manager move; other commands do nothing.
    void OnSysCommand(unsigned nID, std::intptr_t lParam);

private:
    struct DialogPortDeleter {
        void operator()(DialogPort* port) const;  // each port's (its dialog_port.cpp)
    };

    // Each port's: makes the window, owned by `owner`, and runs its modal
    // loop until the dialog ends; the result for DoModal.
    std::intptr_t RunModalLoop(HWND owner);
    // Each port's: hides the window at once and asks its modal loop to
    // return when control is back in it.
    void EndModalLoop(int result);

    void AttachWindow(HWND window, DialogBaseUnits units);
    bool RunInitDialog();
    void DetachWindow();
    void RouteEvent(MessageEvent event, int id, std::intptr_t lParam = 0);
    void FocusFirstTabStop();

    const DialogTemplate& m_template;
    CDialog* m_pParentWnd;
    DialogBaseUnits m_baseUnits{0, 0};
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    int m_nModalResult = -1;
    bool m_bEnded = false;
    CMenu m_windowMenu;
    // What the port keeps of the window while it exists: with Qt the window
    // and its controls; null on Windows, where the system keeps them.
    std::unique_ptr<DialogPort, DialogPortDeleter> m_port;
};

// CAboutDlg: the About box (IDD_ABOUT): the icon, "Tesserak Version 1.0" and
// a second line, and OK. It has no parent of its own, so the framework makes
// the application's main window its owner and centres it over that window;
// OK, Enter, Escape and the close box all close it. It lives only while shown.
#pragma once

#include "framework/window/dialog.h"
#include "resources/resource.h"

class CAboutDlg : public CDialog {
    DECLARE_DYNAMIC(CAboutDlg)
public:
    enum { IDD = IDD_ABOUT };

    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};

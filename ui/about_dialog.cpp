#include "ui/about_dialog.h"

#include "resources/resources.h"

IMPLEMENT_DYNAMIC(CAboutDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
// clang-format on

CAboutDlg::CAboutDlg() : CDialog(kAboutDialogTemplate) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

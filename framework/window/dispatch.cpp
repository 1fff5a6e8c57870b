#include "framework/window/dispatch.h"

#include "framework/window/message_box.h"
#include "framework/window/win_app.h"

void ReportCommandFailure(HWND owner, const CException& e) {
    const FailureReport report = DescribeFailure(e);
    if (!report.show) {
        return;
    }
    ShowMessageBox(owner, report.text, AfxGetAppName(), report.style);
}

void ReportForeignFailure(HWND owner, const std::exception* e) {
    CString text = e != nullptr ? CString::FromUtf8(e->what()) : CString(u"不明なエラーです。");
    ShowMessageBox(owner, text.Left(kMaxShownMessage), AfxGetAppName(), MB_OK | MB_ICONSTOP);
}

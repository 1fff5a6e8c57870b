// The names a screen reader gets for the main dialog's fields, and the
// descriptions of its row buttons, read back
// through the system's accessibility runtime as a reader reads them.
#include "framework/window/win32/accessible_name.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>

#include "resources/resource.h"
#include "tests/support/cstring_printer.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

// What the runtime gives `control` through `read` (its name or its
// description); empty when it gives none.
CString TextOf(HWND control, HRESULT (STDMETHODCALLTYPE IAccessible::*read)(VARIANT, BSTR*)) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return CString();
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    CString result;
    if (SUCCEEDED((accessible->*read)(self, &text)) && text != nullptr) {
        result =
            CString(std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
        SysFreeString(text);
    }
    accessible->Release();
    return result;
}

CString NameOf(HWND control) {
    return TextOf(control, &IAccessible::get_accName);
}

CString DescriptionOf(HWND control) {
    return TextOf(control, &IAccessible::get_accDescription);
}

TEST(AccessibleNameTest, FieldsAndRowButtonsCarryTheirLabelsAndFollowTheMode) {
    CSplitJoinDlg dlg;
    RunModalSteps(
        dlg, {[&] {
            if (!SetAccessibleName(dlg.GetDlgItem(IDC_STATUS), CString(u"probe"))) {
                GTEST_SKIP() << "this system's accessibility runtime takes no names";
            }
            EXPECT_EQ(NameOf(dlg.GetDlgItem(IDC_SOURCE_PATH)),
                      CString(u"分割するファイル（フルパス）"));
            EXPECT_EQ(NameOf(dlg.GetDlgItem(IDC_FOLDER_1 + 2)), CString(u"分割ファイル3つ目"));
            EXPECT_EQ(NameOf(dlg.GetDlgItem(IDC_DEST_FOLDER)), CString(u"結合先フォルダ指定"));
            // The row buttons keep their caption as name and carry their row.
            EXPECT_EQ(NameOf(dlg.GetDlgItem(IDC_ROW_BUTTON_1 + 2)), CString(u"分割開始"));
            EXPECT_EQ(DescriptionOf(dlg.GetDlgItem(IDC_ROW_BUTTON_1 + 2)),
                      CString(u"分割ファイル3つ目"));
            SendMessageW(dlg.GetDlgItem(IDC_MODE_JOIN), BM_CLICK, 0, 0);
            EXPECT_EQ(NameOf(dlg.GetDlgItem(IDC_FOLDER_1 + 9)), CString(u"結合するファイル10つ目"));
            EXPECT_EQ(DescriptionOf(dlg.GetDlgItem(IDC_ROW_BUTTON_1 + 9)),
                      CString(u"結合するファイル10つ目"));
        }});
}

}  // namespace

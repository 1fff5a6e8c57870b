// Files and folders dropped from the file manager onto the main dialog's
// fields, handed over as the system hands a drop to a window: a drop handle
// posted with WM_DROPFILES to the field under the pointer.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win_types.h"

// The drop handle and its header; they need the system's types first.
#include <shellapi.h>
#include <shlobj.h>

#include "resources/resource.h"
#include "tests/support/cstring_printer.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

// A drop as the file manager makes it: the header, then the wide paths, each
// ended by a NUL, and one more NUL. The window it is posted to releases it.
HDROP MakeDrop(const std::vector<std::u16string>& paths) {
    std::u16string list;
    for (const std::u16string& path : paths) {
        list += path;
        list += u'\0';
    }
    list += u'\0';
    const std::size_t bytes = list.size() * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, list.data(), bytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct DropCase {
    const char* name;
    bool joinMode;
    int field;
    const char16_t* before;
    std::vector<std::u16string> dropped;
    const char16_t* after;
};

void PrintTo(const DropCase& drop, std::ostream* os) {
    *os << drop.name;
}

class FileDropTest : public ::testing::TestWithParam<DropCase> {};

TEST_P(FileDropTest, OnlyAnEnabledFieldTakesTheFirstItemsFullPath) {
    const DropCase& drop = GetParam();
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                            if (drop.joinMode) {
                                PostClick(dlg, IDC_MODE_JOIN);
                            }
                        },
                        [&] {
                            dlg.SetDlgItemText(drop.field, drop.before);
                            PostMessageW(dlg.GetDlgItem(drop.field), WM_DROPFILES,
                                         reinterpret_cast<WPARAM>(MakeDrop(drop.dropped)), 0);
                        },
                        [&] { EXPECT_EQ(dlg.GetDlgItemText(drop.field), CString(drop.after)); }});
}

const std::u16string kLongPath = u"C:\\" + std::u16string(300, u'a');

INSTANTIATE_TEST_SUITE_P(
    Drops, FileDropTest,
    ::testing::Values(
        DropCase{"FileOntoTheSource",
                 false,
                 IDC_SOURCE_PATH,
                 u"C:\\old.bin",
                 {u"C:\\data\\disk.img"},
                 u"C:\\data\\disk.img"},
        DropCase{"FolderOntoARow", false, IDC_FOLDER_5, u"", {u"D:\\pieces"}, u"D:\\pieces"},
        DropCase{"SeveralItemsGiveTheFirst",
                 false,
                 IDC_FOLDER_1,
                 u"x",
                 {u"E:\\first", u"E:\\second.bin", u"E:\\third"},
                 u"E:\\first"},
        DropCase{"JapaneseFolderOntoTheDestination",
                 true,
                 IDC_DEST_FOLDER,
                 u"",
                 {u"C:\\ユーザー\\山田\\結合先"},
                 u"C:\\ユーザー\\山田\\結合先"},
        DropCase{
            "PathLongerThanMaxPath", false, IDC_FOLDER_10, u"", {kLongPath}, kLongPath.c_str()},
        DropCase{"DisabledDestinationInSplitMode",
                 false,
                 IDC_DEST_FOLDER,
                 u"C:\\keep",
                 {u"C:\\other"},
                 u"C:\\keep"},
        DropCase{"NoItems", false, IDC_SOURCE_PATH, u"C:\\keep.bin", {}, u"C:\\keep.bin"}),
    [](const ::testing::TestParamInfo<DropCase>& info) { return std::string(info.param.name); });

TEST(FileDropEditTest, EveryFieldAcceptsFilesAndADropIsOneEditToUndo) {
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                            for (int i = 0; i < dlg.GetTemplate().itemCount; ++i) {
                                const DialogItemTemplate& item = dlg.GetTemplate().items[i];
                                HWND control = dlg.GetDlgItem(item.id);
                                const bool accepts =
                                    (GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
                                EXPECT_EQ(accepts, item.windowClass == DialogItemClass::edit)
                                    << "control " << item.id;
                            }
                            dlg.SetDlgItemText(IDC_FOLDER_2, u"C:\\typed");
                            PostMessageW(dlg.GetDlgItem(IDC_FOLDER_2), WM_DROPFILES,
                                         reinterpret_cast<WPARAM>(MakeDrop({u"C:\\dropped"})), 0);
                        },
                        [&] {
                            ASSERT_EQ(dlg.GetDlgItemText(IDC_FOLDER_2), CString(u"C:\\dropped"));
                            SendMessageW(dlg.GetDlgItem(IDC_FOLDER_2), EM_UNDO, 0, 0);
                            EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_2), CString(u"C:\\typed"));
                        }});
}

}  // namespace

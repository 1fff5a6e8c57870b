// The main window's icons on Windows: the large one and the small one are the
// icon resource's own 32 x 32 and 16 x 16 images.
#include <gtest/gtest.h>

#include <utility>

#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

// The width and height of an icon's colour image; 0, 0 for none.
std::pair<int, int> SizeOf(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return {0, 0};
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST(WindowIconWin32Test, TheLargeAndSmallIconsAreTheResourcesOwnImages) {
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      const HWND window = dlg.GetSafeHwnd();
                      const auto big =
                          reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
                      const auto small =
                          reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
                      EXPECT_EQ(SizeOf(big), std::make_pair(32, 32));
                      EXPECT_EQ(SizeOf(small), std::make_pair(16, 16));
                  }});
}

}  // namespace

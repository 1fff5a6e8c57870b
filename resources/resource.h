// Resource ids of the program: dialog templates (IDD_), controls (IDC_),
// strings (IDS_), icons (IDI_) and menu commands (IDM_).
#pragma once

#define IDD_ABOUT 100
#define IDS_ABOUT_MENU 101
#define IDD_MAIN 102
#define IDI_APP 128

#define IDC_SOURCE_PATH 1000
#define IDC_FOLDER_1 1001  // row n's folder is IDC_FOLDER_1 + n - 1
#define IDC_FOLDER_10 1010
#define IDC_ROW_BUTTON_1 1022  // row n's button is IDC_ROW_BUTTON_1 + n - 1
#define IDC_ROW_BUTTON_10 1031
#define IDC_USAGE 1032
#define IDC_MODE_SPLIT 1043
#define IDC_MODE_JOIN 1044
#define IDC_DEST_FOLDER 1046
#define IDC_STATUS 1048

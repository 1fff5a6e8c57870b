// Resource ids of the program: dialog templates (IDD_), controls (IDC_),
// strings (IDS_), icons (IDI_) and menu commands (IDM_). IDOK (1) and
// IDCANCEL (2) are the framework's standard command ids
// (framework/core/dialog_template.h).
#pragma once

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_MAIN 102

// Strings.
#define IDS_ABOUT_MENU 101  // "Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."

// Icons.
#define IDI_APP 128

// Menu commands.
#define IDM_ABOUT 16  // the About item of the window menu

// Controls of IDD_MAIN, by id.
#define IDC_SOURCE_PATH 1000
#define IDC_FOLDER_1 1001  // row n's folder is IDC_FOLDER_1 + n - 1
#define IDC_FOLDER_2 1002
#define IDC_FOLDER_3 1003
#define IDC_FOLDER_4 1004
#define IDC_FOLDER_5 1005
#define IDC_FOLDER_6 1006
#define IDC_FOLDER_7 1007
#define IDC_FOLDER_8 1008
#define IDC_FOLDER_9 1009
#define IDC_FOLDER_10 1010
#define IDC_SOURCE_GROUP 1011
#define IDC_ROW_LABEL_1 1012  // row n's label is IDC_ROW_LABEL_1 + n - 1
#define IDC_ROW_LABEL_2 1013
#define IDC_ROW_LABEL_3 1014
#define IDC_ROW_LABEL_4 1015
#define IDC_ROW_LABEL_5 1016
#define IDC_ROW_LABEL_6 1017
#define IDC_ROW_LABEL_7 1018
#define IDC_ROW_LABEL_8 1019
#define IDC_ROW_LABEL_9 1020
#define IDC_ROW_LABEL_10 1021
#define IDC_ROW_BUTTON_1 1022  // row n's button is IDC_ROW_BUTTON_1 + n - 1
#define IDC_ROW_BUTTON_2 1023
#define IDC_ROW_BUTTON_3 1024
#define IDC_ROW_BUTTON_4 1025
#define IDC_ROW_BUTTON_5 1026
#define IDC_ROW_BUTTON_6 1027
#define IDC_ROW_BUTTON_7 1028
#define IDC_ROW_BUTTON_8 1029
#define IDC_ROW_BUTTON_9 1030
#define IDC_ROW_BUTTON_10 1031
#define IDC_USAGE 1032
#define IDC_PIECE_NAME_1 1033  // row n's piece name is IDC_PIECE_NAME_1 + n - 1
#define IDC_PIECE_NAME_2 1034
#define IDC_PIECE_NAME_3 1035
#define IDC_PIECE_NAME_4 1036
#define IDC_PIECE_NAME_5 1037
#define IDC_PIECE_NAME_6 1038
#define IDC_PIECE_NAME_7 1039
#define IDC_PIECE_NAME_8 1040
#define IDC_PIECE_NAME_9 1041
#define IDC_PIECE_NAME_10 1042
#define IDC_MODE_SPLIT 1043
#define IDC_MODE_JOIN 1044
#define IDC_DEST_GROUP 1045
#define IDC_DEST_FOLDER 1046
#define IDC_DEST_NAME 1047
#define IDC_STATUS 1048
#define IDC_FOLDER_HEADER 1049
#define IDC_NAME_HEADER 1050
#define IDC_PIECES_GROUP 1051
#define IDC_DEST_NOTE 1052

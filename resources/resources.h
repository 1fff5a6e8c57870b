// The program's resources as data: dialog templates, the string table and icons.
#pragma once

#include "framework/core/dialog_template.h"
#include "framework/core/string_table.h"
#include "resources/resource.h"

// IDD_MAIN: the main dialog with its 55 controls.
extern const DialogTemplate kMainDialogTemplate;

// IDD_ABOUT: the About box.
extern const DialogTemplate kAboutDialogTemplate;

// The string table (IDS_ABOUT_MENU).
extern const StringTable kStringTable;

// IDI_APP: the program's icon, 32 x 32 and 16 x 16, 16 colours.
extern const IconResource kAppIcon;

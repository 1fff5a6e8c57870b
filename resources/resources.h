// The program's resources as data: dialog templates and icons.
#pragma once

#include "framework/core/dialog_template.h"
#include "resources/resource.h"

// IDD_MAIN: the main dialog with its 55 controls.
extern const DialogTemplate kMainDialogTemplate;

// IDI_APP: the program's icon, 32 x 32 and 16 x 16, 16 colours.
extern const IconResource kAppIcon;

// Lets an edit field take a file or folder dropped from the file manager, with
// the system's own drag and drop of files: the field accepts dropped files
// (WS_EX_ACCEPTFILES), and on a drop its whole text becomes the full path of
// the first dropped item, as one edit the user can undo (the field tells its
// dialog of the change as for typing). A disabled field takes nothing. Every
// drop handed to the field is released, taken or not.
#pragma once

#include "platform/win_types.h"

// Installs the drop handling on `field` (an edit control) for the field's
// life. Throws CMemoryException when the system could not install it.
void AcceptFileDrops(HWND field);

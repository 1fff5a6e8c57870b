// Lets an edit field take a file or folder dropped from a file manager: the
// field's whole text becomes the dropped item's local path. Drops that carry
// no local file keep the field's own handling (plain text is inserted).
#pragma once

class QLineEdit;

// Installs the drop handling on `field`; the field owns it.
void AcceptFileDrops(QLineEdit* field);

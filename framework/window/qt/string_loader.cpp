// On Linux the program carries its texts only as the table itself.
#include "framework/window/string_loader.h"

CString LoadSystemString(unsigned) {
    return CString();
}

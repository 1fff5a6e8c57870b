// On Linux the program carries its texts only as the table itself.
#include "framework/window/window_system.h"

CString LoadSystemString(unsigned) {
    return CString();
}

#include "framework/window/wnd.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

void CWnd::ShowHelp() {}

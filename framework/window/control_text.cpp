#include "framework/window/control_text.h"

CString CaptionOnOneLine(CString caption) {
    caption.Replace(u"\r", u"");
    caption.Replace(u"\n", u"");
    return caption;
}

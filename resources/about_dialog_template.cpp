// The dialog template IDD_ABOUT as data: the icon, the name and version, a
// second line, and OK. Position 0,0 without a centring style: the framework
// centres the box over the main window.
#include <cstdint>

#include "resources/resources.h"
#include "resources/version_info.h"

namespace {

const DialogItemTemplate kAboutDialogItems[] = {
    {DialogItemClass::staticText, IDC_STATIC, u"", 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON,
     &kAppIcon},
    {DialogItemClass::staticText, IDC_STATIC, kVersionAboutLine, 40, 10, 119, 8,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX},
    {DialogItemClass::staticText, IDC_STATIC, kComments, 40, 25, 119, 8,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
    {DialogItemClass::button, IDOK, u"OK", 178, 7, 50, 14,
     WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate = {
    u"Tesserakのﾊﾞｰｼﾞｮﾝ情報",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    0,
    0,
    235,
    55,
    9,
    u"ＭＳ Ｐゴシック",
    kAboutDialogItems,
    static_cast<int>(sizeof(kAboutDialogItems) / sizeof(kAboutDialogItems[0])),
};

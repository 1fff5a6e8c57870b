// The program's string table.
#include "resources/resources.h"

namespace {

const StringResource kStrings[] = {
    {IDS_ABOUT_MENU, u"Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
};

}  // namespace

const StringTable kStringTable = {kStrings,
                                  static_cast<int>(sizeof(kStrings) / sizeof(kStrings[0]))};

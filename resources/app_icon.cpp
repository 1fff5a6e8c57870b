// The icon IDI_APP: ten coloured tiles, one per piece, in a frame. The two
// images are XPM files (app_icon_32.xpm, app_icon_16.xpm), which are C text.
#include "resources/resources.h"

namespace {
#include "resources/app_icon_16.xpm"
#include "resources/app_icon_32.xpm"
}  // namespace

const IconResource kAppIcon = {IDI_APP, app_icon_32_xpm, app_icon_16_xpm};

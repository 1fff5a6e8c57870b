// The font a dialog template asks for, as Qt's font, and its base units.
#pragma once

#include "framework/core/dialog_template.h"
#include "framework/window/dialog_units.h"

class QFont;

// The font a template asks for (the template's face, then the platform's
// Japanese Gothic faces, at the template's point size; 9 pt when it gives
// none).
QFont TemplateFont(const DialogTemplate& dialogTemplate);

// The base units of a font: width = (width of A-Z a-z / 26 + 1) / 2,
// height = the font's height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

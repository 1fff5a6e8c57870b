// DialogTemplateMemory: a dialog template (framework/core/dialog_template.h)
// written out as the extended dialog template the system's dialog manager
// reads from memory (DialogBoxIndirectParamW), so the system builds the
// window and its controls itself.
//
// The bytes, all little-endian UTF-16 and DWORDs as the system reads them:
// the header (version 1, signature 0xFFFF, no help id, the template's extended
// style and style, the item count, the rectangle, no menu, the dialog class,
// the title), then the template font (point size, weight, italic, character
// set, face; DS_SETFONT is set whenever the template names a face, so the
// dialog units are those of that font), then one item per control in template
// order, each starting on a DWORD boundary: no help id, no extended style, the
// style, the rectangle, the id as a DWORD (IDC_STATIC is 0xFFFFFFFF), the
// predefined class as an atom (0x0080 button, 0x0081 edit, 0x0082 static), the
// text, and no creation data. An SS_ICON static names its icon as the
// resource ordinal (0xFFFF, then the icon's id) instead of a text.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/dialog_template.h"

class DialogTemplateMemory {
public:
    // Writes the whole template at once; `dialogTemplate` is not kept.
    explicit DialogTemplateMemory(const DialogTemplate& dialogTemplate);

    // The start of the template, for the system's calls (which take the
    // extended form through the plain template's pointer type). Valid as
    // long as this object lives; DWORD-aligned, as the system requires.
    const DLGTEMPLATE* Get() const;
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

    // What the template font is written with.
    static constexpr std::uint16_t kFontWeight = FW_NORMAL;
    // The template's texts are Japanese: where the named face is missing,
    // the font mapper then takes a face that has their characters.
    static constexpr std::uint8_t kFontCharset = SHIFTJIS_CHARSET;
    // The point size when the template gives none (as on Linux).
    static constexpr std::uint16_t kDefaultPointSize = 9;

private:
    void WriteHeader(const DialogTemplate& dialogTemplate);
    void WriteItem(const DialogItemTemplate& item);
    void Word(std::uint16_t value);
    void Dword(std::uint32_t value);
    // The text's UTF-16 units and its terminator; an empty text for null.
    void Text(const char16_t* text);
    void AlignToDword();

    // Memory from operator new is aligned for any fundamental type, so the
    // first byte is on a DWORD boundary; later ones are aligned by offset.
    std::vector<std::uint8_t> m_bytes;
};

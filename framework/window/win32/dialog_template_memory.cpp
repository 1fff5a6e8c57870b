#include "framework/window/win32/dialog_template_memory.h"

namespace {

// The predefined window classes of the dialog manager, as atoms.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;
// Marks an atom or a resource ordinal in place of a text.
constexpr std::uint16_t kOrdinalMark = 0xFFFF;

std::uint16_t AtomOf(DialogItemClass windowClass) {
    switch (windowClass) {
        case DialogItemClass::button:
            return kButtonAtom;
        case DialogItemClass::edit:
            return kEditAtom;
        case DialogItemClass::staticText:
            break;
    }
    return kStaticAtom;
}

bool HasFont(const DialogTemplate& dialogTemplate) {
    return dialogTemplate.fontFace != nullptr || (dialogTemplate.style & DS_SETFONT) != 0;
}

}  // namespace

DialogTemplateMemory::DialogTemplateMemory(const DialogTemplate& dialogTemplate) {
    WriteHeader(dialogTemplate);
    for (int i = 0; i < dialogTemplate.itemCount; ++i) {
        WriteItem(dialogTemplate.items[i]);
    }
}

const DLGTEMPLATE* DialogTemplateMemory::Get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data());
}

void DialogTemplateMemory::WriteHeader(const DialogTemplate& dialogTemplate) {
    const bool hasFont = HasFont(dialogTemplate);
    Word(1);             // version
    Word(kOrdinalMark);  // the extended form
    Dword(0);            // help id
    Dword(dialogTemplate.exStyle);
    Dword(dialogTemplate.style | (hasFont ? DS_SETFONT : 0));
    Word(static_cast<std::uint16_t>(dialogTemplate.itemCount));
    Word(static_cast<std::uint16_t>(dialogTemplate.x));
    Word(static_cast<std::uint16_t>(dialogTemplate.y));
    Word(static_cast<std::uint16_t>(dialogTemplate.cx));
    Word(static_cast<std::uint16_t>(dialogTemplate.cy));
    Word(0);  // no menu
    Word(0);  // the dialog manager's own class
    Text(dialogTemplate.title);
    if (hasFont) {
        Word(dialogTemplate.pointSize > 0 ? static_cast<std::uint16_t>(dialogTemplate.pointSize)
                                          : kDefaultPointSize);
        Word(kFontWeight);
        m_bytes.push_back(0);  // not italic
        m_bytes.push_back(kFontCharset);
        Text(dialogTemplate.fontFace);
    }
}

void DialogTemplateMemory::WriteItem(const DialogItemTemplate& item) {
    AlignToDword();
    Dword(0);  // help id
    Dword(0);  // extended style
    Dword(item.style);
    Word(static_cast<std::uint16_t>(item.x));
    Word(static_cast<std::uint16_t>(item.y));
    Word(static_cast<std::uint16_t>(item.cx));
    Word(static_cast<std::uint16_t>(item.cy));
    Dword(static_cast<std::uint32_t>(item.id));
    Word(kOrdinalMark);
    Word(AtomOf(item.windowClass));
    const bool icon = item.windowClass == DialogItemClass::staticText &&
                      (item.style & SS_TYPEMASK) == SS_ICON && item.icon != nullptr;
    if (icon) {
        Word(kOrdinalMark);
        Word(static_cast<std::uint16_t>(item.icon->id));
    } else {
        Text(item.text);
    }
    Word(0);  // no creation data
}

void DialogTemplateMemory::Word(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void DialogTemplateMemory::Dword(std::uint32_t value) {
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
}

void DialogTemplateMemory::Text(const char16_t* text) {
    if (text != nullptr) {
        for (const char16_t* unit = text; *unit != u'\0'; ++unit) {
            Word(static_cast<std::uint16_t>(*unit));
        }
    }
    Word(0);
}

void DialogTemplateMemory::AlignToDword() {
    while (m_bytes.size() % 4 != 0) {
        m_bytes.push_back(0);
    }
}

// Dialog templates as data: the window's title, style, size and font, and one
// row per control (window class, id, text, rectangle, style) in template order,
// which is also the tab order. Positions and sizes are dialog units of the
// template's font. The style values are the platform's (Win32) values, so a
// template reads exactly like the program's resource script.
//
// Qt-free: the resources library holds templates without linking Qt; CDialog
// (framework/window/dialog.h) builds the window from them.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

// Standard command ids.
inline constexpr int IDC_STATIC = -1;  // a control that nobody addresses
inline constexpr unsigned ID_HELP = 0xE146;

// The rest are the system's own names on Windows (its headers define them as
// macros, which a second definition would clash with); elsewhere the same
// values.
#ifndef _WIN32
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window styles.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;  // top-level windows only
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;  // top-level windows only
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;

// Dialog styles.
inline constexpr std::uint32_t DS_SETFONT = 0x40;
inline constexpr std::uint32_t DS_MODALFRAME = 0x80;
inline constexpr std::uint32_t DS_CENTER = 0x800;

// Button styles (the low four bits are the kind of button).
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_GROUPBOX = 0x7;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t BS_TYPEMASK = 0xF;

// Edit styles.
inline constexpr std::uint32_t ES_LEFT = 0x0;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;

// Static styles (the low five bits are the kind of static).
inline constexpr std::uint32_t SS_LEFT = 0x0;
inline constexpr std::uint32_t SS_ICON = 0x3;
inline constexpr std::uint32_t SS_NOPREFIX = 0x80;
inline constexpr std::uint32_t SS_TYPEMASK = 0x1F;
#endif

// The predefined window class of a control.
enum class DialogItemClass { button, edit, staticText };

// An icon resource: the same picture at 32 x 32 and 16 x 16 pixels, each an
// image in XPM text format (the array of lines that an .xpm file declares).
struct IconResource {
    int id;
    const char* const* image32;
    const char* const* image16;
};

// One control of a template. For an SS_ICON static, `text` is unused and
// `icon` is the icon it shows.
struct DialogItemTemplate {
    DialogItemClass windowClass;
    int id;
    const char16_t* text;
    int x, y, cx, cy;  // dialog units
    std::uint32_t style;
    const IconResource* icon = nullptr;
};

// A whole dialog template.
struct DialogTemplate {
    const char16_t* title;
    std::uint32_t style;
    std::uint32_t exStyle;
    int x, y, cx, cy;  // dialog units
    int pointSize;     // the template font (DS_SETFONT)
    const char16_t* fontFace;
    const DialogItemTemplate* items;
    int itemCount;
};
